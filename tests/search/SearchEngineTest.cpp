#include "ChildProcess.h"

#include "search/MountTable.h"
#include "search/SearchEngine.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <grp.h>
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

#include <functional>

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

class SearchEngineTest : public ::testing::Test
{
protected:
    TempFolder tree;

    void file(const QString &relative) { tree.write(relative, "x"); }
    void folder(const QString &relative) { QDir().mkpath(tree.file(relative)); }
    std::string root() const { return QFile::encodeName(tree.path()).toStdString(); }

    QStringList search(const QString &pattern)
    {
        Recorder r;
        r.root = root();
        SearchEngine engine(root(), SearchPattern(pattern), SearchEngine::Mode::Multiple);
        engine.walk(r);
        return r.files;
    }

    // Runs a walk in a child process prepared by setUp (another user, another mount namespace);
    // the child's results come back through a pipe. Returns false with reason when the child
    // could not be prepared.
    bool searchInChild(const QString &pattern, const std::function<std::string()> &setUp,
        QStringList *found, std::string *reason)
    {
        const std::string text = outputOfChild([&] {
            std::string out = setUp();
            if (out.empty()) {
                Recorder r;
                r.root = root();
                SearchEngine engine(root(), SearchPattern(pattern), SearchEngine::Mode::Multiple);
                engine.walk(r);
                out = "OK\n" + r.files.join(u'\n').toStdString();
            }
            return out;
        });
        if (text.rfind("OK\n", 0) != 0) {
            *reason = text;
            return false;
        }
        const QString list = QString::fromStdString(text.substr(3));
        *found = list.isEmpty() ? QStringList() : list.split(u'\n');
        return true;
    }
};

// The folder tree as data: "name" a file, "name -> target" a link to a path under the root.
TEST_F(SearchEngineTest, walk_listsDeepestFoldersFirstMatchingIgnoringCaseAndSkipsDotNamesAndLinks)
{
    using enum SearchEngine::Mode;
    const QStringList abc = {u"a.txt"_s, u"B/b.txt"_s, u"B/C/c.txt"_s, u"d/d.TXT"_s, u"d/e.log"_s, u"z.txt"_s};
    const QStringList names = {u"notes.txt"_s, u"README.TXT"_s, u"readme.txt.bak"_s,
        u"sub/Report-2024.txt"_s, u"sub/Äpfel.Txt"_s, u"plain"_s};
    // Name order ignores ASCII case; other letters follow the ASCII ones.
    const QStringList txt = {u"sub/Report-2024.txt"_s, u"sub/Äpfel.Txt"_s, u"notes.txt"_s, u"README.TXT"_s};
    const struct {
        QStringList tree;
        QString pattern;
        SearchEngine::Mode mode;
        QStringList expected;
    } cases[] = {
        {abc, u"*.txt"_s, Multiple, {u"B/C/c.txt"_s, u"B/b.txt"_s, u"d/d.TXT"_s, u"a.txt"_s, u"z.txt"_s}},
        {{u"x.txt"_s, u"B/x.txt"_s, u"B/C/X.txt"_s, u"D/x.txt"_s}, u"x.txt"_s, Single, {u"B/C/X.txt"_s}},
        {names, u"*.txt"_s, Multiple, txt},
        {names, u"*.TXT"_s, Multiple, txt},
        {names, u"readme.txt"_s, Multiple, {u"README.TXT"_s}},
        {names, u"äPFEL.txt"_s, Multiple, {u"sub/Äpfel.Txt"_s}},
        {names, u"report-20??.*"_s, Multiple, {u"sub/Report-2024.txt"_s}},
        {names, u"*.tx"_s, Multiple, {}},
        {{u".hidden.txt"_s, u".config/app/settings.txt"_s, u".config/.secret.txt"_s, u"shown.txt"_s},
            u"*.txt"_s, Multiple, {u".config/app/settings.txt"_s, u"shown.txt"_s}},
        {{u"B/b.txt"_s, u"B/loop -> "_s, u"link.txt -> B/b.txt"_s}, u"*.txt"_s, Multiple, {u"B/b.txt"_s}},
    };
    for (const auto &c : cases) {
        TempFolder fresh;
        for (const QString &entry : c.tree) {
            const QStringList link = entry.split(u" -> "_s);
            if (link.size() == 2) {
                ASSERT_TRUE(QFile::link(fresh.file(link[1]), fresh.file(link[0])));
            } else {
                fresh.write(entry, "x");
            }
        }
        Recorder r;
        r.root = QFile::encodeName(fresh.path()).toStdString();
        SearchEngine engine(r.root, SearchPattern(c.pattern), c.mode);
        engine.walk(r);
        EXPECT_EQ(r.files, c.expected) << c.pattern.toStdString() << " in " << c.tree.join(u", "_s).toStdString();
    }
}

