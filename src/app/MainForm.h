#pragma once

#include "app/CommandSurface.h"
#include "app/FeatureContext.h"
#include "app/MainLayout.h"
#include "app/Operations.h"
#include "app/ScreenPlacement.h"
#include "app/SharedState.h"
#include "app/UndoHistory.h"
#include "app/WindowGeometry.h"
#include "platform/Platform.h"
#include "store/ListControl.h"
#include "store/Store.h"

#include <QString>

#include <functional>
#include <memory>

namespace corvanta {

class Clock;
class Ui;
class Navigation;
class Sorting;
class StartupWindowDisplay;

// The main window's state and its event handlers, free of any widget: its life cycle, its layout
// and the one dispatch table that binds keys, menus, the toolbar and popups to their item names.
// The Qt window shows this state, follows onChanged, and forwards every user event to the
// handler of the same name.
// Features are made by the composition root with context(); the form knows none of them.
class MainForm final : public FormWindow {
public:
    enum class Change { Caption, Geometry, WindowState, Enabled, Visible, Labels, Options, Focus, Layout, Quit };

    // startupWindows shows the Getting Started window; without it the window is not shown.
    // store is the one the composition root made for the run; the form sets its data folder.
    MainForm(const Platform &platform, Store &store, const QString &programFolder,
             StartupWindowDisplay *startupWindows = nullptr);
    ~MainForm();
    MainForm(const MainForm &) = delete;
    MainForm &operator=(const MainForm &) = delete;

    Platform platform;
    Ui &ui;
    Clock &clock;
    Store &store;
    SharedState state;
    ListControl lstProjectList{1, false};
    ListControl lstTopicList{2, false};
    ListControl lstFileList{2, true};
    CommandSurface commands;
    // --- the dispatch table: menu items, toolbar buttons, keys by name (app/Operations.h) ---
    Operations operations;
    UndoHistory undo{state, ui, operations, commands, store};

    Navigation &navigation() { return *navigation_; }
    Sorting &sorting() { return *sorting_; }
    // What a feature is made with: the operations, the state, the lists, the window, the services.
    FeatureContext context();
    // Where the user left off: reopened at start, stored at the end. Set by the composition root.
    void setLastPlace(LastPlace *lastPlace) { lastPlace_ = lastPlace; }

    // --- window texts and options ---
    QString caption() const override { return caption_; }
    void setCaption(const QString &caption) override;
    QString lblProjectList, lblTopicList, lblFileList;
    void setLabels(const QString &projects, const QString &topics, const QString &files);
    bool optOpen() const override { return optOpen_; }   // optPrint is the other choice
    void setOptOpen(bool open) override;

    // --- window geometry (twips) and state ---
    WindowGeometry geometry() const override { return geometry_; }
    void setGeometry(const WindowGeometry &g);         // by the program: the window follows
    void windowMoved(const WindowGeometry &g);         // by the user: the window reports it
    WindowState windowState() const { return windowState_; }
    void setWindowState(WindowState s);                // by the program
    void windowStateChanged(WindowState s);            // by the user
    float screenWidth = 19200;                         // twips, set by the window at start
    float screenHeight = 14400;
    ScreenAreas screens;                               // available areas, set by the window
    // The screens, or the whole screen above when the window reported none.
    ScreenAreas screenAreas() const;
    bool enabled() const override { return enabled_; }
    void setEnabled(bool on) override;
    bool visible() const { return visible_; }
    bool finished() const { return finished_; }

    // The list that has the focus, or nullptr (the hidden picture box has it).
    ListControl *focusedList();
    // Moves the focus by program: LostFocus on the list that had it, GotFocus on the new one.
    void giveFocus(ListControl *list) override;

    std::function<void(Change)> onChanged;

    // Lays the controls out for the current size and keeps the window at its minimum size.
    void Form_Resize();
    const MainLayout &layout() const { return layout_; }

    // --- life cycle ---
    // Start-up already told the user that the data folder is read-only: a settings write that
    // fails for it needs no box of its own.
    void settingsFailureTold() { state.SettingsFailureShown = true; }
    void Form_Load();
    void Form_Unload();
    // Escape, "Exit Program" and the close box: shut down once, then end the program.
    void closeMainWindow();
    void WriteManifest(const QString &executableName) const;

    void registerOperation(const QString &name, std::function<void()> operation)
    {
        operations.add(name, std::move(operation));
    }
    bool run(const QString &name) { return operations.run(name); }
    bool hasOperation(const QString &name) const { return operations.contains(name); }

    // --- command surface ---
    void Form_KeyDown(int &keyCode, int shift);
    void menuClick(const QString &itemName);
    void toolbarButtonClick(const QString &key);
    void toolbarEntryClick(const QString &entry);
    void menuAboutToShow(const QString &menuName);
    void stbMain_MouseDown(int button);
    void stbMain_PanelClick(int panel);
    void stbMain_PanelDblClick(int panel);
    void ShowHotKeyList();

    // Puts the window back at its default size and place, asking first unless starting up.
    void ResetWindowToDefault();
    static bool hasDefaultGeometry(const WindowGeometry &g, float screenWidth);
    // Asks for the user's name and shows it in the name panel.
    void ChangeUserName();

private:
    QString caption_;
    bool optOpen_ = true;
    WindowGeometry geometry_;
    MainLayout layout_;
    WindowGeometry normalGeometry_;
    WindowState windowState_ = WindowState::Normal;
    bool enabled_ = true;
    bool visible_ = false;
    bool finished_ = false;
    bool unloading_ = false;
    int lastStatusBarButton_ = 0;
    StartupWindowDisplay *startupWindows_;
    std::unique_ptr<Navigation> navigation_;
    std::unique_ptr<Sorting> sorting_;
    LastPlace *lastPlace_ = nullptr;

    void changed(Change c) { if (onChanged) onChanged(c); }
    void storeOptionsAndGeometry();
    void registerFrameOperations();
    void closingAnimation();
};

// Numbers in the settings file: shortest single-precision text, locale decimal separator.
QString formatSingle(float value);
// Reads a number as written by formatSingle (or with a '.'); false when the text is no number.
bool parseSingle(const QString &text, float *value);

} // namespace corvanta
