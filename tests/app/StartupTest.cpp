#include "app/IniFile.h"
#include "app/ScreenPlacement.h"
#include "app/Settings.h"
#include "app/StartupWindow.h"
#include "editor/PointerEditor.h"
#include "filelist/FileListCommands.h"
#include "support/FormFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
        {"Left", "1e40", {3600, 800, 12000, 7000}},
        {"Top", "2e9", {1000, 3100, 12000, 7000}},
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

// Enter closes the window and other keys pass; the check box decides whether it comes back.
TEST_F(StartupTest, gettingStarted_checkBoxDecidesWhetherItComesBack)
{
    SharedState state;
    state.IniFile = data.file(u"Corvanta.Ini"_s);
    for (const auto &[key, hide] : {std::pair(13, true), {65, false}}) {
        StartupWindow window(store(), state, ui);
        window.Form_Load();
        EXPECT_TRUE(window.lblGettingStarted.endsWith(u"option\r"_s));
        int pressed = key;
        window.Form_KeyDown(pressed);
        EXPECT_EQ(pressed, key == 13 ? 0 : key);
        EXPECT_EQ(window.closed(), key == 13);
        window.chkHideWindow = hide;
        window.Form_Unload();
        EXPECT_EQ(ini(u"Startup Window"_s, u"Display Window"_s), hide ? u"False"_s : u"True"_s);
    }
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

// A screen of w x h pixels at a scale factor, in twips (15 to a logical pixel).
TwipsRect screen(float x, float y, float w, float h, float scale = 1)
{
    const float t = 15 / scale;
    return {x * t, y * t, w * t, h * t};
}

TEST(ScreenPlacement, storedGeometryLandsWhollyOnItsScreenAtScaleOneAndTwo)
{
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char *what;
        ScreenAreas screens;
        WindowGeometry stored;
        WindowGeometry placed;
    };
    const Case cases[] = {
        {"on the screen: untouched", {screen(0, 0, 1600, 1200)}, {900, 600, 10250, 6500},
         {900, 600, 10250, 6500}},
        {"stored at scale 1, read at scale 2: pulled back from the right and lower edges",
         {screen(0, 0, 1600, 1200, 2)}, {9000, 6000, 10250, 6500}, {1750, 2500, 10250, 6500}},
        {"larger than the scaled screen: cut to it", {screen(0, 0, 1600, 1200, 2)},
         {0, 0, 19200, 14000}, {0, 0, 12000, 9000}},
        {"a panel at the top: below it", {{0, 600, 24000, 17400}}, {300, 0, 10250, 6500},
         {300, 600, 10250, 6500}},
        {"left beyond every screen: the default", {screen(0, 0, 1600, 1200)},
         {2147483647.0f, 600, 10250, 6500}, {-1, 600, 10250, 6500}},
        {"top beyond every screen: the default", {screen(0, 0, 1600, 1200)},
         {900, 2e9f, 10250, 6500}, {900, -2, 10250, 6500}},
        {"too large for a number: the default and the screen's width", {screen(0, 0, 1600, 1200)},
         {inf, inf, 1e30f, 6500}, {0, -2, 24000, 6500}},
        {"on the second of two screens: stays there", {screen(0, 0, 1600, 1200), screen(1600, 0, 1280, 1024)},
         {30000, 900, 10250, 6500}, {30000, 900, 10250, 6500}},
        {"hanging off the second screen's foot: moved up on it",
         {screen(0, 0, 1600, 1200), screen(1600, 0, 1280, 1024)}, {30000, 12000, 10250, 6500},
         {30000, 15360 - 6500, 10250, 6500}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        WindowGeometry expected = c.placed;
        // -1 and -2 stand for the default left and top handed in.
        if (expected.left == -1)
            expected.left = 4321;
        if (expected.top == -2)
            expected.top = 1234;
        EXPECT_EQ(placeOnScreens(c.stored, c.screens, 4321, 1234), expected);
    }
}

TEST(ScreenPlacement, theScreenOverlappedMostIsTheOneLandedOn)
{
    const ScreenAreas two = {screen(0, 0, 1600, 1200), screen(1600, 0, 1600, 1200)};
    EXPECT_EQ(landingScreen({20000, 0, 10000, 5000}, two), 1); // 4000 on the first, 6000 on the second
    EXPECT_EQ(landingScreen({18000, 0, 10000, 5000}, two), 0);
    EXPECT_EQ(landingScreen({-90000, -90000, 100, 100}, two), 0); // nowhere: the primary
    EXPECT_EQ(landingScreen({0, 0, 100, 100}, {}), -1);
}

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    mutable Store store;
    QString ini = dir.filePath(u"Corvanta.Ini"_s);

    void write(const QByteArray &bytes) const { test::writeBytes(ini, bytes); }
    QByteArray bytes() const { return test::bytesOf(ini); }

    QString read(const QString &section, const QString &key) const
    {
        return ReadIniString(store, ini, section, key, u"dflt"_s);
    }
};

