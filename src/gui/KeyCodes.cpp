#include "gui/KeyCodes.h"

#include "platform/Keys.h"

#include <QKeyEvent>

namespace corvanta {

int keyCodeFromQt(const QKeyEvent *event)
{
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return Key::F1 + (key - Qt::Key_F1);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key; // the same values: 65..90
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key; // 48..57
    switch (key) {
    case Qt::Key_Backspace: return Key::Backspace;
    case Qt::Key_Tab: return Key::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Key::Return;
    case Qt::Key_Escape: return Key::Escape;
    case Qt::Key_Space: return Key::Space;
    case Qt::Key_PageUp: return Key::PageUp;
    case Qt::Key_PageDown: return Key::PageDown;
    case Qt::Key_End: return Key::End;
    case Qt::Key_Home: return Key::Home;
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Insert: return Key::Insert;
    case Qt::Key_Delete: return Key::Delete;
    default: return 0;
    }
}

int shiftFromQt(Qt::KeyboardModifiers modifiers)
{
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= Key::ShiftMask;
    if (modifiers & Qt::ControlModifier)
        shift |= Key::CtrlMask;
    if (modifiers & Qt::AltModifier)
        shift |= Key::AltMask;
    return shift;
}

int mouseButtonFromQt(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return Mouse::Left;
    case Qt::RightButton: return Mouse::Right;
    case Qt::MiddleButton: return Mouse::Middle;
    default: return Mouse::NoButton;
    }
}

int mouseButtonsFromQt(Qt::MouseButtons buttons)
{
    int mask = Mouse::NoButton;
    if (buttons & Qt::LeftButton)
        mask |= Mouse::Left;
    if (buttons & Qt::RightButton)
        mask |= Mouse::Right;
    if (buttons & Qt::MiddleButton)
        mask |= Mouse::Middle;
    return mask;
}

} // namespace corvanta
