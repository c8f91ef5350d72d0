#pragma once

#include <QString>

// Button, icon and answer codes of the message box, kept at the classic numeric values so that
// a box is described the same way everywhere: buttons | icon | default button.
namespace corvanta::MsgBox {

enum Flags : int {
    OkOnly = 0,
    OkCancel = 1,
    YesNoCancel = 3,
    YesNo = 4,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton2 = 256,
};

enum Answer : int {
    Ok = 1,
    Cancel = 2,
    Yes = 6,
    No = 7,
};

constexpr int buttonsOf(int flags) { return flags & 0x0F; }
constexpr int iconOf(int flags) { return flags & 0x70; }

} // namespace corvanta::MsgBox

namespace corvanta {

// Message texts end their lines with five spaces, which keeps the box a little wider than them.
inline QString fiveSpaces()
{
    return QStringLiteral("     ");
}

} // namespace corvanta
