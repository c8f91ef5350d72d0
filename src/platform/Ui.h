#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace corvanta {

// What the core asks of the desktop: modal boxes, sounds, the pointer shape, the event loop,
// popup menus and the Open With chooser. The Qt window implements it; tests use a scripted fake.
// The windows whose logic lives higher up are shown through interfaces of their own folders
// (StartupWindowDisplay, PointerEditorDisplay, FileSearchDisplay).
class Ui {
public:
    virtual ~Ui() = default;

    // A modal message box. flags combine MsgBox buttons, icon and default button; CR in text is a
    // line break. Returns a MsgBox::Answer.
    virtual int msgBox(const QString &text, const QString &title, int flags) = 0;

    // A modal text input box with its top-left corner at (leftTwips, topTwips) on the screen.
    // Returns "" when the user cancels or confirms an empty field.
    virtual QString inputBox(const QString &prompt, const QString &title, const QString &preset,
                             int leftTwips, int topTwips) = 0;

    virtual void beep() = 0;

    // The hourglass while long work runs; calls nest, the normal pointer returns at the outermost.
    virtual void setBusy(bool busy) = 0;

    // Lets the window system process pending events once.
    virtual void pumpEvents() = 0;

    // Runs task on the window's thread once the events already waiting have run; callable from
    // any thread. Work on other threads hands its results over this way.
    virtual void post(std::function<void()> task) = 0;

    // Shows a popup menu of the command surface at the mouse pointer and returns when it has
    // closed; a chosen item's command has run by then.
    virtual void showPopupMenu(const QString &menuName) = 0;
    // The same with the menu's top-left corner at (xTwips, yTwips) in the main window.
    virtual void showPopupMenuAt(const QString &menuName, int xTwips, int yTwips) = 0;

    // The Open With chooser for target: returns the chosen program's command line (desktop-entry
    // Exec syntax; the target goes in place of %f/%u, else at the end), or "" when cancelled.
    virtual QString chooseProgram(const QString &target, const QString &title) = 0;
};

} // namespace corvanta
