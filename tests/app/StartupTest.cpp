#include "app/Settings.h"
#include "app/StartupWindow.h"
#include "editor/PointerEditor.h"
#include "filelist/FileListCommands.h"
#include "support/FormFixture.h"

#include <QDir>

namespace corvanta::test {
namespace {

class StartupTest : public FormFixture {
protected:
    void startPlaced()
    {
        start();
        form->setGeometry({1000, 800, 12000, 7000});
    }
};

TEST_F(StartupTest, firstStartInEmptyFolder_asksNameFirstAndShowsEmptyEntryScreen)
{
    ui.typed.push_back(u"Ann"_s);
    make();
    // The name box comes while the window is still hidden.
    bool askedBeforeShown = false;
    form->onChanged = [&](MainForm::Change c) {
        if (c == MainForm::Change::Visible)
            askedBeforeShown = !ui.inputs.empty();
    };
    form->Form_Load();

    EXPECT_TRUE(askedBeforeShown);
    ASSERT_EQ(ui.inputs.size(), 1u);
    EXPECT_EQ(ui.inputs[0].title, u" Input Name"_s);
    EXPECT_EQ(ui.inputs[0].prompt, u"Input Your Name. \r(30 Characters Maximum)\rPress Spacebar And Click OK To Leave Blank."_s);
    EXPECT_TRUE(QFileInfo(data.file(u"Projects"_s)).isDir());
    EXPECT_EQ(rows(projects()), QStringList{u" "_s});
    EXPECT_EQ(rows(topics()), QStringList{u" ..."_s});
    EXPECT_EQ(files().ListCount(), 0);
    EXPECT_EQ(ui.startupWindows, 1);
    EXPECT_FALSE(form->state.StartupInProgress);

    // The settings file holds the name and the twelve font keys, nothing else yet.
    const QString ini = QString::fromUtf8(data.read(u"Corvanta.Ini"_s));
    EXPECT_EQ(ini,
              u"[User]\r\nName=Ann\r\n"
              "[Project List]\r\nFont Name=MS Sans Serif\r\nFont Size=10\r\nFont Bold=False\r\nFont Italic=False\r\n"
              "[Topic List]\r\nFont Name=MS Sans Serif\r\nFont Size=10\r\nFont Bold=False\r\nFont Italic=False\r\n"
              "[File List]\r\nFont Name=MS Sans Serif\r\nFont Size=10\r\nFont Bold=False\r\nFont Italic=False\r\n"_s);
}

TEST_F(StartupTest, namePrompt_spaceMeansBlankCancelAsksAgainOtherTextIsKept)
{
    setIni(u"Startup Window"_s, u"Display Window"_s, u"False"_s);
    ui.typed.push_back(u" "_s);
    start(false);
    EXPECT_EQ(ini(u"User"_s, u"Name"_s), u"blank"_s);
    EXPECT_EQ(form->state.UserName, QString());
    EXPECT_EQ(form->commands.panels()[6].text, u" "_s);

    // A stored "blank" is not asked again.
    ui.inputs.clear();
    start(false);
    EXPECT_TRUE(ui.inputs.empty());

    // Two spaces are a name of their own; cancelling keeps the previous name.
    ui.typed.push_back(u"  "_s);
    PromptUserName(*form);
    EXPECT_TRUE(data.read(u"Corvanta.Ini"_s).contains("Name=  \r\n"));
    ui.typed.push_back(QString());
    PromptUserName(*form);
    EXPECT_EQ(form->state.UserName, u"  "_s);

    // Cancelled at start: "" is stored and the next start asks again.
    setIni(u"User"_s, u"Name"_s, QString());
    ui.inputs.clear();
    start(false);
    ASSERT_EQ(ui.inputs.size(), 1u);
    EXPECT_EQ(ini(u"User"_s, u"Name"_s), QString());
    ui.inputs.clear();
    start(false);
    EXPECT_EQ(ui.inputs.size(), 1u);
}

TEST_F(StartupTest, absurdGeometry_givesWayToTheDefaultsWhichAreStoredAtExit)
{
    // On the 19200 x 14400 screen a 12000 x 7000 window's default place is 3600, 3100.
    struct Case {
        const char *key;
        const char *value;
        WindowGeometry placed;
    };
    const Case cases[] = {
        {"Left", "2147483647", {3600, 800, 12000, 7000}},
        {"Left", "1e40", {3600, 800, 12000, 7000}},
        {"Top", "2e9", {1000, 3100, 12000, 7000}},
        {"Top", "1e30", {1000, 3100, 12000, 7000}},
        {"Height", "-7000", {1000, 800, 12000, 6000}},
        {"Left", "19000", {7200, 800, 12000, 7000}}, // on the screen, but not all of the window
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        setIni(u"Screen"_s, u"Height"_s, u"7000"_s);
        setIni(u"Screen"_s, u"Width"_s, u"12000"_s);
        setIni(u"Screen"_s, u"Top"_s, u"800"_s);
        setIni(u"Screen"_s, u"Left"_s, u"1000"_s);
        setIni(u"Screen"_s, QString::fromLatin1(c.key), QString::fromLatin1(c.value));
        start();
        EXPECT_EQ(form->geometry(), c.placed);
        EXPECT_EQ(form->state.UserName, u"Tester"_s); // the settings after it were read
        form->closeMainWindow();
        EXPECT_EQ(ini(u"Screen"_s, u"Left"_s), QString::number(c.placed.left));
        EXPECT_EQ(ini(u"Screen"_s, u"Top"_s), QString::number(c.placed.top));
    }
}

TEST_F(StartupTest, unreadableSetting_stopsReadingButStartupGoesOn)
{
    setIni(u"Project List"_s, u"Font Size"_s, u"large"_s);
    setIni(u"Project List"_s, u"Sort"_s, u"ascend"_s);
    setIni(u"Project List"_s, u"Font Name"_s, u"DejaVu Sans"_s);
    start(false);
    ui.typed.clear();
    // Settings before the bad key applied, the ones after it kept their first values.
    EXPECT_EQ(projects().font().name, u"DejaVu Sans"_s);
    EXPECT_EQ(form->state.ProjectSort, SortOrder::Unknown);
    EXPECT_FALSE(form->state.DisplayStartupWindow);
    EXPECT_EQ(ui.startupWindows, 0);
    EXPECT_FALSE(form->commands.item(u"mnuSortNoSortProjects"_s)->checked);
    EXPECT_EQ(rows(topics()), QStringList{u" ..."_s});
}

// Stored sort states, grid lines and fonts reach the lists and their check marks; an unknown
// sort leaves no item checked rather than a wrong one.
TEST_F(StartupTest, sortStates_checkTheirMenuItemsAndUnknownLeavesNone)
{
    setIni(u"Project List"_s, u"Sort"_s, u"ascend"_s);
    setIni(u"File List"_s, u"Sort"_s, u"sideways"_s);
    setIni(u"Topic List"_s, u"DisplayLines"_s, u"False"_s);
    setIni(u"File List"_s, u"Font Size"_s, u"12"_s);
    setIni(u"File List"_s, u"Font Bold"_s, u"True"_s);
    setIni(u"File List"_s, u"Font Italic"_s, u"-1"_s);
    start();
    const auto checked = [this](const char *item) { return form->commands.item(QString::fromLatin1(item))->checked; };
    EXPECT_TRUE(checked("mnuSortAscendingProjects") && checked("mnuTopicNoSort"));
    for (const char *item : {"mnuSortNoSortFiles", "mnuSortAscendingFiles", "mnuSortDescendingFiles"})
        EXPECT_FALSE(checked(item)) << item;
    EXPECT_EQ(topics().gridLines(), GridLines::Hidden);
    EXPECT_FALSE(checked("mnuTopicPopupDislplayLinesInTopicList2"));
    EXPECT_EQ(files().font().size, 12);
    EXPECT_TRUE(files().font().bold && files().font().italic);
}

TEST_F(StartupTest, gettingStarted_checkBoxDecidesWhetherItComesBack)
{
    SharedState state;
    state.IniFile = data.file(u"Corvanta.Ini"_s);
    StartupWindow window(store(), state, ui);
    window.Form_Load();
    EXPECT_TRUE(window.lblGettingStarted.endsWith(u"option\r"_s));
    int key = 13;
    window.Form_KeyDown(key);
    EXPECT_EQ(key, 0);
    EXPECT_TRUE(window.closed());
    window.chkHideWindow = true;
    window.Form_Unload();
    EXPECT_EQ(ini(u"Startup Window"_s, u"Display Window"_s), u"False"_s);

    StartupWindow again(store(), state, ui);
    int other = 65;
    again.Form_KeyDown(other);
    EXPECT_EQ(other, 65);
    EXPECT_FALSE(again.closed());
    again.Form_Unload();
    EXPECT_EQ(ini(u"Startup Window"_s, u"Display Window"_s), u"True"_s);
}

// The geometry stored at shut-down: as shown, restored when minimised, clamped to the screen
// when maximised, and 500 higher when the bottom edge is off the screen.
TEST_F(StartupTest, close_storesTheGeometryOnTheScreen)
{
    struct Case {
        WindowState state;
        WindowGeometry reported;
        QStringList stored; // Height, Width, Top, Left
    };
    const Case cases[] = {
        {WindowState::Normal, {1000, 800, 12000, 7000}, {u"7000"_s, u"12000"_s, u"800"_s, u"1000"_s}},
        {WindowState::Minimised, {-48000, -48000, 2400, 420}, {u"7000"_s, u"12000"_s, u"800"_s, u"1000"_s}},
        {WindowState::Maximised, {-60, -60, 19320, 14520}, {u"14000"_s, u"19200"_s, u"0"_s, u"0"_s}},
        {WindowState::Normal, {1000, 9000, 12000, 7000}, {u"7000"_s, u"12000"_s, u"6900"_s, u"1000"_s}},
    };
    for (const Case &c : cases) {
        startPlaced();
        if (c.state != WindowState::Normal)
            form->windowStateChanged(c.state);
        form->windowMoved(c.reported);
        form->closeMainWindow();
        QStringList stored;
        for (const char *key : {"Height", "Width", "Top", "Left"})
            stored << ini(u"Screen"_s, QString::fromLatin1(key));
        EXPECT_EQ(stored, c.stored);
    }
}

// Shut-down stores the options once and repeats the stored insert choice: "Cancel All
// Selections" does not change it.
TEST_F(StartupTest, close_storesOptionsOnceRepeatingTheStoredInsertChoice)
{
    startPlaced();
    setIni(u"Option"_s, u"InsertName"_s, u"True"_s);
    ui.onPointerEditor = [](PointerEditor &e) {
        e.optCancelAll_Click();
        e.cmdExit_Click();
    };
    program->fileListCommands().addDroppedFiles({u"/a"_s, u"/b"_s}, -1);
    ASSERT_EQ(ui.pointerEditors, 1);
    form->setOptOpen(false);
    form->closeMainWindow();
    EXPECT_EQ(ini(u"Option"_s, u"Open"_s), u"False"_s);
    EXPECT_EQ(ini(u"Option"_s, u"InsertName"_s), u"True"_s);
    EXPECT_TRUE(form->state.ClosingDown);
    setIni(u"Screen"_s, u"Height"_s, u"1"_s);
    form->closeMainWindow();
    EXPECT_EQ(ini(u"Screen"_s, u"Height"_s), u"1"_s);
}

} // namespace
} // namespace corvanta::test
