#pragma once

#include <Qt>

class QKeyEvent;

namespace corvanta {

// The handlers' key code for a Qt key event (0 when the key has none), and the shift mask
// (1 Shift, 2 Ctrl, 4 Alt) for Qt's modifiers.
int keyCodeFromQt(const QKeyEvent *event);
int shiftFromQt(Qt::KeyboardModifiers modifiers);
// The handlers' mouse button code (1 left, 2 right, 4 middle) for one button, and the mask for
// the buttons held.
int mouseButtonFromQt(Qt::MouseButton button);
int mouseButtonsFromQt(Qt::MouseButtons buttons);

} // namespace corvanta
