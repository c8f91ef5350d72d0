#pragma once

#include <Qt>

class QKeyEvent;

namespace corvanta {

// The handlers' key code for a Qt key event (0 when the key has none), and the shift mask
// (1 Shift, 2 Ctrl, 4 Alt) for Qt's modifiers.
int keyCodeFromQt(const QKeyEvent *event);
int shiftFromQt(Qt::KeyboardModifiers modifiers);

} // namespace corvanta
