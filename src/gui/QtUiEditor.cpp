#include "gui/QtUi.h"

namespace corvanta {

void QtUi::showPointerEditor(PointerEditor &)
{
    // The pointer editor dialog arrives with its feature.
}

} // namespace corvanta
