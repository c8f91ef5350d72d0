#include "filelist/HandIn.h"
#include "support/DataBuilder.h"
#include "support/FormFixture.h"

#include <QDeadlineTimer>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace corvanta::test {
namespace {

class HandInTest : public FormFixture {
protected:
    TempFolder desktop; // where the handed-in files live

    void SetUp() override
    {
        layDown(data.path(), {"Project.List: Alpha, Beta", "Project.Topics: Inbox",
            "Project.Files: Report.odt -> /old/Report.odt", "Projects/Beta/Beta.List: Plans", "Projects/Beta/Plans.Files:"});
        for (const char *name :
             {"Letter.odt", "Report.odt", "report.ODT", "Budget.ods", " Deed.pdf", "Deed.pdf ", "De\red.pdf"})
            desktop.write(QString::fromLatin1(name), "x");
        desktop.write(u"Tab\tName.txt"_s, "x");
        // A name whose bytes are not UTF-8 reaches the program with U+FFFD in their place.
        ::close(::open(notText().constData(), O_CREAT | O_WRONLY, 0644));
    }
    // QTemporaryDir cannot remove it.
    ~HandInTest() override { ::unlink(notText().constData()); }
    QByteArray notText() const { return QFile::encodeName(desktop.path()) + "/Caf\xe9.txt"; }

    HandInRequest request(const QString &topic, const QStringList &names) const
    {
        HandInRequest r;
        r.topic = topic;
        for (const QString &name : names)
            r.files << desktop.file(name);
        return r;
    }
};

// Without a running copy the command writes the topic's file itself.
TEST_F(HandInTest, withoutARunningCopy_writesTheTopicsFile)
{
    const struct {
        const char *what;
        QString topic;
        QStringList names;
        QString file;
        QByteArray expected; // the file's bytes afterwards
        int exitCode;
        int added;
        int messages;
        const char *said = ""; // in the first message
    } cases[] = {
        {"entry screen", u""_s, {u"Letter.odt"_s}, u"Project.Files"_s,
         "Report.odt\t/old/Report.odt\r\nLetter.odt\t" + desktop.file(u"Letter.odt"_s).toUtf8() + "\r\n", 0, 1, 0},
        {"duplicates in the list and among the files, in any case", u""_s,
         {u"Report.odt"_s, u"Budget.ods"_s, u"report.ODT"_s}, u"Project.Files"_s,
         "Report.odt\t/old/Report.odt\r\nBudget.ods\t" + desktop.file(u"Budget.ods"_s).toUtf8() + "\r\n", 0, 1, 2},
        {"a missing file", u""_s, {u"Gone.txt"_s}, u"Project.Files"_s,
         "Report.odt\t/old/Report.odt\r\n", 1, 0, 1, "no such file"},
        {"a name the list cannot hold", u""_s, {u"Tab\tName.txt"_s}, u"Project.Files"_s,
         "Report.odt\t/old/Report.odt\r\n", 1, 0, 1, "cannot hold"},
        {"a name that is not valid text", u""_s, {QString::fromLocal8Bit("Caf\xe9.txt")}, u"Project.Files"_s,
         "Report.odt\t/old/Report.odt\r\n", 1, 0, 1, "not valid text"},
        {"spaces at an end", u""_s, {u" Deed.pdf"_s, u"Deed.pdf "_s, u"De\red.pdf"_s},
         u"Project.Files"_s, "Report.odt\t/old/Report.odt\r\n", 1, 0, 3, "cannot hold"},
        {"project and topic, any case", u"beta/PLANS"_s, {u"Letter.odt"_s}, u"Projects/Beta/Plans.Files"_s,
         "Letter.odt\t" + desktop.file(u"Letter.odt"_s).toUtf8() + "\r\n", 0, 1, 0},
        {"no such topic", u"Beta/Nothing"_s, {u"Letter.odt"_s}, u"Projects/Beta/Nothing.Files"_s,
         "", 2, 0, 1},
        // Topics a hand-edited list names that are no file names of their own.
        {"topic ..", u".."_s, {u"Letter.odt"_s}, u"Projects/...Files"_s, "", 2, 0, 1},
        {"project topic ..", u"Beta/.."_s, {u"Letter.odt"_s}, u"Projects/Beta/...Files"_s, "", 2, 0, 1},
        {"topic out of the folder", u"Beta/../../Evil"_s, {u"Letter.odt"_s}, u"Evil.Files"_s, "", 2, 0, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        layDown(data.path(),
                {"Project.Topics: Inbox, ..", "Projects/Beta/Beta.List: Plans, .., ../../Evil"});
        const HandInAnswer answer = handInDirectly(data.path(), request(c.topic, c.names));
        EXPECT_EQ(answer.exitCode, c.exitCode);
        EXPECT_EQ(answer.added, c.added);
        EXPECT_EQ(answer.messages.size(), c.messages) << answer.messages.join(u'\n').toStdString();
        EXPECT_EQ(data.read(c.file), c.expected);
        EXPECT_TRUE(answer.messages.value(0).contains(QString::fromUtf8(c.said)))
            << answer.messages.value(0).toStdString();
        if (c.exitCode == 2) {
            EXPECT_TRUE(answer.messages.first().contains(c.topic));
        }
    }
}

// Without a running copy: each command that ends with 0 has its pointer in the file.
TEST_F(HandInTest, concurrentCommands_loseNoPointer)
{
    const int children = 4, each = 50;
    for (int i = 0; i < children * each; ++i)
        desktop.write(u"F%1.txt"_s.arg(i), "x");
    std::vector<pid_t> pids;
    for (int child = 0; child < children; ++child) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            int failed = 0;
            for (int i = child * each; i < (child + 1) * each; ++i)
                failed += handInDirectly(data.path(), request(u""_s, {u"F%1.txt"_s.arg(i)})).exitCode != 0;
            ::_exit(failed);
        }
        ASSERT_GT(pid, 0);
        pids.push_back(pid);
    }
    for (const pid_t pid : pids) {
        int status = -1;
        ::waitpid(pid, &status, 0);
        EXPECT_EQ(status, 0) << "failed calls: " << WEXITSTATUS(status);
    }
    EXPECT_EQ(data.read(u"Project.Files"_s).count("\r\n"), 1 + children * each);
}

