#include "gui/QtUi.h"

#include "app/HelpWindow.h"
#include "gui/AccessoryDialogs.h"
#include "gui/HelpViewer.h"
#include "gui/Modal.h"
#include "gui/Twips.h"

#include <QScreen>
#include <QWidget>

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
        const QSize wanted = helpViewer_->openingSize();
        if (parent && parent->screen()) {
            helpViewer_->setGeometry(HelpViewer::placeBeside(
                parent->frameGeometry(), wanted, parent->screen()->availableGeometry()));
        } else {
            helpViewer_->resize(wanted);
        }
        helpViewer_->fitContentsPane();
        helpViewer_->show();
    }
    helpViewer_->follow();
    helpViewer_->raise();
    helpViewer_->activateWindow();
}

void QtUi::showCalendar(Calendar &calendar)
{
    CalendarDialog dialog(calendar, parent);
    runModal(dialog, parent);
}

void QtUi::showAbout(About &about)
{
    AboutDialog dialog(about, parent);
    runModal(dialog, parent);
}

} // namespace corvanta
