#pragma once

#include <QString>

namespace corvanta {

struct SharedState;
class Ui;

// The "Getting Started" window shown at start until the user hides it.
class StartupWindow {
public:
    StartupWindow(SharedState &state, Ui &ui);

    QString caption() const;
    QString lblGettingStarted;
    QString lblDefaultScreen;
    QString chkHideWindowCaption() const;
    QString okButtonCaption() const;
    bool chkHideWindow = false;
    bool closed() const { return closed_; }

    void Form_Load();
    void OKButton_Click();
    // Enter and Escape close the window like the button; other keys pass on.
    void Form_KeyDown(int &keyCode);
    // Stores whether the window comes back at the next start.
    void Form_Unload();

private:
    SharedState &state_;
    Ui &ui_;
    bool closed_ = false;
};

// The desktop's side of the window: shows it modally and returns when it has closed.
class StartupWindowDisplay {
public:
    virtual ~StartupWindowDisplay() = default;
    virtual void showStartupWindow(StartupWindow &window) = 0;
};

} // namespace corvanta
