#include "gui/TerminationSignals.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <iterator>
#include <utility>

namespace corvanta {

namespace {

int signalSocket[2] = {-1, -1}; // [0] written by the handler, [1] read by the event loop
constexpr int caught[] = {SIGTERM, SIGHUP};
struct sigaction previous[std::size(caught)];

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    // A full socket already holds a wake-up: the byte is not needed.
    if (::write(signalSocket[0], &byte, 1) < 0) { }
    errno = saved;
}

} // namespace

TerminationSignals::TerminationSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSocket) != 0) {
        qWarning("corvanta: no socket for SIGTERM and SIGHUP: they end the program at once");
        return;
    }
    notifier_ = new QSocketNotifier(qintptr(signalSocket[1]), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(caught); ++i)
        ::sigaction(caught[i], &action, &previous[i]);
}

TerminationSignals::~TerminationSignals()
{
    if (!notifier_)
        return;
    for (size_t i = 0; i < std::size(caught); ++i)
        ::sigaction(caught[i], &previous[i], nullptr);
    delete notifier_;
    ::close(std::exchange(signalSocket[0], -1));
    ::close(std::exchange(signalSocket[1], -1));
}

void TerminationSignals::closes(QWidget *window)
{
    window_ = window;
    if (arrived_)
        QTimer::singleShot(0, this, &TerminationSignals::closeWhenFree);
}

void TerminationSignals::readSignal()
{
    char bytes[64];
    while (::read(signalSocket[1], bytes, sizeof bytes) > 0) { }
    arrived_ = true;
    closeWhenFree();
}

void TerminationSignals::closeWhenFree()
{
    // A modal dialog or a popup runs an event loop of its own: cancel it, and close the window
    // once the code that showed it has gone on.
    QWidget *busy = QApplication::activePopupWidget();
    if (!busy)
        busy = QApplication::activeModalWidget();
    // One that will not go (it asks again and again) is given a few seconds, then the window
    // closes over it.
    if (busy && ++attempts_ <= 300) {
        if (auto *dialog = qobject_cast<QDialog *>(busy))
            dialog->reject();
        else
            busy->close();
        QTimer::singleShot(10, this, &TerminationSignals::closeWhenFree);
        return;
    }
    if (window_)
        window_->close();
    // A window closed before the event loop ran (the signal came during the start's own
    // questions) is not the last window closed: the loop is told to end once it runs.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

} // namespace corvanta
