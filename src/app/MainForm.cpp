#include "app/MainForm.h"

#include "app/IniFile.h"
#include "app/Navigation.h"
#include "app/Settings.h"
#include "app/Sorting.h"
#include "app/StartupWindow.h"
#include "platform/Clock.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/ListFiles.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <cmath>

namespace corvanta {

QString formatSingle(float value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    // Whole numbers are written without a fraction; others with the shortest exact digits.
    return locale.toString(double(value), 'f', QLocale::FloatingPointShortest);
}

bool parseSingle(const QString &text, float *value)
{
    const QString t = text.trimmed();
    bool ok = false;
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    float v = locale.toFloat(t, &ok);
    if (!ok)
        v = QLocale::c().toFloat(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

MainForm::MainForm(const Platform &platform_, Store &store_, const QString &programFolder,
                   StartupWindowDisplay *startupWindows)
    : platform(platform_), ui(platform_.ui), clock(platform_.clock), store(store_),
      caption_(QStringLiteral(" Corvanta Software")), startupWindows_(startupWindows)
{
    state.ProgramFolder = QDir::cleanPath(QDir(programFolder).absolutePath());
    store.setDataFolder(state.ProgramFolder);
    // The lists start in the default font; the stored settings are applied over it.
    for (ListControl *list : {&lstProjectList, &lstTopicList, &lstFileList})
        list->setFont(defaultListFont());
    navigation_ = std::make_unique<Navigation>(*this);
    sorting_ = std::make_unique<Sorting>(*this);
    undo.setNavigation(navigation_.get());
    registerFrameOperations();
}

MainForm::~MainForm() = default;

FeatureContext MainForm::context()
{
    return FeatureContext{operations, state, lstProjectList, lstTopicList, lstFileList, commands, *this,
                          platform, ui, clock, undo, *navigation_, *sorting_, store};
}

void MainForm::setCaption(const QString &caption)
{
    if (caption_ == caption)
        return;
    caption_ = caption;
    changed(Change::Caption);
}

void MainForm::setLabels(const QString &projects, const QString &topics, const QString &files)
{
    lblProjectList = projects;
    lblTopicList = topics;
    lblFileList = files;
    changed(Change::Labels);
}

void MainForm::setOptOpen(bool open)
{
    optOpen_ = open;
    changed(Change::Options);
}

void MainForm::setGeometry(const WindowGeometry &g)
{
    geometry_ = g;
    if (windowState_ == WindowState::Normal)
        normalGeometry_ = g;
    changed(Change::Geometry);
}

void MainForm::windowMoved(const WindowGeometry &g)
{
    geometry_ = g;
    if (windowState_ == WindowState::Normal)
        normalGeometry_ = g;
}

void MainForm::setWindowState(WindowState s)
{
    if (windowState_ == s)
        return;
    windowState_ = s;
    if (s == WindowState::Normal)
        geometry_ = normalGeometry_;
    changed(Change::WindowState);
}

void MainForm::windowStateChanged(WindowState s)
{
    windowState_ = s;
}

void MainForm::setEnabled(bool on)
{
    if (enabled_ == on)
        return;
    enabled_ = on;
    changed(Change::Enabled);
}

ListControl *MainForm::focusedList()
{
    for (ListControl *list : {&lstProjectList, &lstTopicList, &lstFileList}) {
        if (list->hasFocus())
            return list;
    }
    return nullptr;
}

void MainForm::giveFocus(ListControl *list)
{
    for (ListControl *other : {&lstProjectList, &lstTopicList, &lstFileList}) {
        if (other != list && other->hasFocus())
            other->setHasFocus(false);
    }
    if (list) {
        list->setHasFocus(true);
        list->setFocus();
    }
    changed(Change::Focus);
}

ScreenAreas MainForm::screenAreas() const
{
    return screens.empty() ? ScreenAreas{{0, 0, screenWidth, screenHeight}} : screens;
}

void MainForm::Form_Resize()
{
    if (state.ClosingDown)
        return;
    if (windowState_ == WindowState::Normal) {
        // A screen smaller than the minimum (a laptop at double scale) caps it: a window is never
        // larger than its screen.
        const ScreenAreas areas = screenAreas();
        const TwipsRect &room = areas[size_t(std::max(0, landingScreen(geometry_, areas)))];
        const float minWidth = std::min(MainLayout::MinWidth, room.width);
        const float minHeight = std::min(MainLayout::MinHeight, room.height);
        WindowGeometry g = geometry_;
        // The width is tested again on the resize that a change of the height causes.
        for (int pass = 0; pass < 2; ++pass) {
            if (g.height >= minHeight && g.width < minWidth)
                g.width = minWidth;
            if (g.height < minHeight)
                g.height = minHeight;
        }
        if (!(g == geometry_))
            setGeometry(g);
    }
    // The size the window has now, which a snap above (and the resizes it caused) decided.
    layout_ = MainLayout::compute(geometry_.width, geometry_.height);
    for (ListControl *list : {&lstProjectList, &lstTopicList, &lstFileList})
        list->setColWidth(0, layout_.lists[0].width);
    changed(Change::Layout);
}

// --- life cycle ---

void MainForm::WriteManifest(const QString &executableName) const
{
    const QString path = state.ProgramFolder + u'/' + executableName + QStringLiteral(".exe.Manifest");
    if (QFile::exists(path))
        return;
    const QStringList lines = {
        QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"),
        QStringLiteral(R"(<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">)"),
        QStringLiteral(R"(<assemblyIdentity version="1.0.0.0" processorArchitecture="x86" name="prjThemed" type="Win32" />)"),
        QStringLiteral("<dependency>"),
        QStringLiteral("<dependentAssembly>"),
        QStringLiteral(R"(<assemblyIdentity type="Win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="x86" publicKeyToken="6595b64144ccf1df" language="*" />)"),
        QStringLiteral("</dependentAssembly>"),
        QStringLiteral("</dependency>"),
        QStringLiteral("</assembly>"),
    };
    // Nothing to do when it cannot be written: a missing manifest is written at the next start.
    static_cast<void>(saveLines(store, path, lines));
}

void MainForm::Form_Load()
{
    state.StartupInProgress = true;
    state.IniFile = state.ProgramFolder + QStringLiteral("/Corvanta.Ini");
#ifdef Q_OS_WIN
    WriteManifest(QStringLiteral("corvanta"));
#endif
    LoadSettings(*this);
    // Also when the settings stopped early at a bad value.
    setGeometry(placedOnScreen(*this, geometry_));
    QDir(state.ProgramFolder).mkpath(QStringLiteral("Projects"));
    lstFileList.setColHide(1, true);
    ui.pumpEvents();
    visible_ = true;
    changed(Change::Visible);
    setEnabled(false);
    navigation_->LoadEntryScreen();
    state.StartupInProgress = false;
    state.SuppressListClick = false;
    sorting_->setSortMenuChecks();
    setEnabled(true);
    if (lastPlace_)
        operations.perform([this] { lastPlace_->reopenLastPlace(); });
    if (state.DisplayStartupWindow && startupWindows_) {
        StartupWindow window(store, state, ui);
        window.Form_Load();
        startupWindows_->showStartupWindow(window);
        if (window.userManualRequested())
            run(QStringLiteral("ShowGettingStartedHelp"));
    }
}

void MainForm::storeOptionsAndGeometry()
{
    const QString option = QStringLiteral("Option");
    const QString screen = QStringLiteral("Screen");
    auto flagText = [](bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); };

    lstFileList.clear();
    lstTopicList.clear();
    lstProjectList.clear();
    auto store = [&](const QString &section, const QString &key, const QString &value) {
        writeSetting(this->store, state, ui, section, key, value);
    };
    store(option, QStringLiteral("Open"), flagText(optOpen_));
    // The editor stores this choice when it is clicked; "Cancel All Selections" leaves the state
    // false without choosing append, so shut-down repeats what is stored.
    const QString insertName = QStringLiteral("InsertName");
    store(option, insertName, flagText(ReadIniString(this->store, state.IniFile, option, insertName, QString()) == u"True"));

    const WindowGeometry g = geometry_;
    const float height = std::min(g.height, screenHeight - 400);
    store(screen, QStringLiteral("Height"), formatSingle(height));
    const float width = std::min(g.width, screenWidth);
    store(screen, QStringLiteral("Width"), formatSingle(width));
    float top = g.top;
    if (top >= 0 && top > screenHeight - g.height)
        top = screenHeight - g.height - 500;
    if (top < 0)
        top = 0;
    store(screen, QStringLiteral("Top"), formatSingle(top));
    store(screen, QStringLiteral("Left"), formatSingle(std::max(g.left, 0.0f)));
}

void MainForm::Form_Unload()
{
    if (!state.ClosingDown && lastPlace_) // while the lists still show it
        operations.perform([this] { lastPlace_->storeLastPlace(); });
    storeOptionsAndGeometry();
    state.ClosingDown = true;
    if (windowState_ == WindowState::Maximised) {
        setWindowState(WindowState::Normal);
    } else if (windowState_ == WindowState::Minimised) {
        // Store the restored geometry, not the minimised one: run the sequence again.
        setWindowState(WindowState::Normal);
        Form_Unload();
        return;
    }
    closingAnimation();
    finished_ = true;
    changed(Change::Quit);
}

void MainForm::closingAnimation()
{
    for (int step = 1; step <= 75; ++step) {
        WindowGeometry g = geometry_;
        // Each value is set on its own; one the window cannot take is skipped.
        if (g.width - 300 > 0)
            g.width -= 300;
        g.left += 150;
        if (g.height - 300 > 0)
            g.height -= 300;
        g.top += 150;
        setGeometry(g);
        ui.pumpEvents();
        clock.pause(4);
    }
}

void MainForm::closeMainWindow()
{
    if (unloading_)
        return;
    unloading_ = true;
    Form_Unload();
}

// --- command surface ---

void MainForm::ShowHotKeyList()
{
    ui.msgBox(hotKeyListText(), hotKeyListTitle(), MsgBox::OkOnly | MsgBox::Information);
}

void MainForm::registerFrameOperations()
{
    registerOperation(QStringLiteral("LoadEntryScreen"), [this] { navigation_->LoadEntryScreen(); });
    registerOperation(QStringLiteral("ShowHotKeyList"), [this] { ShowHotKeyList(); });
    registerOperation(QStringLiteral("mnuReturnToEntryScreen"), [this] { navigation_->LoadEntryScreen(); });
    registerOperation(QStringLiteral("mnuExitProgram"), [this] { closeMainWindow(); });
    registerOperation(QStringLiteral("mnuHotKeys"), [this] { ShowHotKeyList(); });
    registerOperation(QStringLiteral("mnuOpenProject"), [this] { navigation_->lstProjectList_DblClick(); });
    registerOperation(QStringLiteral("ResetWindowToDefault"), [this] { ResetWindowToDefault(); });
    registerOperation(QStringLiteral("mnuResizeWindow"), [this] { ResetWindowToDefault(); });
    registerOperation(QStringLiteral("toolbar:DefaultScreen"), [this] { ResetWindowToDefault(); });
    registerOperation(QStringLiteral("ChangeUserName"), [this] { ChangeUserName(); });
    registerOperation(QStringLiteral("mnuChangeName"), [this] { ChangeUserName(); });
    registerOperation(QStringLiteral("toolbar:EntryScreen"), [this] { navigation_->LoadEntryScreen(); });
    registerOperation(QStringLiteral("toolbar:HotKeys"), [this] { ShowHotKeyList(); });
    // A popup's title row is a menu item like the others, and does nothing.
    for (const char *title : {"mnuPopupMenuTitle", "mnuTopicPopupTitle", "mnuPopupMenu2Title"})
        registerOperation(QString::fromLatin1(title), [] {});
}

void MainForm::Form_KeyDown(int &keyCode, int shift)
{
    if (state.ListLoading) {
        keyCode = 0;
        return;
    }
    const bool plain = (shift & (Key::ShiftMask | Key::CtrlMask | Key::AltMask)) == 0;
    // The operation each function key runs; F9, F11 and F12 act only without modifiers.
    static const std::map<int, const char *> operations = {
        {Key::F1, "ShowHelpTopics"},      {Key::F2, "CreateNewProject"}, {Key::F3, "EditFileData"},
        {Key::F4, "LoadEntryScreen"},     {Key::F5, "ResetWindowToDefault"},
        {Key::F6, "AddFileToFileList"},   {Key::F7, "AddWebsite"},       {Key::F8, "AddEmailAddress"},
        {Key::F9, "OpenGlobalFileSearch"}, {Key::F11, "ShowHotKeyList"}, {Key::F12, "ChangeUserName"},
    };
    if (keyCode == Key::Escape) {
        keyCode = 0;
        closeMainWindow();
        return;
    }
    const auto it = operations.find(keyCode);
    if (it == operations.end())
        return;
    const int key = keyCode;
    keyCode = 0;
    if (key == Key::F12 && (shift & Key::CtrlMask)) {
        run(QStringLiteral("StartCommandPrompt"));
        return;
    }
    if ((key == Key::F9 || key == Key::F11 || key == Key::F12) && !plain)
        return;
    run(QString::fromLatin1(it->second));
}

void MainForm::menuClick(const QString &item) { run(item); }

void MainForm::toolbarButtonClick(const QString &key) { run(QStringLiteral("toolbar:") + key); }

void MainForm::toolbarEntryClick(const QString &entry) { run(QStringLiteral("entry:") + entry); }

void MainForm::menuAboutToShow(const QString &menuName)
{
    if (menuName == u"mnuPopupFiles") {
        lstProjectList.deselectAll();
        giveFocus(&lstFileList);
    } else if (menuName == u"mnuPopupList") {
        lstFileList.deselectAll();
        lstTopicList.deselectAll();
        giveFocus(&lstProjectList);
    } else if (menuName == u"mnuSortTopicList") {
        lstProjectList.deselectAll();
        lstFileList.deselectAll();
        giveFocus(&lstTopicList);
    }
}

void MainForm::stbMain_MouseDown(int button) { lastStatusBarButton_ = button; }

void MainForm::stbMain_PanelClick(int panel)
{
    if (panel == 7 && lastStatusBarButton_ == Mouse::Right)
        ChangeUserName();
}

void MainForm::stbMain_PanelDblClick(int panel)
{
    if (panel == 7)
        ChangeUserName();
    else if (panel >= 3 && panel <= 6)
        run(QStringLiteral("ToggleLockKey") + QString::number(panel));
}

bool MainForm::hasDefaultGeometry(const WindowGeometry &g, float screenWidth)
{
    const long sw = std::lround(screenWidth);
    const long w = std::lround(g.width);
    return g.top <= 410 && g.left == float((sw - w) / 2) && w == std::lround(screenWidth * 0.75)
        && g.height == 6500;
}

void MainForm::ResetWindowToDefault()
{
    if (!state.StartupInProgress) {
        if (hasDefaultGeometry(geometry_, screenWidth)) {
            ui.msgBox(QStringLiteral("The Program Window is Already Set to Default Size and Location.     "),
                      QStringLiteral(" Set Default Program Window Size and Location"),
                      MsgBox::OkOnly | MsgBox::Information);
            return;
        }
        const int answer = ui.msgBox(QStringLiteral("Do You Want To Reset The Window To     \r"
                                                    "The Default Size and Location?\r"),
                                     QStringLiteral(" Reset Program Window"), MsgBox::YesNo | MsgBox::Question);
        if (answer != MsgBox::Yes)
            return;
    }
    if (windowState_ == WindowState::Maximised)
        setWindowState(WindowState::Normal);
    WindowGeometry g;
    g.top = 400;
    g.height = 6500;
    g.width = screenWidth * 0.75f;
    g.left = (screenWidth - g.width) / 2;
    setGeometry(g);
    Form_Resize();
}

void MainForm::ChangeUserName()
{
    PromptUserName(*this);
    commands.setPanelText(7, u' ' + state.UserName);
}

} // namespace corvanta
