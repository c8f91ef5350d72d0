// The lock keys of a real X server: a display of the test's own when Xvfb is installed, else
// $DISPLAY; without either the test is skipped.
#include "platform/X11Keyboard.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace corvanta::test {
namespace {

class X11KeyboardTest : public ::testing::Test
{
protected:
    QProcess server;
    std::unique_ptr<X11Keyboard> keyboard;

    void SetUp() override
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        QByteArray display;
        if (!xvfb.isEmpty()) {
            // A free display number of this process's own, well away from the usual ones.
            int number = 200 + int(getpid() % 700);
            while (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
                ++number;
            display = ':' + QByteArray::number(number);
            server.start(xvfb, {QString::fromLatin1(display), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
            const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
            for (QDeadlineTimer deadline(10000); !deadline.hasExpired() && !QFileInfo::exists(socket);)
                QThread::msleep(20);
            for (QDeadlineTimer deadline(5000); !deadline.hasExpired() && !keyboard;) {
                keyboard = X11Keyboard::open(display);
                if (!keyboard)
                    QThread::msleep(50);
            }
        } else if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            keyboard = X11Keyboard::open();
        }
        if (!keyboard)
            GTEST_SKIP() << "no X display with XKB";
    }
    void TearDown() override
    {
        keyboard.reset();
        if (server.state() != QProcess::NotRunning) {
            server.terminate();
            server.waitForFinished(5000);
        }
    }

    // Runs the event loop until the keyboard announced a change, for at most a second.
    bool changeAnnounced(int &changes)
    {
        const int before = changes;
        for (QDeadlineTimer deadline(1000); !deadline.hasExpired() && changes == before;)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return changes != before;
    }
};

TEST_F(X11KeyboardTest, toggling_switchesTheIndicatorAndAnnouncesIt)
{
    int changes = 0;
    keyboard->onChanged = [&] { ++changes; };
    EXPECT_FALSE(keyboard->isOn(LockKey::Insert).has_value());
    EXPECT_FALSE(keyboard->toggle(LockKey::Insert));
    for (const LockKey key : {LockKey::Caps, LockKey::Num}) {
        SCOPED_TRACE(int(key));
        const std::optional<bool> before = keyboard->isOn(key);
        ASSERT_TRUE(before.has_value());
        ASSERT_TRUE(keyboard->toggle(key));
        EXPECT_EQ(keyboard->isOn(key), !*before);
        EXPECT_TRUE(changeAnnounced(changes));
        ASSERT_TRUE(keyboard->toggle(key));
        EXPECT_EQ(keyboard->isOn(key), *before);
        EXPECT_TRUE(changeAnnounced(changes));
    }
}

} // namespace
} // namespace corvanta::test
