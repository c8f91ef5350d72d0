#pragma once

// Key codes as the handlers see them (the classic virtual-key values), and the shift mask.
namespace corvanta::Key {

enum Code : int {
    None = 0,
    Backspace = 8,
    Tab = 9,
    Return = 13,
    Escape = 27,
    Space = 32,
    PageUp = 33,
    PageDown = 34,
    End = 35,
    Home = 36,
    Left = 37,
    Up = 38,
    Right = 39,
    Down = 40,
    Insert = 45,
    Delete = 46,
    A = 65,
    C = 67,
    O = 79,
    P = 80,
    V = 86,
    X = 88,
    F1 = 112,
    F2, F3, F4, F5, F6, F7, F8, F9, F10, F11,
    F12 = 123,
};

enum Shift : int {
    NoShift = 0,
    ShiftMask = 1,
    CtrlMask = 2,
    AltMask = 4,
};

} // namespace corvanta::Key

namespace corvanta::Mouse {
enum Button : int { NoButton = 0, Left = 1, Right = 2, Middle = 4 };
}
