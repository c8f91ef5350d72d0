// Guards that no other test reaches: each case here failed once the guard was taken out.
#include "store/ListFiles.h"
#include "store/OwnFiles.h"
#include "store/Store.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <set>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

// The files (device and inode) that were synced to disk.
static std::set<std::pair<dev_t, ino_t>> synced;

extern "C" int fsync(int fd)
{
    using Fsync = int (*)(int);
    static const auto real = reinterpret_cast<Fsync>(::dlsym(RTLD_NEXT, "fsync"));
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        synced.insert({st.st_dev, st.st_ino});
    return real(fd);
}

using namespace corvanta;
using namespace Qt::StringLiterals;

// A power cut right after a save must find the new bytes, for a new list and a replaced one.
TEST(GuardsTest, save_syncsTheFileThatTakesTheListsPlace)
{
    test::TempFolder data;
    Store store(data.path());
    const QString path = data.file(u"Project.List"_s);
    for (const char *before : {"", "Alpha\r\n"}) {
        SCOPED_TRACE(*before ? "replaced" : "new");
        if (*before)
            data.write(u"Project.List"_s, before);
        synced.clear();
        ASSERT_TRUE(saveOwnFile(store, path, "Alpha\r\nBeta\r\n", {}).ok);
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
        EXPECT_TRUE(synced.count({st.st_dev, st.st_ino})) << "the list's file was never synced";
        EXPECT_EQ(data.read(u"Project.List"_s), "Alpha\r\nBeta\r\n");
    }
}

// A list edit takes out one line for each record removed, found by its text: of two equal lines
// (a hand-edited list) one stays, blank and padded lines stay as they stand.
TEST(GuardsTest, pointerEdit_takesOneLinePerRecordRemoved)
{
    test::TempFolder data;
    Store store(data.path());
    data.write(u"T.Files"_s, "A\t/a\r\n  \r\nB\t/b  \r\nA\t/a\r\n");
    ASSERT_TRUE(editPointerList(store, data.file(u"T.Files"_s), {u"A\t/a"_s, u"B\t/b"_s}).ok);
    EXPECT_EQ(data.read(u"T.Files"_s), "  \r\nA\t/a\r\n");
}