// A running copy adds to the File List it shows, which shows them at once.
TEST_F(HandInTest, runningCopy_addsToTheShownFileList)
{
    start();
    doubleClick(projects(), 1);
    doubleClick(topics(), 1); // Plans
    ASSERT_EQ(form->state.FileListPath.toStdString(), data.file(u"Projects/Beta/Plans.Files"_s).toStdString());
    const HandInAnswer answer = program->handIn().receive(request(u""_s, {u"Letter.odt"_s, u"Gone.txt"_s}));
    EXPECT_EQ(answer.added, 1);
    EXPECT_EQ(answer.exitCode, 1);
    EXPECT_EQ(rows(files()), QStringList{u"Letter.odt\t"_s + desktop.file(u"Letter.odt"_s)});
    EXPECT_EQ(data.read(u"Projects/Beta/Plans.Files"_s),
              "Letter.odt\t" + desktop.file(u"Letter.odt"_s).toUtf8() + "\r\n");

    // A topic not shown is written; the shown list stays (a missing one: the server test).
    EXPECT_EQ(program->handIn().receive(request(u"Inbox"_s, {u"Budget.ods"_s})).added, 1);
    EXPECT_EQ(files().ListCount(), 1);
    EXPECT_TRUE(data.read(u"Projects/Inbox.Files"_s).startsWith("Budget.ods\t"));
    EXPECT_TRUE(ui.boxes.empty());

    // While a window or question is open the operation under it has read the list already, and
    // its save would drop what came in: the request is refused and nothing is written.
    const QByteArray inbox = data.read(u"Projects/Inbox.Files"_s);
    HandInAnswer busy;
    form->operations.add(u"test:openWindow"_s,
        [&] { busy = program->handIn().receive(request(u"Inbox"_s, {u"Letter.odt"_s})); });
    form->run(u"test:openWindow"_s);
    EXPECT_EQ(busy.exitCode, 1);
    EXPECT_EQ(busy.added, 0);
    EXPECT_EQ(data.read(u"Projects/Inbox.Files"_s), inbox);

    // A command that gave up waiting is not carried out later.
    HandInRequest late = request(u"Inbox"_s, {u"Letter.odt"_s});
    late.answerBy = QDeadlineTimer::current().deadline() - 1;
    EXPECT_EQ(program->handIn().receive(late).exitCode, 1);
    EXPECT_EQ(data.read(u"Projects/Inbox.Files"_s), inbox);

    // A save that fails is told to the command, not in a box the command would wait behind.
    QFile::setPermissions(data.file(u"Projects/Inbox.Files"_s), QFileDevice::ReadOwner);
    const HandInAnswer unsaved = program->handIn().receive(request(u"Inbox"_s, {u"Report.odt"_s}));
    EXPECT_EQ(unsaved.exitCode, 1);
    EXPECT_TRUE(unsaved.messages.join(u' ').contains(u"could not be saved"_s));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(data.read(u"Projects/Inbox.Files"_s), inbox);
}

// The program tests carry requests through the real socket.
TEST_F(HandInTest, malformedRequests_areRefused_andEachDataFolderHasItsSocket)
{
    HandInRequest sent = request(u"Beta/Plans"_s, {u"Letter.odt"_s});
    sent.answerBy = 987654321012;
    EXPECT_EQ(decodeRequest(encodeRequest(sent)).value_or(HandInRequest()).answerBy, sent.answerBy);
    EXPECT_FALSE(decodeRequest("{\"command\":\"delete\"}\n"));
    EXPECT_FALSE(decodeRequest("garbage"));
    EXPECT_EQ(decodeAnswer("").exitCode, 1);
    EXPECT_NE(handInSocketName(u"/a"_s, u"/run/user/1"_s), handInSocketName(u"/b"_s, u"/run/user/1"_s));
    EXPECT_EQ(handInSocketName(u"/a"_s, u""_s), QString());
}

} // namespace
} // namespace corvanta::test
