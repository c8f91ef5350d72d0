// The program started in a process of its own: what a process fixes when it starts (its command
// line, its screens and scale factor) cannot change inside the test run.

#include "app/IniFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QRect>

#include <csignal>
#include <functional>

using namespace Qt::StringLiterals;

namespace corvanta::test {
namespace {

// A known user and no Getting Started window; the program's environment without a display,
// with platform (and a scale) when given.
QProcessEnvironment quietStart(const TempFolder &data, const QString &platform = {},
                               double scale = 0)
{
    const QString ini = data.file(u"Corvanta.Ini"_s);
    Store store; // the test's own: the program runs in a process of its own
    EXPECT_TRUE(WriteIniString(store, ini, u"User"_s, u"Name"_s, u"Tester"_s));
    EXPECT_TRUE(WriteIniString(store, ini, u"Startup Window"_s, u"Display Window"_s, u"False"_s));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"ASAN_OPTIONS"_s, u"detect_leaks=0"_s);
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"})
        env.remove(QString::fromLatin1(name));
    if (!platform.isEmpty())
        env.insert(u"QT_QPA_PLATFORM"_s, platform);
    if (scale > 0)
        env.insert(u"QT_SCALE_FACTOR"_s, QString::number(scale));
    return env;
}

// Waits up to a minute for ready() while the program runs; true when it is ready and running.
bool runsUntil(QProcess &program, const std::function<bool()> &ready)
{
    if (!program.waitForStarted())
        return false;
    QDeadlineTimer deadline(60000);
    bool done = false;
    while (!(done = ready()) && program.state() == QProcess::Running && !deadline.hasExpired())
        program.waitForReadyRead(50);
    return done && program.state() == QProcess::Running;
}

// A logout (SIGHUP) or kill (SIGTERM) ends the program as the close box does: the settings and
// the window's place are stored and the lock goes; a dialog open then is cancelled, so the name
// typed in it is not saved. The program is started with Qt's own options and no DISPLAY: -platform
// alone lets it start, and running with the folder locked means the options were read.
TEST(ProgramStart, terminationSignals_closeAsTheCloseBoxDoes)
{
    // inDialog: the probe, with the new project's name half typed
    for (const auto &[signal, inDialog] :
         {std::pair {SIGTERM, false}, {SIGHUP, false}, {SIGTERM, true}}) {
        SCOPED_TRACE(testing::Message() << signal << (inDialog ? " in a dialog" : ""));
        TempFolder data;
        QProcess program;
        program.setProcessEnvironment(quietStart(data, inDialog ? u"offscreen"_s : QString()));
        data.write(u"dark.qss"_s, "QWidget { background: #202020; color: #e0e0e0; }");
        if (inDialog)
            program.start(QStringLiteral(CORVANTA_WINDOW_PROBE),
                          {data.path(), u"--signal-in-dialog"_s});
        else
            program.start(QStringLiteral(CORVANTA_EXECUTABLE),
                {u"-platform"_s, u"offscreen"_s, u"-style"_s, u"Fusion"_s, u"-stylesheet"_s,
                    data.file(u"dark.qss"_s), u"-reverse"_s, u"-qwindowgeometry"_s,
                    u"700x500+10+10"_s, u"--data-dir"_s, data.path()});
        ASSERT_TRUE(runsUntil(program, [&] {
            return inDialog ? program.readAllStandardOutput().contains("typed")
                            : data.exists(u".corvanta.lock"_s);
        })) << program.readAllStandardError().toStdString();
        ::kill(pid_t(program.processId()), signal);
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        EXPECT_FALSE(data.exists(u".corvanta.lock"_s));
        Store store;
        const QString ini = data.file(u"Corvanta.Ini"_s);
        EXPECT_NE(ReadIniString(store, ini, u"Screen"_s, u"Width"_s, {}), u""_s);
        EXPECT_FALSE(data.read(u"Project.List"_s).contains("Half"));
        EXPECT_FALSE(data.exists(u"Projects/Half Typed"_s));
    }
}

// The real window on one offscreen screen of the given size (device pixels) and scale: where it
// stands and the screen's area, as the probe prints them.
std::pair<QRect, QRect> runWindow(const TempFolder &data, QSize screen, double scale)
{
    data.write(u"screens.json"_s,
               uR"({"screens": [{"name": "S", "x": 0, "y": 0, "width": %1, "height": %2}]})"_s
                   .arg(screen.width())
                   .arg(screen.height())
                   .toUtf8());
    QProcess probe;
    probe.setProcessEnvironment(
        quietStart(data, u"offscreen:configfile="_s + data.file(u"screens.json"_s), scale));
    probe.start(QStringLiteral(CORVANTA_WINDOW_PROBE), {data.path()});
    std::pair<QRect, QRect> placed;
    if (!probe.waitForFinished(60000) || probe.exitCode() != 0) {
        ADD_FAILURE() << probe.readAllStandardError().toStdString();
        return placed;
    }
    for (const QByteArray &line : probe.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (w.size() == 5)
            (w[0] == "window" ? placed.first : placed.second) =
                QRect(w[1].toInt(), w[2].toInt(), w[3].toInt(), w[4].toInt());
    }
    return placed;
}

TEST(ProgramStart, storedGeometryOpensOnTheScreenAtScaleOneAndTwoAndReadsBackTheSame)
{
    const struct {
        const char *what;
        QSize screen;
        double scale;
        QStringList stored; // Height, Width, Top, Left; empty for none
    } cases[] = {
        {"first start", {1600, 1200}, 1, {}},
        {"stored at scale 1 near the corner, read at scale 2", {1600, 1200}, 2,
            {u"9000"_s, u"15000"_s, u"12000"_s, u"17000"_s}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder data;
        Store store;
        const QString keys[] = {u"Height"_s, u"Width"_s, u"Top"_s, u"Left"_s};
        for (int i = 0; i < c.stored.size(); ++i)
            ASSERT_TRUE(WriteIniString(
                store, data.file(u"Corvanta.Ini"_s), u"Screen"_s, keys[i], c.stored[i]));
        const auto [window, screen] = runWindow(data, c.screen, c.scale);
        EXPECT_FALSE(window.isEmpty());
        EXPECT_TRUE(screen.contains(window)) << window.x() << ',' << window.y() << ' '
                                             << window.width() << 'x' << window.height();
        // What the first run stored brings the same window back.
        EXPECT_EQ(runWindow(data, c.screen, c.scale).first, window);
    }
}

} // namespace
} // namespace corvanta::test
