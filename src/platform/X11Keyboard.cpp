#include "platform/X11Keyboard.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>
// The XKB header names a field "explicit", which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xcb/xtest.h>

#include <cstdlib>
#include <cstring>

namespace corvanta {

namespace {

// The replies of xcb are malloc'd and freed by the caller.
template<typename T> struct Reply
{
    T *reply = nullptr;
    explicit Reply(T *r) : reply(r) {}
    ~Reply() { std::free(reply); }
    Reply(const Reply &) = delete;
    Reply &operator=(const Reply &) = delete;
    T *operator->() const { return reply; }
    explicit operator bool() const { return reply != nullptr; }
};

constexpr size_t index(LockKey key) { return static_cast<size_t>(key); }

// The indicator names XKB's keymaps give the lock keys, and the keysyms that switch them.
struct KeyInfo
{
    LockKey key;
    const char *indicator;
    xcb_keysym_t keysym;
};
constexpr KeyInfo switchableKeys[] = {
    {LockKey::Caps, "Caps Lock", 0xffe5},
    {LockKey::Num, "Num Lock", 0xff7f},
    {LockKey::Scroll, "Scroll Lock", 0xff14},
};

} // namespace

std::unique_ptr<X11Keyboard> X11Keyboard::open(const QByteArray &display)
{
    xcb_connection_t *connection = xcb_connect(display.isEmpty() ? nullptr : display.constData(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    std::unique_ptr<X11Keyboard> keyboard(new X11Keyboard(connection));
    if (!keyboard->start())
        return nullptr;
    return keyboard;
}

X11Keyboard::X11Keyboard(xcb_connection_t *connection) : connection_(connection) {}

X11Keyboard::~X11Keyboard()
{
    notifier_.reset();
    xcb_disconnect(connection_);
}

bool X11Keyboard::start()
{
    xcb_connection_t *c = connection_;
    const xcb_query_extension_reply_t *xkb = xcb_get_extension_data(c, &xcb_xkb_id);
    if (!xkb || !xkb->present)
        return false;
    const Reply<xcb_xkb_use_extension_reply_t> use(xcb_xkb_use_extension_reply(
        c, xcb_xkb_use_extension(c, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr));
    if (!use || !use->supported)
        return false;
    xkbEventBase_ = xkb->first_event;

    const xcb_query_extension_reply_t *xtest = xcb_get_extension_data(c, &xcb_test_id);
    xtest_ = xtest && xtest->present;
    const xcb_setup_t *setup = xcb_get_setup(c);
    root_ = xcb_setup_roots_iterator(setup).data->root;

    xcb_intern_atom_cookie_t atoms[std::size(switchableKeys)];
    for (size_t i = 0; i < std::size(switchableKeys); ++i) {
        const char *name = switchableKeys[i].indicator;
        atoms[i] = xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name);
    }
    for (size_t i = 0; i < std::size(switchableKeys); ++i) {
        const Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(c, atoms[i], nullptr));
        if (atom)
            indicators_[index(switchableKeys[i].key)] = atom->atom;
    }

    // The key codes that carry the lock keys' symbols in the current keymap.
    const int first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const Reply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, xcb_keycode_t(first), uint8_t(count)), nullptr));
    if (mapping && mapping->keysyms_per_keycode > 0) {
        const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(mapping.reply);
        const int length = xcb_get_keyboard_mapping_keysyms_length(mapping.reply);
        const int perCode = mapping->keysyms_per_keycode;
        for (const KeyInfo &k : switchableKeys) {
            for (int i = 0; i < length && keycodes_[index(k.key)] == 0; ++i) {
                if (syms[i] == k.keysym)
                    keycodes_[index(k.key)] = static_cast<unsigned char>(first + i / perCode);
            }
        }
    }

    // Told whenever an indicator changes, by any program or by the keyboard itself.
    const uint16_t events = XCB_XKB_EVENT_TYPE_INDICATOR_STATE_NOTIFY;
    xcb_generic_error_t *error = xcb_request_check(c,
        xcb_xkb_select_events_checked(c, XCB_XKB_ID_USE_CORE_KBD, events, 0, events, 0, 0, nullptr));
    if (error) {
        std::free(error);
        return false;
    }
    xcb_flush(c);
    notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(c), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { readEvents(); });
    return true;
}

void X11Keyboard::readEvents()
{
    bool changed = false;
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection_)) {
        changed = changed || (event->response_type & 0x7f) == xkbEventBase_;
        std::free(event);
    }
    if (xcb_connection_has_error(connection_)) {
        // The display went away: nothing more will come.
        notifier_->setEnabled(false);
        return;
    }
    if (changed && onChanged)
        onChanged();
}

std::optional<bool> X11Keyboard::isOn(LockKey key) const
{
    const unsigned atom = indicators_[index(key)];
    if (atom == 0)
        return std::nullopt;
    const Reply<xcb_xkb_get_named_indicator_reply_t> reply(xcb_xkb_get_named_indicator_reply(connection_,
        xcb_xkb_get_named_indicator(connection_, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_LED_CLASS_DFLT_XI_CLASS,
            XCB_XKB_ID_DFLT_XI_ID, atom),
        nullptr));
    noticeQueuedEvents();
    if (!reply || !reply->found)
        return std::nullopt;
    return reply->on != 0;
}

// Waiting for a reply may read events off the socket, which then never wakes the notifier; they
// are announced on the next turn of the event loop instead.
void X11Keyboard::noticeQueuedEvents() const
{
    bool changed = false;
    while (xcb_generic_event_t *event = xcb_poll_for_queued_event(connection_)) {
        changed = changed || (event->response_type & 0x7f) == xkbEventBase_;
        std::free(event);
    }
    if (changed && notifier_) {
        QMetaObject::invokeMethod(notifier_.get(), [this] {
            if (onChanged)
                onChanged();
        }, Qt::QueuedConnection);
    }
}

bool X11Keyboard::toggle(LockKey key)
{
    const xcb_keycode_t code = keycodes_[index(key)];
    if (!xtest_ || code == 0 || !isOn(key).has_value())
        return false;
    xcb_connection_t *c = connection_;
    xcb_test_fake_input(c, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, root_, 0, 0, 0);
    xcb_generic_error_t *error = xcb_request_check(
        c, xcb_test_fake_input_checked(c, XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, root_, 0, 0, 0));
    noticeQueuedEvents();
    if (error) {
        std::free(error);
        return false;
    }
    return true;
}

} // namespace corvanta
