#include "gui/QtUi.h"

#include "app/HelpWindow.h"
#include "gui/AccessoryDialogs.h"
#include "gui/HelpViewer.h"
#include "gui/Twips.h"

namespace corvanta {

QtUi::QtUi() = default;

QtUi::~QtUi()
{
    // Normally the main window owns the help window and has taken it along.
    delete helpViewer_.data();
}

void QtUi::showHelp(HelpWindow &window)
{
    if (!helpViewer_)
        helpViewer_ = new HelpViewer(window, parent);
    if (!helpViewer_->isVisible()) {
        helpViewer_->resize(toPixels(window.width()), toPixels(window.height()));
        helpViewer_->show();
    }
    helpViewer_->follow();
    helpViewer_->raise();
    helpViewer_->activateWindow();
}

void QtUi::showCalendar(Calendar &calendar)
{
    CalendarDialog dialog(calendar, parent);
    dialog.exec();
}

void QtUi::showAbout(About &about)
{
    AboutDialog dialog(about, parent);
    dialog.exec();
}

} // namespace corvanta
