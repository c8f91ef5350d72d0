#pragma once

#include <QDialog>
#include <QScopedValueRollback>
#include <QWidget>

namespace corvanta {

// Runs dialog as a modal window and returns what exec() returns. While it is up, dialogParent
// names it, so that the message boxes and windows it opens come up over it, not behind it over
// the window below; afterwards dialogParent names what it named before, however exec() ends.
inline int runModal(QDialog &dialog, QWidget *&dialogParent)
{
    const QScopedValueRollback<QWidget *> owner(dialogParent, &dialog);
    return dialog.exec();
}

} // namespace corvanta
