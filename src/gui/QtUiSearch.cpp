#include "gui/FileSearchWindow.h"
#include "gui/QtUi.h"

namespace corvanta {

void QtUi::showFileSearch(FileSearch &search)
{
    FileSearchWindow window(search, parent);
    window.exec();
}

} // namespace corvanta
