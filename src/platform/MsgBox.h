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

// A user's text (a name, a path, an address) as a message box shows it: at most its first 200
// characters, then "...". A box of a hand-edited list's 200,000-character name would take the
// window system many seconds to lay out.
inline QString userText(const QString &text)
{
    constexpr qsizetype kShown = 200;
    if (text.size() <= kShown)
        return text;
    // Never leave half of a surrogate pair at the end.
    const qsizetype keep = text.at(kShown - 1).isHighSurrogate() ? kShown - 1 : kShown;
    return text.left(keep) + QStringLiteral("...");
}

} // namespace corvanta
