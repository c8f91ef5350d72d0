#pragma once

#include "app/CommandSurface.h"
#include "app/Feature.h"
#include "app/MainLayout.h"
#include "app/SharedState.h"
#include "app/WindowGeometry.h"
#include "platform/Platform.h"
#include "store/ListControl.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>

namespace corvanta {

class Clock;
class Ui;
class Navigation;
class Sorting;

// The main window's state and its event handlers, free of any widget. The Qt window shows this
// state, follows onChanged, and forwards every user event to the handler of the same name.
class MainForm {
public:
    enum class Change { Caption, Geometry, WindowState, Enabled, Visible, Labels, Options, Focus, Layout, Quit };

    MainForm(const Platform &platform, const QString &programFolder);
    ~MainForm();
    MainForm(const MainForm &) = delete;
    MainForm &operator=(const MainForm &) = delete;

    Platform platform;
    Ui &ui;
    Clock &clock;
    SharedState state;
    ListControl lstProjectList{1, false};
    ListControl lstTopicList{2, false};
    ListControl lstFileList{2, true};
    CommandSurface commands;

    Navigation &navigation() { return *navigation_; }
    Sorting &sorting() { return *sorting_; }
    // The feature of type T, for tests and for features that work together.
    template<typename T> T *feature()
    {
        for (auto &f : features_) {
            if (auto *t = dynamic_cast<T *>(f.get()))
                return t;
        }
        return nullptr;
    }

    // --- window texts and options ---
    QString caption() const { return caption_; }
    void setCaption(const QString &caption);
    QString lblProjectList, lblTopicList, lblFileList;
    void setLabels(const QString &projects, const QString &topics, const QString &files);
    bool optOpen() const { return optOpen_; }   // optPrint is the other choice
    void setOptOpen(bool open);

    // --- window geometry (twips) and state ---
    WindowGeometry geometry() const { return geometry_; }
    void setGeometry(const WindowGeometry &g);         // by the program: the window follows
    void windowMoved(const WindowGeometry &g);         // by the user: the window reports it
    WindowState windowState() const { return windowState_; }
    void setWindowState(WindowState s);                // by the program
    void windowStateChanged(WindowState s);            // by the user
    float screenWidth = 19200;                         // twips, set by the window at start
    float screenHeight = 14400;
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    bool visible() const { return visible_; }
    bool finished() const { return finished_; }

    // The list that has the focus, or nullptr (the hidden picture box has it).
    ListControl *focusedList();
    // Moves the focus by program: LostFocus on the list that had it, GotFocus on the new one.
    void giveFocus(ListControl *list);

    std::function<void(Change)> onChanged;

    // Lays the controls out for the current size and keeps the window at its minimum size.
    void Form_Resize();
    const MainLayout &layout() const { return layout_; }

    // --- life cycle ---
    void Form_Load();
    void Form_Unload();
    // Escape, "Exit Program" and the close box: shut down once, then end the program.
    void closeMainWindow();
    void WriteManifest(const QString &executableName) const;

    // --- operations by name ---
    // Each feature registers its operations under their names ("LoadEntryScreen", "DeleteProject")
    // and its menu items under the item names ("mnuCreateProject"); menus, toolbar buttons
    // ("toolbar:AddFile"), drop-down entries ("entry:Open File") and the lists' handlers run them
    // by name. A name nobody registered does nothing.
    void registerOperation(const QString &name, std::function<void()> operation);
    bool run(const QString &name);
    bool hasOperation(const QString &name) const { return operations_.count(name) != 0; }

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
    std::unique_ptr<Navigation> navigation_;
    std::unique_ptr<Sorting> sorting_;
    std::map<QString, std::function<void()>> operations_;
    std::vector<std::unique_ptr<Feature>> features_;

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
