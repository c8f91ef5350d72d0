#pragma once

#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWidget;

namespace corvanta {

// Ends the program on SIGTERM and SIGHUP (a logout, a shut-down, kill) the way the close box
// does, so the settings and the window's place are kept and the lock goes. The handler only
// writes a byte into a socket the event loop watches; the rest happens between events: every
// open modal dialog and popup is cancelled first (nothing typed in one is saved half-way), then
// the window closes. One object per process; signals are caught from its making on.
class TerminationSignals : public QObject
{
public:
    TerminationSignals();
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

    // The window a signal closes; a signal that came before it is acted on now.
    void closes(QWidget *window);
    bool arrived() const { return arrived_; }

private:
    QSocketNotifier *notifier_ = nullptr;
    QPointer<QWidget> window_;
    bool arrived_ = false;
    int attempts_ = 0; // modal dialogs cancelled so far

    void readSignal();
    void closeWhenFree();
};

} // namespace corvanta
