#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/SingleInstance.h"
#include "compose/Program.h"
#include "platform/MsgBox.h"
#include "support/DataBuilder.h"
#include "support/FakeFormUi.h"
#include "support/FileSystemFaults.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QSysInfo>
#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace corvanta::test {
namespace {

TEST(DataFolder, commandLineWinsThenPortableInstallThenXdgFolder_aFileInTheWayIsReported)
{
    TempFolder t;
    const QString exe = t.file(u"bin"_s);
    QDir().mkpath(exe);

    EXPECT_EQ(resolveDataFolder(t.file(u"mine/deep"_s), exe, t.file(u"xdg"_s), t.path()).path,
              t.file(u"mine/deep"_s));
    EXPECT_TRUE(QFileInfo(t.file(u"mine/deep"_s)).isDir());

    EXPECT_EQ(resolveDataFolder(QString(), exe, t.file(u"xdg"_s), t.path()).path, t.file(u"xdg/corvanta"_s));
    EXPECT_TRUE(QFileInfo(t.file(u"xdg/corvanta"_s)).isDir());
    // A relative XDG_DATA_HOME is ignored.
    EXPECT_EQ(resolveDataFolder(QString(), exe, u"rel"_s, t.path()).path, t.file(u".local/share/corvanta"_s));

    t.write(u"bin/Project.List"_s, "");
    EXPECT_EQ(resolveDataFolder(QString(), exe, t.file(u"xdg"_s), t.path()).path, exe);

    // A file in the way is reported.
    t.write(u"taken"_s, "x");
    const DataFolderChoice choice = resolveDataFolder(t.file(u"taken"_s), QString(), QString(), t.path());
    EXPECT_TRUE(choice.path.isEmpty());
    EXPECT_FALSE(choice.error.isEmpty());
}

// A copy of the program in another process that holds the folder until it is killed.
struct OtherCopy {
    pid_t pid = -1;
    bool holds = false;

