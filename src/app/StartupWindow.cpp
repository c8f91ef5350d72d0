#include "app/StartupWindow.h"

#include "app/Settings.h"
#include "platform/Keys.h"

namespace corvanta {

StartupWindow::StartupWindow(Store &store, SharedState &state, Ui &ui) : store_(store), state_(state), ui_(ui) {}

QString StartupWindow::caption() const { return QStringLiteral("Getting Started"); }
QString StartupWindow::chkHideWindowCaption() const { return QStringLiteral("&Hide This Window"); }
QString StartupWindow::okButtonCaption() const { return QStringLiteral("&Continue"); }
QString StartupWindow::cmdUserManualCaption() const { return QStringLiteral("&User Manual"); }

void StartupWindow::Form_Load()
{
    lblGettingStarted = QStringLiteral("Getting Started:\r"
                                       "Intructions are located in the Help option in the Menu Bar.\r"
                                       "1) Click Help\r"
                                       "2) Select The Option Labeled 'Getting Started'\r"
                                       "3) Click the 'Getting Started' option\r");
    lblDefaultScreen = QStringLiteral("On first startup please click the green/blue Double Arrows\r"
                                      "on the Toolbar to set your default program size and location.");
}

void StartupWindow::OKButton_Click() { closed_ = true; }

void StartupWindow::cmdUserManual_Click()
{
    userManual_ = true;
    closed_ = true;
}

void StartupWindow::Form_KeyDown(int &keyCode)
{
    if (keyCode == Key::Return || keyCode == Key::Escape) {
        keyCode = 0;
        closed_ = true;
    }
}

void StartupWindow::Form_Unload()
{
    closed_ = true;
    writeSetting(store_, state_, ui_, QStringLiteral("Startup Window"), QStringLiteral("Display Window"),
                 chkHideWindow ? QStringLiteral("False") : QStringLiteral("True"));
}

} // namespace corvanta
