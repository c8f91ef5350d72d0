#pragma once

#include "app/AccessoryDisplay.h"
#include "app/StartupWindow.h"
#include "gui/HelpViewer.h"
#include "editor/PointerEditor.h"
#include "platform/Ui.h"
#include "search/FileSearch.h"
#include "search/FindPointer.h"
#include "search/MissingTargets.h"

#include <QPointer>

#include <functional>

class QWidget;

namespace corvanta {

// The desktop's side of the Ui interface and of the core's modal windows: Qt message boxes, input
// boxes and dialogs.
class QtUi : public Ui,
             public StartupWindowDisplay,
             public PointerEditorDisplay,
             public FileSearchDisplay,
             public AccessoryDisplay,
             public FindPointerDisplay,
             public MissingTargetsDisplay {
public:
    QtUi();
    ~QtUi() override;
    QtUi(const QtUi &) = delete;
    QtUi &operator=(const QtUi &) = delete;

    int msgBox(const QString &text, const QString &title, int flags) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &preset,
                     int leftTwips, int topTwips) override;
    void beep() override;
    void setBusy(bool busy) override;
    void pumpEvents() override;
    void post(std::function<void()> task) override; // QtUiSearch.cpp
    void showStartupWindow(StartupWindow &window) override;
    void showPointerEditor(PointerEditor &editor) override;  // QtUiEditor.cpp
    void showFileSearch(FileSearch &search) override;        // QtUiSearch.cpp
    void showFindPointer(PointerFinder &finder) override;    // PointerPlacesWindows.cpp
    void showMissingTargets(MissingTargets &window) override; // PointerPlacesWindows.cpp
    void showPopupMenu(const QString &menuName) override;
    void showPopupMenuAt(const QString &menuName, int xTwips, int yTwips) override;
    QString chooseProgram(const QString &target, const QString &title) override;
    void showHelp(HelpWindow &window) override;              // QtUiAccessories.cpp
    void showCalendar(Calendar &calendar) override;
    void showAbout(About &about) override;
    HelpViewer *helpViewer() const { return helpViewer_; }

    // The window boxes are centred on and the popup menus come from; set once it exists.
    QWidget *parent = nullptr;
    std::function<void(const QString &)> popupMenu;
    std::function<void(const QString &, int, int)> popupMenuAt; // window coordinates, twips

    // Message texts use CR between lines; widgets want LF.
    static QString displayText(const QString &text);

private:
    int busyDepth_ = 0;
    QPointer<HelpViewer> helpViewer_; // made at the first help command, then shown again
};

} // namespace corvanta
