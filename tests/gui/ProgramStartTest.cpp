// The program started in a process of its own: what a process fixes when it starts (its command
// line, its screens and scale factor) cannot change inside the test run.

#include "app/IniFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QRect>
#include <QThread>

#include <csignal>

using namespace Qt::StringLiterals;

namespace corvanta::test {
namespace {

QProcessEnvironment cleanEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"ASAN_OPTIONS"_s, u"detect_leaks=0"_s);
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"})
        env.remove(QString::fromLatin1(name));
    return env;
}

void quietStart(const TempFolder &data)
{
    const QString ini = data.file(u"Corvanta.Ini"_s);
    Store store; // the test's own: the program runs in a process of its own
    ASSERT_TRUE(WriteIniString(store, ini, u"User"_s, u"Name"_s, u"Tester"_s));
    ASSERT_TRUE(WriteIniString(store, ini, u"Startup Window"_s, u"Display Window"_s, u"False"_s));
}

TEST(ProgramStart, qtsOwnOptionsAreAcceptedAndOnlyWhatQtLeavesIsOurs)
{
    TempFolder data;
    quietStart(data);
    data.write(u"dark.qss"_s, "QWidget { background: #202020; color: #e0e0e0; }");
    QProcess program;
    program.setProcessEnvironment(cleanEnvironment());
    // No DISPLAY: -platform alone lets it start.
    program.start(QStringLiteral(CORVANTA_EXECUTABLE),
                  {u"-platform"_s, u"offscreen"_s, u"-style"_s, u"Fusion"_s, u"-stylesheet"_s,
                   data.file(u"dark.qss"_s), u"-reverse"_s, u"-qwindowgeometry"_s,
                   u"700x500+10+10"_s, u"--data-dir"_s, data.path()});
    ASSERT_TRUE(program.waitForStarted());
    // Running with the folder locked means the options were read and the window is up.
    QDeadlineTimer deadline(60000);
    while (!data.exists(u".corvanta.lock"_s) && program.state() == QProcess::Running
           && !deadline.hasExpired())
        QThread::msleep(50);
    EXPECT_TRUE(data.exists(u".corvanta.lock"_s));
    EXPECT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();
    program.kill();
    program.waitForFinished();

    // An option neither Qt nor the program knows is refused after Qt took its own.
    program.start(QStringLiteral(CORVANTA_EXECUTABLE),
                  {u"-platform"_s, u"offscreen"_s, u"-bogus"_s, u"--data-dir"_s, data.path()});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(program.readAllStandardError().contains("Unknown option 'bogus'."));
}

// A logout (SIGHUP) or kill (SIGTERM) ends the program as the close box does: the settings and
// the window's place are stored and the lock goes; a dialog open then is cancelled, so the name
// typed in it is not saved.
TEST(ProgramStart, terminationSignals_closeAsTheCloseBoxDoes)
{
    const struct {
        int signal;
        bool inDialog; // the probe, with the new project's name half typed
    } cases[] = {{SIGTERM, false}, {SIGHUP, false}, {SIGTERM, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "signal " << c.signal << (c.inDialog ? " in a dialog" : ""));
        TempFolder data;
        quietStart(data);
        QProcess program;
        QProcessEnvironment env = cleanEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        program.setProcessEnvironment(env);
        if (c.inDialog)
            program.start(QStringLiteral(CORVANTA_WINDOW_PROBE), {data.path(), u"--signal-in-dialog"_s});
        else
            program.start(QStringLiteral(CORVANTA_EXECUTABLE), {u"--data-dir"_s, data.path()});
        ASSERT_TRUE(program.waitForStarted());
        QDeadlineTimer deadline(60000);
        const auto ready = [&] {
            return c.inDialog ? program.readAllStandardOutput().contains("typed")
                              : data.exists(u".corvanta.lock"_s);
        };
        while (!ready() && program.state() == QProcess::Running && !deadline.hasExpired())
            program.waitForReadyRead(50);
        ASSERT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();
        ::kill(pid_t(program.processId()), c.signal);
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        EXPECT_FALSE(data.exists(u".corvanta.lock"_s));
        Store store;
        EXPECT_FALSE(ReadIniString(store, data.file(u"Corvanta.Ini"_s), u"Screen"_s, u"Width"_s, QString()).isEmpty());
        EXPECT_FALSE(data.read(u"Project.List"_s).contains("Half"));
        EXPECT_FALSE(data.exists(u"Projects/Half Typed"_s));
    }
}

struct Placement {
    QRect window;
    QRect screen;
};

// Runs the real window on one offscreen screen of the given size (device pixels) and scale.
Placement runWindow(const TempFolder &data, QSize screenPixels, double scale)
{
    data.write(u"screens.json"_s,
               QStringLiteral(R"({"screens": [{"name": "S", "x": 0, "y": 0, "width": %1, "height": %2}]})")
                   .arg(screenPixels.width())
                   .arg(screenPixels.height())
                   .toUtf8());
    QProcessEnvironment env = cleanEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen:configfile="_s + data.file(u"screens.json"_s));
    env.insert(u"QT_SCALE_FACTOR"_s, QString::number(scale));
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral(CORVANTA_WINDOW_PROBE), {data.path()});
    Placement p;
    if (!probe.waitForFinished(60000) || probe.exitCode() != 0) {
        ADD_FAILURE() << probe.readAllStandardError().toStdString();
        return p;
    }
    for (const QByteArray &line : probe.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (w.size() != 5)
            continue;
        const QRect r(w[1].toInt(), w[2].toInt(), w[3].toInt(), w[4].toInt());
        (w[0] == "window" ? p.window : p.screen) = r;
    }
    return p;
}

TEST(ProgramStart, storedGeometryOpensOnTheScreenAtScaleOneAndTwoAndReadsBackTheSame)
{
    struct Case {
        const char *what;
        QSize screen;
        double scale;
        const char *stored; // Height, Width, Top, Left; empty for none
    };
    const Case cases[] = {
        {"first start", {1600, 1200}, 1, ""},
        {"stored at scale 1 near the corner, read at scale 2", {1600, 1200}, 2, "9000 15000 12000 17000"},
        {"larger than a small screen at scale 2", {1366, 768}, 2, "14000 19200 0 0"},
        {"a hand-edited left", {1024, 768}, 1, "6500 10250 600 2147483647"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder data;
        quietStart(data);
        const QStringList stored = QString::fromLatin1(c.stored).split(u' ', Qt::SkipEmptyParts);
        const char *keys[] = {"Height", "Width", "Top", "Left"};
        Store store;
        for (int i = 0; i < stored.size(); ++i)
            ASSERT_TRUE(WriteIniString(store, data.file(u"Corvanta.Ini"_s), u"Screen"_s, QString::fromLatin1(keys[i]), stored[i]));

        const Placement first = runWindow(data, c.screen, c.scale);
        EXPECT_FALSE(first.window.isEmpty());
        EXPECT_TRUE(first.screen.contains(first.window))
            << "window " << first.window.x() << ',' << first.window.y() << ' ' << first.window.width()
            << 'x' << first.window.height() << " on " << first.screen.width() << 'x' << first.screen.height();
        // What the first run stored brings the same window back.
        const Placement second = runWindow(data, c.screen, c.scale);
        EXPECT_EQ(second.window, first.window);
    }
}

} // namespace
} // namespace corvanta::test
