#include "gui/HandInServer.h"
#include "support/FormFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QWidget>

namespace corvanta::test {
namespace {

// The program as a user starts it from a terminal: `corvanta --add`, with the real socket.
class HandInServerTest : public FormFixture {
protected:
    TempFolder runtime; // $XDG_RUNTIME_DIR
    TempFolder desktop;

    void SetUp() override
    {
        data.write(u"Project.List"_s, "Alpha\r\n");
        data.write(u"Project.Files"_s, "Old\t/old\r\n");
        desktop.write(u"Letter.odt"_s, "x");
    }

    // Runs the command, letting this process's copy answer meanwhile.
    struct Run {
        int exitCode;
        QString out;
        QString err;
    };
    Run corvanta(const QStringList &args)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        env.insert(u"ASAN_OPTIONS"_s, u"detect_leaks=0"_s);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(CORVANTA_BINARY), QStringList{u"--data-dir"_s, data.path()} + args);
        const QDeadlineTimer deadline(30000);
        while (!process.waitForFinished(20) && !deadline.hasExpired())
            QCoreApplication::processEvents();
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }
};

// The mistakes and their exit codes are the same whoever writes: the running copy's test has them.
// An option neither Qt nor the program knows is refused after Qt took its own.
TEST_F(HandInServerTest, addWithoutARunningCopy_writesTheFileItself_andUnknownOptionsAreRefused)
{
    const Run bogus = corvanta({u"-platform"_s, u"offscreen"_s, u"-bogus"_s});
    EXPECT_EQ(bogus.exitCode, 2);
    EXPECT_TRUE(bogus.err.contains(u"Unknown option 'bogus'."_s)) << bogus.err.toStdString();
    const QString letter = desktop.file(u"Letter.odt"_s);
    const Run run = corvanta({u"--add"_s, letter});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(data.read(u"Project.Files"_s), "Old\t/old\r\nLetter.odt\t" + letter.toUtf8() + "\r\n");
}

TEST_F(HandInServerTest, addToARunningCopy_goesToTheListItShows)
{
    start();
    QWidget window;
    HandInServer server(program->handIn(), &window);
    ASSERT_TRUE(server.listen(handInSocketName(data.path(), runtime.path())));
    const QString letter = desktop.file(u"Letter.odt"_s);

    const Run run = corvanta({u"--add"_s, letter, desktop.file(u"Gone"_s)});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u"no such file"_s));
    EXPECT_TRUE(run.out.contains(u"Added 1 file"_s));
    EXPECT_EQ(rows(files()), (QStringList{u"Old\t/old"_s, u"Letter.odt\t"_s + letter}));
    EXPECT_EQ(data.read(u"Project.Files"_s), "Old\t/old\r\nLetter.odt\t" + letter.toUtf8() + "\r\n");
    EXPECT_TRUE(window.isVisible()); // brought to the front

    EXPECT_EQ(corvanta({u"--add"_s, letter, u"--topic"_s, u"Nope"_s}).exitCode, 2);
    EXPECT_EQ(files().ListCount(), 2);
}

// A running copy that takes the request but never answers (it hangs, or waits for its user): the
// command gives up after a few seconds and writes nothing itself.
TEST_F(HandInServerTest, addToACopyThatDoesNotAnswer_givesUp)
{
    QLocalServer mute;
    ASSERT_TRUE(mute.listen(handInSocketName(data.path(), runtime.path())));
    QList<QLocalSocket *> held; // connections taken and left unanswered
    QObject::connect(&mute, &QLocalServer::newConnection, &mute, [&] { held << mute.nextPendingConnection(); });
    QElapsedTimer took;
    took.start();
    const Run run = corvanta({u"--add"_s, desktop.file(u"Letter.odt"_s)});
    EXPECT_LT(took.elapsed(), 15000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u"did not answer"_s)) << run.err.toStdString();
    EXPECT_EQ(held.size(), 1);
    EXPECT_EQ(data.read(u"Project.Files"_s), "Old\t/old\r\n");
}

} // namespace
} // namespace corvanta::test
