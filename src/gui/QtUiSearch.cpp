#include "gui/QtUi.h"

namespace corvanta {

void QtUi::showFileSearch(FileSearch &)
{
    // The search window arrives with its feature.
}

} // namespace corvanta
