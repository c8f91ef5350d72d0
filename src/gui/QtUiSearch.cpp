#include "gui/FileSearchWindow.h"
#include "gui/Modal.h"
#include "gui/QtUi.h"

#include <QCoreApplication>

namespace corvanta {

void QtUi::showFileSearch(FileSearch &search)
{
    FileSearchWindow window(search, parent);
    runModal(window, parent);
}

void QtUi::post(std::function<void()> task)
{
    QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
}

} // namespace corvanta
