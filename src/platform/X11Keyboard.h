#pragma once

#include "platform/Keyboard.h"

#include <QByteArray>

#include <array>
#include <memory>

class QSocketNotifier;
struct xcb_connection_t;

namespace corvanta {

// The lock keys of an X11 display: their states are the keyboard's indicators (XKB), switching
// one sends a key press and release (XTEST), and the indicators' changes arrive as XKB events
// on a connection of its own. X11 has no Insert state.
class X11Keyboard final : public Keyboard
{
public:
    // The keyboard of display (empty: $DISPLAY); nullptr when there is no display or it lacks
    // XKB. Without XTEST the states are shown but no key can be switched.
    static std::unique_ptr<X11Keyboard> open(const QByteArray &display = QByteArray());
    ~X11Keyboard() override;
    X11Keyboard(const X11Keyboard &) = delete;
    X11Keyboard &operator=(const X11Keyboard &) = delete;

    std::optional<bool> isOn(LockKey key) const override;
    bool toggle(LockKey key) override;
    bool canToggle() const { return xtest_; }

private:
    explicit X11Keyboard(xcb_connection_t *connection);
    bool start();
    void readEvents();
    void noticeQueuedEvents() const;

    xcb_connection_t *connection_;
    std::unique_ptr<QSocketNotifier> notifier_;
    bool xtest_ = false;
    unsigned xkbEventBase_ = 0;
    unsigned root_ = 0;
    // Per LockKey: the indicator's name atom and the key code that switches it (0: none).
    std::array<unsigned, 4> indicators_{};
    std::array<unsigned char, 4> keycodes_{};
};

} // namespace corvanta