TEST(SearchPatternTest, fastAndGeneralPaths_agreeOnEdgeCases)
{
    using enum SearchPattern::Kind;
    EXPECT_EQ(SearchPattern(u"Makefile"_s).kind(), Exact);
    EXPECT_EQ(SearchPattern(u"*.txt"_s).kind(), Suffix);
    EXPECT_EQ(SearchPattern(u"a*b?c"_s).kind(), General);
    const struct {
        QString pattern;
        const char *name;
        bool matches;
    } cases[] = {
        {u"Makefile"_s, "makefile", true}, {u"Makefile"_s, "makefile2", false},
        {u"*.txt"_s, "a.TXT", true}, {u"*.txt"_s, "na\xc3\xafve.txt", true}, {u"*.txt"_s, "txt", false},
        {u"*.k"_s, "a.\xe2\x84\xaa", true}, // the Kelvin sign folds to "k": only the slow path sees it
        {u"a*b?c"_s, "AxxbYc", true}, {u"a*b?c"_s, "abbbc", true}, {u"a*b?c"_s, "abc", false},
        {u"?\u00e9*"_s, "x\xc3\x89zz", true}, // "?" is one character, not one byte
        {u"*"_s, "anything", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SearchPattern(c.pattern).matches(c.name), c.matches) << c.pattern.toStdString() << " " << c.name;
}

TEST_F(SearchEngineTest, deepTree_isWalkedToTheBottom)
{
    // Deeper than the walk keeps folders open, so the bottom is reached by path.
    QString path;
    for (int i = 0; i < 140; ++i)
        path += u"d/"_s;
    file(path + u"deep.txt"_s);

    EXPECT_EQ(search(u"deep.txt"_s), QStringList {path + u"deep.txt"_s});
}

TEST_F(SearchEngineTest, inspectRoot_reportsEntriesTopFoldersAndUnreadableRoots)
{
    file(u"one.txt"_s);
    folder(u"A"_s);
    folder(u".dot"_s);
    SearchEngine engine(root(), SearchPattern(u"*"_s), SearchEngine::Mode::Multiple);
    const RootInfo info = engine.inspectRoot();
    EXPECT_TRUE(info.readable);
    EXPECT_EQ(info.entries, 3);
    EXPECT_EQ(info.topFolders, 2);

    TempFolder empty;
    SearchEngine none(QFile::encodeName(empty.path()).toStdString(), SearchPattern(u"*"_s),
        SearchEngine::Mode::Multiple);
    EXPECT_EQ(none.inspectRoot().entries, 0);

    SearchEngine missing(root() + "/missing", SearchPattern(u"*"_s), SearchEngine::Mode::Multiple);
    EXPECT_FALSE(missing.inspectRoot().readable);

    if (QFileInfo::exists(u"/proc/self"_s)) {
        SearchEngine proc("/proc", SearchPattern(u"*"_s), SearchEngine::Mode::Multiple);
        EXPECT_FALSE(proc.inspectRoot().readable);
    }
}

TEST_F(SearchEngineTest, unreadableFolder_skipsOnlyThatFolder)
{
    file(u"A/a.txt"_s);
    file(u"L/locked.txt"_s);
    file(u"L/inner/deeper.txt"_s);
    file(u"M/m.txt"_s);
    file(u"r.txt"_s);
    // The unprivileged walker must reach the tree through every folder above it.
    for (QDir up(tree.path()); up.absolutePath().startsWith(tree.dir.path()); up.cdUp())
        QFile::setPermissions(up.absolutePath(), QFile::permissions(up.absolutePath()) | QFile::ReadOther | QFile::ExeOther);
    ASSERT_EQ(chmod(tree.file(u"L"_s).toLocal8Bit().constData(), 0), 0);
    const QStringList expected = {u"A/a.txt"_s, u"M/m.txt"_s, u"r.txt"_s};

    QStringList found;
    if (geteuid() != 0) {
        found = search(u"*.txt"_s);
    } else {
        // Root reads every folder: the walk runs as an unprivileged user in a child process.
        std::string reason;
        const bool ran = searchInChild(
            u"*.txt"_s,
            [] {
                if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
                    return std::string("cannot drop privileges");
                return std::string();
            },
            &found, &reason);
        chmod(tree.file(u"L"_s).toLocal8Bit().constData(), 0755);
        if (!ran)
            GTEST_SKIP() << "no unprivileged walk possible: " << reason;
    }
    chmod(tree.file(u"L"_s).toLocal8Bit().constData(), 0755);
    if (found.contains(u"L/locked.txt"_s))
        GTEST_SKIP() << "this user reads folders without permission";
    EXPECT_EQ(found, expected);
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

TEST_F(SearchEngineTest, mountBoundary_isNotCrossedEvenForABindMountOfTheSameDevice)
{
    TempFolder other;
    other.write(u"inside.txt"_s, "x");
    file(u"A/a.txt"_s);
    folder(u"M"_s);
    file(u"M/under-the-mount.txt"_s);
    file(u"r.txt"_s);
    const QByteArray source = QFile::encodeName(other.path());
    const QByteArray target = QFile::encodeName(tree.file(u"M"_s));

    // The mount is seen in the mount table, or (with /proc covered) only when the folder is
    // opened: by openat2, or by asking each folder's mount where openat2 is refused.
    for (const bool hideTable : {false, true}) {
        for (const bool noOpenat2 : {false, true}) {
            QStringList found;
            std::string reason;
            const bool ran = searchInChild(
                u"*.txt"_s,
                [&] {
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
                    return std::string();
                },
                &found, &reason);
            if (!ran)
                GTEST_SKIP() << reason;
            EXPECT_EQ(found, (QStringList {u"A/a.txt"_s, u"r.txt"_s}))
                << "table hidden " << hideTable << ", openat2 refused " << noOpenat2;
        }
    }
}

TEST(MountTableTest, mountInfo_givesUnescapedMountPointsAndTypes)
{
    const std::string text = "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
                             "65 45 254:0 /x /media/My\\040Disk rw shared:5 - vfat /dev/sdb1 rw\n"
                             "21 26 0:20 / /proc rw,relatime - proc proc rw\n"
                             "garbage\n";
    const std::vector<MountEntry> mounts = parseMountInfo(text);
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[1].mountPoint, "/media/My Disk");
    EXPECT_EQ(mounts[1].type, "vfat");
    EXPECT_TRUE(isPseudoFileSystemType(mounts[2].type));
    EXPECT_FALSE(isPseudoFileSystemType("tmpfs"));
    EXPECT_FALSE(isPseudoFileSystemType("ext4"));
}

} // namespace
} // namespace corvanta::test
