#pragma once

namespace corvanta {

class Clock;
class Shell;
class Ui;

// The desktop services a window's logic is given when it is made. Services a feature does not
// use may be left out by tests; the program supplies them all.
struct Platform {
    Ui &ui;
    Clock &clock;
    Shell *shell = nullptr;
};

} // namespace corvanta
