#pragma once

#include <QString>

namespace corvanta {

class Store;
struct SharedState;
class Ui;

// The "Getting Started" window shown at start until the user hides it.
class StartupWindow {
public:
    StartupWindow(Store &store, SharedState &state, Ui &ui);

    QString caption() const;
    QString lblGettingStarted;
    QString lblDefaultScreen;
    QString chkHideWindowCaption() const;
    QString okButtonCaption() const;
    // The button beside Continue that opens the user manual the text points to.
    QString cmdUserManualCaption() const;
    bool chkHideWindow = false;
    bool closed() const { return closed_; }

    void Form_Load();
    void OKButton_Click();
    // Closes the window like Continue; the user manual opens once it has gone.
    void cmdUserManual_Click();
    bool userManualRequested() const { return userManual_; }
    // Enter and Escape close the window like the button; other keys pass on.
    void Form_KeyDown(int &keyCode);
    // Stores whether the window comes back at the next start.
    void Form_Unload();

private:
    Store &store_;
    SharedState &state_;
    Ui &ui_;
    bool closed_ = false;
    bool userManual_ = false;
};

// The desktop's side of the window: shows it modally and returns when it has closed.
class StartupWindowDisplay {
public:
    virtual ~StartupWindowDisplay() = default;
    virtual void showStartupWindow(StartupWindow &window) = 0;
};

} // namespace corvanta