// Names ignore case, values are trimmed, a Windows-1252 file decodes, a long value is cut to
// 254 characters; a missing file, section or key gives the default.
TEST_F(IniFileTest, read_findsTheKeyOrGivesTheDefault)
{
    const QByteArray hand = "; settings\n[ project list ]\n  Font Name =  Courier New  \r\n[Screen]\rheight=-60\r\n";
    const struct {
        QByteArray bytes; // none: no file
        QString section, key, value;
    } cases[] = {
        {{}, u"Screen"_s, u"Height"_s, u"dflt"_s},
        {hand, u"User"_s, u"Height"_s, u"dflt"_s},
        {hand, u"Screen"_s, u"Font Name"_s, u"dflt"_s},
        {hand, u"Project List"_s, u"FONT NAME"_s, u"Courier New"_s},
        {hand, u"SCREEN"_s, u"Height"_s, u"-60"_s},
        {"[User]\r\nName=Ren\xE9 \x80\r\n", u"user"_s, u"name"_s, u"René €"_s},
        {"[User]\r\nName=" + QByteArray(300, 'x') + "\r\n", u"User"_s, u"Name"_s, QString(254, u'x')},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        QFile::remove(ini);
        if (!c.bytes.isEmpty())
            write(c.bytes);
        EXPECT_EQ(read(c.section, c.key), c.value);
    }
}

// A key is replaced in place, other lines untouched; a missing file, section or key is created;
// line breaks in a value are stored as spaces.
TEST_F(IniFileTest, write_replacesInPlaceCreatesWhatIsMissingAndKeepsOneLine)
{
    write("; comment\r\n[Screen]\r\nHeight=6000\r\nWidth = 9708\r\n\r\n[File List]\r\nWidth=1\r\n");
    EXPECT_TRUE(WriteIniString(store, ini, u"screen"_s, u"WIDTH"_s, u"5000"_s));
    EXPECT_EQ(bytes(), "; comment\r\n[Screen]\r\nHeight=6000\r\nWidth=5000\r\n\r\n[File List]\r\nWidth=1\r\n");
    QFile::remove(ini);
    EXPECT_TRUE(WriteIniString(store, ini, u"Screen"_s, u"Height"_s, u"6000"_s));
    EXPECT_EQ(bytes(), "[Screen]\r\nHeight=6000\r\n");

    write("[Screen]\r\nHeight=6000\r\n\r\n[User]\r\nName=Al\r\n");
    EXPECT_TRUE(WriteIniString(store, ini, u"SCREEN"_s, u"Width"_s, u"9708"_s));
    EXPECT_TRUE(WriteIniString(store, ini, u"Option"_s, u"Open"_s, u"True"_s));
    EXPECT_EQ(bytes(), "[Screen]\r\nHeight=6000\r\nWidth=9708\r\n\r\n[User]\r\nName=Al\r\n"
                       "[Option]\r\nOpen=True\r\n");
    EXPECT_EQ(read(u"option"_s, u"open"_s), u"True"_s);
    QFile::remove(ini);
    EXPECT_TRUE(WriteIniString(store, ini, u"User"_s, u"Name"_s, u"Ann\r\nLee\rX\nY"_s));
    EXPECT_EQ(read(u"User"_s, u"Name"_s), u"Ann  Lee X Y"_s);
    EXPECT_EQ(bytes(), "[User]\r\nName=Ann  Lee X Y\r\n");
}

} // namespace
} // namespace corvanta::test
