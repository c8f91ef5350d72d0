#pragma once

#include "platform/Keyboard.h"

#include <map>

namespace corvanta::test {

// Lock keys held in memory: toggling switches a known key and announces the change, as the
// window system does; a key without a state cannot be switched.
class FakeKeyboard : public Keyboard
{
public:
    std::map<LockKey, bool> states{{LockKey::Caps, false}, {LockKey::Num, true}, {LockKey::Scroll, false}};
    int toggles = 0;

    std::optional<bool> isOn(LockKey key) const override
    {
        const auto it = states.find(key);
        return it == states.end() ? std::nullopt : std::optional<bool>(it->second);
    }
    bool toggle(LockKey key) override
    {
        const auto it = states.find(key);
        if (it == states.end())
            return false;
        ++toggles;
        set(key, !it->second);
        return true;
    }
    // A change made outside the program.
    void set(LockKey key, bool on)
    {
        states[key] = on;
        if (onChanged)
            onChanged();
    }
};

} // namespace corvanta::test
