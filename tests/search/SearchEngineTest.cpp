#include "ChildProcess.h"

#include "search/MountTable.h"
#include "search/SearchEngine.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QFile>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <iterator>
#include <tuple>

using namespace Qt::StringLiterals;

namespace corvanta::test {
namespace {

// Records what the walk reports, as paths relative to the root.
struct Recorder : SearchSink
{
    std::string root;
    QStringList files;

    void folderEntered() override { }
    void topFolderDone() override { }
    void fileFound(std::string_view path) override
    {
        files << QString::fromStdString(std::string(path.substr(root.size() + 1)));
    }
};

std::string rootOf(const TempFolder &t)
{
    return QFile::encodeName(t.path()).toStdString();
}

QStringList walk(const std::string &root, const QString &pattern,
    SearchEngine::Mode mode = SearchEngine::Mode::Multiple)
{
    Recorder r;
    r.root = root;
    SearchEngine engine(root, SearchPattern(pattern), mode);
    engine.walk(r);
    return r.files;
}

// The folder tree as data: "name" a file, "name -> target" a link to a path under the root.
TEST(SearchEngineTest, walk_listsDeepestFoldersFirstMatchingIgnoringCaseAndSkipsDotNamesAndLinks)
{
    using enum SearchEngine::Mode;
    const QStringList abc = {
        u"a.txt"_s, u"B/b.txt"_s, u"B/C/c.txt"_s, u"d/d.TXT"_s, u"d/e.log"_s, u"z.txt"_s};
    const QStringList names = {u"notes.txt"_s, u"README.TXT"_s, u"readme.txt.bak"_s,
        u"sub/Report-2024.txt"_s, u"sub/Äpfel.Txt"_s, u"plain"_s};
    // Name order ignores ASCII case; other letters follow the ASCII ones.
    const QStringList txt = {
        u"sub/Report-2024.txt"_s, u"sub/Äpfel.Txt"_s, u"notes.txt"_s, u"README.TXT"_s};
    // Deeper than the walk keeps folders open, so the bottom is reached by path.
    const QString deep = u"d/"_s.repeated(140) + u"deep.txt"_s;
    const std::tuple<QStringList, QString, SearchEngine::Mode, QStringList> cases[] = {
        {abc, u"*.txt"_s, Multiple,
            {u"B/C/c.txt"_s, u"B/b.txt"_s, u"d/d.TXT"_s, u"a.txt"_s, u"z.txt"_s}},
        {{u"x.txt"_s, u"B/x.txt"_s, u"B/C/X.txt"_s, u"D/x.txt"_s}, u"x.txt"_s, Single,
            {u"B/C/X.txt"_s}},
        {names, u"*.txt"_s, Multiple, txt},
        {names, u"*.TXT"_s, Multiple, txt},
        {names, u"readme.txt"_s, Multiple, {u"README.TXT"_s}},
        {names, u"äPFEL.txt"_s, Multiple, {u"sub/Äpfel.Txt"_s}},
        {names, u"report-20??.*"_s, Multiple, {u"sub/Report-2024.txt"_s}},
        {names, u"*.tx"_s, Multiple, {}},
        {{u".hidden.txt"_s, u".config/app/settings.txt"_s, u".config/.secret.txt"_s,
             u"shown.txt"_s},
            u"*.txt"_s, Multiple, {u".config/app/settings.txt"_s, u"shown.txt"_s}},
        {{u"B/b.txt"_s, u"B/loop -> "_s, u"link.txt -> B/b.txt"_s}, u"*.txt"_s, Multiple,
            {u"B/b.txt"_s}},
        {{deep}, u"deep.txt"_s, Multiple, {deep}},
    };
    for (const auto &[tree, pattern, mode, expected] : cases) {
        TempFolder fresh;
        for (const QString &entry : tree) {
            const QStringList link = entry.split(u" -> "_s);
            if (link.size() == 2)
                ASSERT_TRUE(QFile::link(fresh.file(link[1]), fresh.file(link[0])));
            else
                fresh.write(entry, "x");
        }
        EXPECT_EQ(walk(rootOf(fresh), pattern, mode), expected)
            << pattern.toStdString() << " in " << tree.join(u", "_s).left(200).toStdString();
    }
}

TEST(SearchPatternTest, fastAndGeneralPaths_agreeOnEdgeCases)
{
    // The Kelvin sign folds to "k": only the slow path sees it. "?" is one character, not one byte.
    const std::tuple<QString, const char *, bool> cases[] = {{u"Makefile"_s, "makefile", true},
        {u"Makefile"_s, "makefile2", false}, {u"*.txt"_s, "a.TXT", true},
        {u"*.txt"_s, "na\xc3\xafve.txt", true}, {u"*.txt"_s, "txt", false},
        {u"*.k"_s, "a.\xe2\x84\xaa", true}, {u"a*b?c"_s, "AxxbYc", true},
        {u"a*b?c"_s, "abbbc", true}, {u"a*b?c"_s, "abc", false},
        {u"?\u00e9*"_s, "x\xc3\x89zz", true}, {u"*"_s, "anything", true}};
    for (const auto &[pattern, name, matches] : cases)
        EXPECT_EQ(SearchPattern(pattern).matches(name), matches)
            << pattern.toStdString() << " " << name;
}

// Makes openat2 fail as an old kernel or a filtering sandbox does.
bool refuseOpenat2()
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_openat2, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (ENOSYS & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program {static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0
        && syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &program) == 0;
}

TEST(SearchEngineTest, mountBoundary_isNotCrossedEvenForABindMountOfTheSameDevice)
{
    TempFolder tree, other;
    other.write(u"inside.txt"_s, "x");
    for (const QString &f : {u"A/a.txt"_s, u"M/under-the-mount.txt"_s, u"r.txt"_s})
        tree.write(f, "x");
    const QByteArray source = QFile::encodeName(other.path());
    const QByteArray target = QFile::encodeName(tree.file(u"M"_s));
    // The mount is seen in the mount table, or (with /proc covered) only when the folder is
    // opened: by openat2, or by asking each folder's mount where openat2 is refused.
    for (const bool hideTable : {false, true}) {
        for (const bool noOpenat2 : {false, true}) {
            const std::string text = outputOfChild([&]() -> std::string {
                if (unshare(CLONE_NEWNS) != 0)
                    return std::string("no mount namespace");
                if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
                    || mount(source.constData(), target.constData(), nullptr, MS_BIND, nullptr)
                        != 0)
                    return std::string("mounting not permitted");
                if (hideTable && mount("none", "/proc", "tmpfs", 0, nullptr) != 0)
                    return std::string("cannot cover /proc");
                if (noOpenat2 && !refuseOpenat2())
                    return std::string("no seccomp filter");
                return "OK " + walk(rootOf(tree), u"*.txt"_s).join(u' ').toStdString();
            });
            if (text.rfind("OK ", 0) != 0)
                GTEST_SKIP() << text;
            EXPECT_EQ(text, "OK A/a.txt r.txt")
                << "table hidden " << hideTable << ", openat2 refused " << noOpenat2;
        }
    }
}

TEST(MountTableTest, mountInfo_givesUnescapedMountPointsAndTypes)
{
    const std::vector<MountEntry> mounts = parseMountInfo(
        "garbage\n65 45 254:0 /x /media/My\\040Disk rw shared:5 - vfat /dev/sdb1 rw\n");
    ASSERT_EQ(mounts.size(), 1u);
    EXPECT_EQ(mounts[0].mountPoint, "/media/My Disk");
    EXPECT_EQ(mounts[0].type, "vfat");
}

} // namespace
} // namespace corvanta::test
