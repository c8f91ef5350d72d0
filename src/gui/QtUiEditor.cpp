#include "gui/Modal.h"
#include "gui/PointerEditorDialog.h"
#include "gui/QtUi.h"

namespace corvanta {

void QtUi::showPointerEditor(PointerEditor &editor)
{
    if (editor.closed())
        return;
    PointerEditorDialog dialog(editor, parent);
    // The editor's message boxes belong over the editor, not behind it over the main window.
    runModal(dialog, parent);
}

} // namespace corvanta
