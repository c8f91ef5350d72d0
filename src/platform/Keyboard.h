#pragma once

#include <functional>
#include <optional>

namespace corvanta {

enum class LockKey { Caps, Num, Insert, Scroll };

// The keyboard's lock keys as the window system reports them. A key whose state the system does
// not tell has no state, and switching it does nothing.
class Keyboard
{
public:
    virtual ~Keyboard() = default;

    // Whether the key is on; nullopt when the system cannot tell.
    virtual std::optional<bool> isOn(LockKey key) const = 0;
    // Presses and releases the key as if typed, which switches it; false when the system refused.
    virtual bool toggle(LockKey key) = 0;

    // Called on the program's thread whenever a lock key changed, whoever changed it.
    std::function<void()> onChanged;
};

} // namespace corvanta