    explicit OtherCopy(const QString &folder)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        pid = ::fork();
        if (pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            SingleInstance lock(folder);
            const char held = lock.acquire() == SingleInstance::Outcome::Acquired ? 'y' : 'n';
            (void)!::write(ready[1], &held, 1);
            for (;;)
                ::pause();
        }
        char held = 0;
        (void)!::read(ready[0], &held, 1);
        holds = held == 'y';
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~OtherCopy() { end(); }
    void end()
    {
        if (pid <= 0)
            return;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        pid = -pid;
    }
};

QByteArray lockOf(const QString &host, qint64 pid)
{
    return QByteArray::number(pid) + "\nCorvanta\n" + host.toUtf8() + "\n";
}

// Only a live copy on this host keeps the program out. A lock left damaged by a power cut, by a
// copy that ended, or replaced by a FIFO or a link, is taken over without a word; the lock of
// another host (a synced folder) is taken over only when the user says so.
TEST(SingleInstance, claim_refusesOnlyLiveCopyHere_takesOverDamagedOrDeadLocks_asksForOtherHost)
{
    OtherCopy ended(u"/nonexistent/folder"_s);
    ended.end();
    const QString here = QSysInfo::machineHostName();
    struct Case {
        const char *name;
        std::function<void(TempFolder &)> lay;
        int answer; // to a question, when one comes
        bool starts;
        QString title; // of the one box, "" for none
        bool ours;     // the lock names this process afterwards
    } cases[] = {
        {"empty", [](TempFolder &t) { t.write(u".corvanta.lock"_s, ""); }, 0, true, {}, true},
        {"garbage", [](TempFolder &t) { t.write(u".corvanta.lock"_s, "\0\xff\nzz"); }, 0, true, {}, true},
        {"process gone", [&](TempFolder &t) { t.write(u".corvanta.lock"_s, lockOf(here, -ended.pid)); },
         0, true, {}, true},
        {"fifo", [](TempFolder &t) { ::mkfifo(QFile::encodeName(t.file(u".corvanta.lock"_s)).constData(), 0644); },
         0, true, {}, true},
        {"link", [](TempFolder &t) {
             t.write(u"elsewhere"_s, "keep");
             QFile::link(t.file(u"elsewhere"_s), t.file(u".corvanta.lock"_s));
         }, 0, true, {}, true},
        {"other host, No", [](TempFolder &t) { t.write(u".corvanta.lock"_s, lockOf(u"far.example"_s, 4242)); },
         MsgBox::No, false, u" Corvanta May Be Running Elsewhere"_s, false},
        {"other host, Yes", [](TempFolder &t) { t.write(u".corvanta.lock"_s, lockOf(u"far.example"_s, 4242)); },
         MsgBox::Yes, true, u" Corvanta May Be Running Elsewhere"_s, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder t;
        c.lay(t);
        FakeUi ui;
        if (c.answer)
            ui.answers.push_back(c.answer);
        {
            SingleInstance lock(t.path());
            EXPECT_EQ(claimDataFolder(lock, ui, t.path(), QDateTime::currentDateTimeUtc()), c.starts);
            EXPECT_EQ(ui.boxes.size(), c.title.isEmpty() ? 0u : 1u);
            if (!ui.boxes.empty()) {
                EXPECT_EQ(ui.boxes[0].title, c.title);
                EXPECT_TRUE(ui.boxes[0].text.contains(u"[far.example]"_s));
                EXPECT_EQ(ui.boxes[0].flags, MsgBox::YesNo | MsgBox::Question | MsgBox::DefaultButton2);
            }
            const QString lockFile = t.file(SingleInstance::lockFileName());
            EXPECT_EQ(t.read(SingleInstance::lockFileName()).startsWith(QByteArray::number(qint64(::getpid())) + '\n'), c.ours);
            EXPECT_EQ(QFileInfo(lockFile).isFile() && !QFileInfo(lockFile).isSymLink(), true);
        }
        if (t.exists(u"elsewhere"_s)) {
            EXPECT_EQ(t.read(u"elsewhere"_s), QByteArray("keep"));
        }
        // Declined: the other host's lock is left as it was.
        if (!c.starts) {
            EXPECT_EQ(t.read(SingleInstance::lockFileName()), lockOf(u"far.example"_s, 4242));
        }
    }
}

TEST(SingleInstance, liveCopyHere_isRefusedUntilItEnds)
{
    TempFolder t;
    OtherCopy other(t.path());
    ASSERT_TRUE(other.holds);
    FakeUi ui;
    {
        SingleInstance lock(t.path());
        EXPECT_FALSE(claimDataFolder(lock, ui, t.path(), QDateTime::currentDateTimeUtc()));
    }
    expectBoxes(ui, {{u" Corvanta Is Already Running"_s, u"Corvanta Is Already Running With This Data Folder:\r"_s + t.path() + u'\r'}});

    // Killed, it leaves its lock behind; the next start takes it over, and frees it at its end.
    other.end();
    EXPECT_TRUE(t.read(SingleInstance::lockFileName()).startsWith(QByteArray::number(-other.pid)));
    {
        SingleInstance lock(t.path());
        EXPECT_TRUE(claimDataFolder(lock, ui, t.path(), QDateTime::currentDateTimeUtc()));
    }
    EXPECT_EQ(ui.boxes.size(), 1u);
    EXPECT_FALSE(t.exists(SingleInstance::lockFileName()));
}

// A full disk is no reason to keep the program out: the lock is the held file, content or not.
TEST(SingleInstance, fullDisk_startsWithoutABox)
{
    TempFolder t;
    FullDisk disk(t.path());
    const bool started = disk.onFullDisk([&] {
        FakeUi ui;
        SingleInstance lock(t.path());
        return claimDataFolder(lock, ui, t.path(), QDateTime::currentDateTimeUtc()) && ui.boxes.empty();
    });
    EXPECT_TRUE(started);
}

// A read-only data folder is told once, with the system's reason, and the program runs on
// without a second box for the settings it cannot write.
TEST(SingleInstance, readOnlyFolder_toldOnceAndStarts)
{
    TempFolder t;
    const QByteArray folder = QFile::encodeName(t.path());
    if (::geteuid() == 0) {
        if (::mount("tmpfs", folder.constData(), "tmpfs", 0, "size=64k") != 0)
            GTEST_SKIP() << "root may not mount here, and root writes any folder with write bits off";
        ::mount(nullptr, folder.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr);
    } else {
        ASSERT_TRUE(QFile::setPermissions(t.path(), QFile::ReadOwner | QFile::ExeOwner));
    }
    FakeFormUi ui;
    {
        SingleInstance lock(t.path());
        EXPECT_TRUE(claimDataFolder(lock, ui, t.path(), QDateTime::currentDateTimeUtc()));
        FakeClock clock;
        Program program(Platform {ui, clock}, ModalWindows::of(ui), t.path());
        if (lock.readOnly())
            program.form().settingsFailureTold();
        program.form().Form_Load(); // asks for the user's name, which it cannot keep
        program.form().closeMainWindow();
    }
    if (::geteuid() == 0)
        ::umount2(folder.constData(), MNT_DETACH);
    else
        QFile::setPermissions(t.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, u" Data Folder Is Read-Only"_s);
    EXPECT_TRUE(ui.boxes[0].text.startsWith(u"The Data Folder  ["_s + t.path() + u"]  Cannot Be Written.     \r"_s));
    EXPECT_TRUE(ui.boxes[0].text.contains(u"Read-only file system"_s) || ui.boxes[0].text.contains(u"Permission denied"_s));
}

using Action = CommandLine::Action;

QStringList words(const QString &line)
{
    return (u"corvanta "_s + line).split(u' ', Qt::SkipEmptyParts);
}

TEST(CommandLine, ownOptionsAreReadAndAnythingElseIsRefused)
{
    struct Case {
        const char *line;
        Action action;
        const char *dataDir;
        const char *error;
    };
    const Case cases[] = {
        {"", Action::Run, "", ""},
        {"--data-dir /tmp/d", Action::Run, "/tmp/d", ""},
        {"--data-dir=/tmp/d", Action::Run, "/tmp/d", ""},
        {"-data-dir /tmp/d", Action::Run, "/tmp/d", ""},
        {"-h", Action::Help, "", ""},
        {"--version", Action::Version, "", ""},
        // What Qt left is ours alone: one of its options still here was not Qt's to take.
        {"-style Fusion", Action::Error, "", "Unknown option 'style'."},
        {"--data-dir", Action::Error, "", "Missing value after '--data-dir'."},
        {"stray", Action::Error, "", "unexpected argument 'stray'"},
        {"--add a b --topic P/T --data-dir /tmp/d", Action::Add, "/tmp/d", ""},
        {"--add", Action::Error, "", "--add needs at least one FILE"},
        {"--topic P/T", Action::Error, "", "--topic goes with --add"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        const CommandLine parsed = parseCommandLine(words(QString::fromLatin1(c.line)));
        EXPECT_EQ(parsed.action, c.action);
        EXPECT_EQ(parsed.dataDir, QString::fromLatin1(c.dataDir));
        EXPECT_EQ(parsed.error, QString::fromLatin1(c.error));
    }
    const CommandLine add = parseCommandLine(words(u"--add a b --topic P/T"_s));
    EXPECT_EQ(add.files, (QStringList{u"a"_s, u"b"_s}));
    EXPECT_EQ(add.topic, u"P/T"_s);
}

TEST(CommandLine, helpAndVersionAreSeenBeforeQtAmongItsOptions)
{
    EXPECT_EQ(earlyAction(words(u"-platform offscreen -style Fusion --version"_s)), Action::Version);
    EXPECT_EQ(earlyAction(words(u"-reverse -h"_s)), Action::Help);
    // A folder named like an option is still a folder.
    EXPECT_EQ(earlyAction(words(u"--data-dir -h"_s)), Action::Run);
    EXPECT_EQ(earlyAction(words(u"-style Fusion"_s)), Action::Run);
    EXPECT_EQ(earlyAction(words(u"--add x"_s)), Action::Add);

    EXPECT_TRUE(choosesDisplay(words(u"-style Fusion -platform offscreen"_s)));
    EXPECT_TRUE(choosesDisplay(words(u"--display :3"_s)));
    EXPECT_FALSE(choosesDisplay(words(u"--data-dir /tmp/platform"_s)));
}

} // namespace
} // namespace corvanta::test
