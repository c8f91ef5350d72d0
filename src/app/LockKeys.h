#pragma once

#include "app/FeatureContext.h"

namespace corvanta {

class Keyboard;

// The status bar's lock-key panels 3 to 6 (CAPS, NUM, INS, SCRL): each shows its key as the
// keyboard reports it, follows every change, and switches the key on a double-click. Without a
// keyboard the program can read, the panels stay empty and their double-clicks do nothing.
class LockKeys
{
public:
    explicit LockKeys(const FeatureContext &context);
    ~LockKeys();
    LockKeys(const LockKeys &) = delete;
    LockKeys &operator=(const LockKeys &) = delete;

    // Shows every lock key's state in its panel.
    void refresh();
    // A double-click on panel 3 to 6: switches its key.
    void toggle(int panel);

private:
    FeatureContext c;
    Keyboard *keyboard_;
};

} // namespace corvanta
