#include "gui/FileSearchWindow.h"
#include "gui/Modal.h"
#include "gui/QtUi.h"

namespace corvanta {

void QtUi::showFileSearch(FileSearch &search)
{
    FileSearchWindow window(search, parent);
    runModal(window, parent);
}

} // namespace corvanta
