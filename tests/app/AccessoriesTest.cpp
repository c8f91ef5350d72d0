// The Help and Tools menus' accessories through the fakes: the help documents and their links,
// the website and support address, the lock-key panels, and the launcher that starts targets and
// tools.
#include "support/DataBuilder.h"
#include "support/FakeKeyboard.h"
#include "support/FormFixture.h"

#include "app/Help.h"
#include "app/Launcher.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"

#include <QDir>
#include <QFile>

namespace corvanta::test {
namespace {

const QString website = u"https://corvanta.example.org/"_s;

class AccessoriesTest : public FormFixture
{
protected:
    FakeKeyboard keyboard;
    Platform platform() override
    {
        return Platform{.ui = ui, .clock = clock, .shell = &shell, .keyboard = &keyboard};
    }
    void SetUp() override { start(); }

    QString panel(int n) const { return form->commands.panels()[size_t(n - 1)].text; }
};

TEST_F(AccessoriesTest, websiteItemsOpenIt_missingHelpDocumentsExplainAndOpenItOnlyOnYes)
{
    const QString helpText = u"Cannot Find Corvanta.Hlp File\r\rPlease Download A New Help File From\r"
                             "https://corvanta.example.org/ \ror Copy Corvanta.Hlp & Corvanta.Cnt      \r"
                             "From Your Corvanta Installation CD\r\rDo You Want To Launch the Corvanta Website?\r"_s;
    const QString manualText = u"Cannot Find UserManual.Hlp File\r\rPlease Download A New Help File From\r"
                               "https://corvanta.example.org/download \ror Copy UserManual.Hlp From Your "
                               "Corvanta CD.     \r\rDo You Want To Launch the Corvanta Website?\r"_s;
    const struct
    {
        QString command;
        QString title;
        QString text; // without a box: the target
        int answer;
    } cases[] = {
        {u"mnuHelp"_s, u" Help File Missing"_s, helpText, MsgBox::No},
        {u"mnuGettingStarted"_s, u" Getting Started File Missing"_s, manualText, MsgBox::Yes},
        {u"entry:Help Topics"_s, u" Help File Missing"_s, helpText, MsgBox::No},
        // The website and the support address open through the launcher without a box.
        {u"mnuCorvantaWebsite"_s, {}, website, MsgBox::Yes},
        {u"entry:Corvanta Website"_s, {}, website, MsgBox::Yes},
        {u"mnuEmailTechSupport"_s, {}, u"mailto:support@corvanta.example.org"_s, MsgBox::Yes},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.command.toStdString());
        shell.calls.clear();
        ui.boxes.clear();
        ui.answers = {c.answer};
        form->menuClick(c.command);
        ASSERT_EQ(ui.boxes.size(), c.title.isEmpty() ? 0u : 1u);
        if (!c.title.isEmpty()) {
            EXPECT_EQ(ui.lastBox()->title, c.title);
            EXPECT_EQ(ui.lastBox()->text, c.text);
            EXPECT_EQ(ui.lastBox()->flags, MsgBox::YesNo | MsgBox::Exclamation);
        }
        const QString target = c.title.isEmpty() ? c.text : website;
        EXPECT_EQ(shell.targets(), c.answer == MsgBox::Yes ? QStringList{target} : QStringList());
        EXPECT_TRUE(ui.helpPages.empty());
    }
}

TEST_F(AccessoriesTest, gettingStartedWindow_opensTheManualOnlyFromItsButton)
{
    data.write(u"UserManual.Hlp"_s, "<html/>");
    for (const bool manual : {false, true}) {
        ui.helpPages.clear();
        ui.onStartupWindow = [manual](StartupWindow &window) {
            manual ? window.cmdUserManual_Click() : window.OKButton_Click();
        };
        setIni(u"Startup Window"_s, u"Display Window"_s, u"True"_s);
        make();
        form->Form_Load();
        EXPECT_GT(ui.startupWindows, 0);
        EXPECT_EQ(ui.helpPages.size(), manual ? 1u : 0u);
    }
}

// A document is found in the data folder, then installed, then beside the program; one too
// large to show is refused with a word, and the next place's copy is shown.
TEST_F(AccessoriesTest, helpDocuments_areFoundInDataFolderThenInstalledThenBesideTheProgram)
{
    TempFolder install;
    executableFolder = install.file(u"bin"_s);
    const QString places[] = {data.file(u"Corvanta.Hlp"_s), install.file(u"share/corvanta/Corvanta.Hlp"_s),
                              install.file(u"bin/Corvanta.Hlp"_s)};
    data.write(u"Corvanta.Hlp"_s, "");
    install.write(u"share/corvanta/Corvanta.Hlp"_s, "");
    install.write(u"bin/Corvanta.Hlp"_s, "");
    install.write(u"bin/UserManual.Hlp"_s, "<html/>");
    data.write(u"UserManual.Hlp"_s, "");
    ASSERT_TRUE(QFile::resize(data.file(u"UserManual.Hlp"_s), 5 * 1024 * 1024 + 1));
    start();
    for (const QString &place : places) {
        EXPECT_EQ(program->help().findHelpFile(u"Corvanta.Hlp"_s), place);
        QFile::remove(place);
    }
    // None left, and a folder of that name holds no document.
    QDir().mkpath(places[0]);
    EXPECT_EQ(program->help().findHelpFile(u"Corvanta.Hlp"_s), QString());

    form->menuClick(u"mnuGettingStarted"_s);
    expectBoxes(ui, {{u" Help File Too Large"_s, u"The Help File  ["_s + data.file(u"UserManual.Hlp"_s)
        + u"]  Is Larger Than 5 MB And Is Not Shown.     \r"_s}});
    ASSERT_EQ(ui.helpPages.size(), 1u);
    EXPECT_EQ(ui.helpPages[0].toLocalFile(), install.file(u"bin/UserManual.Hlp"_s));
    // 5 MB itself is shown.
    ASSERT_TRUE(QFile::resize(data.file(u"UserManual.Hlp"_s), 5 * 1024 * 1024));
    EXPECT_EQ(program->help().findHelpFile(u"UserManual.Hlp"_s), data.file(u"UserManual.Hlp"_s));
}

TEST_F(AccessoriesTest, linksOutsideTheHelpDocuments_goNowhere)
{
    data.write(u"Corvanta.Hlp"_s, "<html/>");
    data.write(u"notes.txt"_s, "private");
    form->menuClick(u"mnuHelp"_s);
    HelpWindow &window = program->help().window();
    const size_t pages = ui.helpPages.size();
    for (const QString &link : {u"notes.txt"_s, u"file:///etc/passwd"_s, u"../Corvanta.Hlp.bak"_s, u"ftp://x/y"_s})
        window.linkClicked(QUrl(link));
    EXPECT_EQ(ui.helpPages.size(), pages);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(ui.beeps, 4);
    // A link to the other document while it is missing explains, as its menu item does.
    ui.answers.push_back(MsgBox::No);
    window.linkClicked(QUrl(u"UserManual.Hlp#keys"_s));
    ASSERT_NE(ui.lastBox(), nullptr);
    EXPECT_EQ(ui.lastBox()->title, u" Getting Started File Missing"_s);
}

TEST_F(AccessoriesTest, helpWindowSize_isKeptWithinReason)
{
    const struct
    {
        QString width, height;
        int expectedWidth, expectedHeight;
    } cases[] = {
        {QString(), QString(), 10500, 9000},
        {u"12000"_s, u"8000"_s, 12000, 8000},
        {u"10"_s, u"8000"_s, 10500, 8000},
        {u"wide"_s, u"9999999"_s, 10500, 9000},
    };
    for (const auto &c : cases) {
        setIni(u"Help Window"_s, u"Width"_s, c.width);
        setIni(u"Help Window"_s, u"Height"_s, c.height);
        HelpWindow window(form->state, form->store, [](const QString &) { return QString(); },
                          [](const QString &, const QString &, const QString &) {});
        window.Form_Load();
        EXPECT_EQ(window.width(), c.expectedWidth) << c.width.toStdString();
        EXPECT_EQ(window.height(), c.expectedHeight) << c.height.toStdString();
    }
    HelpWindow &window = program->help().window();
    window.Form_Load();
    window.Form_Unload(11000, 7000);
    EXPECT_EQ(ini(u"Help Window"_s, u"Width"_s), u"11000"_s);
    EXPECT_EQ(ini(u"Help Window"_s, u"Height"_s), u"7000"_s);
    // A settings file that cannot be written is told, as for every other setting.
    ASSERT_TRUE(QFile::setPermissions(form->state.IniFile, QFile::ReadOwner));
    window.Form_Load();
    window.Form_Unload(12000, 8000);
    EXPECT_EQ(ui.titles(), QStringList{u" Settings Not Saved"_s});
}

TEST_F(AccessoriesTest, lockPanels_followTheKeyboardAndToggleOnDoubleClick)
{
    EXPECT_EQ(panel(3), QString());
    EXPECT_EQ(panel(4), u"NUM"_s);
    form->stbMain_PanelDblClick(3);
    EXPECT_EQ(panel(3), u"CAPS"_s);
    form->stbMain_PanelDblClick(3);
    EXPECT_EQ(panel(3), QString());
    EXPECT_FALSE(keyboard.states[LockKey::Caps]);
    EXPECT_EQ(keyboard.toggles, 2);

    // A change made outside the program.
    keyboard.set(LockKey::Scroll, true);
    EXPECT_EQ(panel(6), u"SCRL"_s);
    // The desktop has no Insert state: panel 5 stays empty and its double-click does nothing.
    form->stbMain_PanelDblClick(5);
    EXPECT_EQ(panel(5), QString());
    EXPECT_EQ(keyboard.toggles, 2);
}

class LauncherTest : public FormFixture
{
protected:

    void SetUp() override { start(); }
    Launcher launcher() { return Launcher(ui, &shell, form->state); }
};

// A document goes to the shell as a file in its folder (with its trailing slash), an address
// whole with no folder; a website stored without its scheme by an older version is still one,
// unless the data folder holds a file of that name. An empty target beeps; a missing file or
// folder is reported to the caller without a box.
TEST_F(LauncherTest, targets_reachTheShellAsFileInFolderOrWhole)
{
    using O = LaunchResult::Outcome;
    data.write(u"http-notes.txt"_s, "x");
    shell.results[u"/gone/a.txt"_s] = ShellResult::FileNotFound;
    shell.results[u"/gone/b.txt"_s] = ShellResult::PathNotFound;
    const struct {
        QString target, verb;
        O outcome;
        QString shellVerb, folder, file; // the shell's call; none when file is empty
    } cases[] = {
        {u"/home/u/Docs/Letter.doc"_s, u"print"_s, O::Started, u"print"_s, u"/home/u/Docs/"_s, u"Letter.doc"_s},
        {u"http://www.example.com/a/"_s, {}, O::Started, u"Open"_s, {}, u"http://www.example.com/a/"_s},
        {u"mailto:someone@example.com"_s, u"open"_s, O::Started, u"open"_s, {}, u"mailto:someone@example.com"_s},
        {u"httpbin.org/get"_s, u"open"_s, O::Started, u"open"_s, {}, u"http://httpbin.org/get"_s},
        {u"http-notes.txt"_s, u"open"_s, O::Started, u"open"_s, data.path() + u'/', u"http-notes.txt"_s},
        {{}, u"open"_s, O::Refused, {}, {}, {}},
        {u"   "_s, u"open"_s, O::Refused, {}, {}, {}},
        {u"/gone/a.txt"_s, u"open"_s, O::NotFound, u"open"_s, u"/gone/"_s, u"a.txt"_s},
        {u"/gone/b.txt"_s, u"open"_s, O::NotFound, u"open"_s, u"/gone/"_s, u"b.txt"_s},
    };
    int beeps = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        shell.calls.clear();
        EXPECT_EQ(launcher().LaunchTarget(c.target, c.verb).outcome, c.outcome);
        beeps += c.outcome == O::Refused;
        EXPECT_EQ(ui.beeps, beeps);
        ASSERT_EQ(shell.calls.size(), c.file.isEmpty() ? 0u : 1u);
        if (!c.file.isEmpty()) {
            EXPECT_EQ(shell.calls[0].verb, c.shellVerb);
            EXPECT_EQ(shell.calls[0].folder, c.folder);
            EXPECT_EQ(shell.calls[0].file, c.file);
            EXPECT_TRUE(shell.calls[0].parameters.isEmpty());
        }
    }
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(ui.busyDepth, 0);
}

// Failures show their text with five trailing spaces; some show nothing.
TEST_F(LauncherTest, failures_showLaunchErrorWithFiveTrailingSpaces)
{
    shell.defaultResult = 32; // shows nothing
    launcher().LaunchTarget(u"/home/u/a.txt"_s, u"open"_s);
    shell.defaultResult = 11;
    launcher().LaunchTarget(u"/bin/broken"_s, QString());
    ASSERT_TRUE(boxesShown(ui, {{u" Launch Error"_s, u"Executable file was invalid. Either it was "
        "not a Windows application or there was an error in the .EXE image.     "_s}}));
    EXPECT_EQ(ui.boxes[0].flags, MsgBox::OkOnly | MsgBox::Information);

    // The system's own reason replaces the classic text.
    shell.defaultResult = ShellResult::Failed;
    shell.reason = u"lp: Error - No default destination."_s;
    const LaunchResult failed = launcher().LaunchTarget(u"/home/u/a.txt"_s, u"print"_s);
    EXPECT_EQ(ui.lastBox()->text, u"lp: Error - No default destination.     "_s);
    EXPECT_EQ(failed.outcome, LaunchResult::Outcome::Failed);
    EXPECT_EQ(failed.status, ui.lastBox()->text);
}

// Without an application for it, the chooser opens on the pointer as written; the choice starts
// in the data folder with the full path (a relative one found there), or is reported when it
// will not start; a chooser cancelled starts nothing.
TEST_F(LauncherTest, noApplication_opensChooserAndStartsTheChoice)
{
    shell.defaultResult = ShellResult::NoAssociation;
    shell.refusing.insert(u"/usr/local/bin/viewer"_s);
    ui.programChoices = {u"\"/opt/My Viewer/view\" --new %f"_s, u"viewer %f"_s,
                         u"/usr/local/bin/viewer"_s};
    launcher().LaunchTarget(u"/home/u/data.xyz"_s, u"open"_s);
    launcher().LaunchTarget(u"notes/plan.xyz"_s, u"open"_s);
    EXPECT_EQ(shell.calls[1].folder, data.path() + u"/notes/"_s);
    EXPECT_TRUE(ui.boxes.empty());
    launcher().openWith(u"/home/u/a b.xyz"_s);
    launcher().LaunchTarget(u"/home/u/data.xyz"_s, u"open"_s);
    EXPECT_EQ(ui.chooserTargets, (std::vector<QString>{u"/home/u/data.xyz"_s, u"notes/plan.xyz"_s,
                                                       u"/home/u/a b.xyz"_s, u"/home/u/data.xyz"_s}));
    ASSERT_EQ(shell.starts.size(), 3u);
    EXPECT_EQ(shell.starts[0].program, u"/opt/My Viewer/view"_s);
    EXPECT_EQ(shell.starts[0].arguments, (QStringList{u"--new"_s, u"/home/u/data.xyz"_s}));
    EXPECT_EQ(shell.starts[1].arguments, QStringList{u"notes/plan.xyz"_s});
    EXPECT_EQ(shell.starts[1].folder, data.path());
    EXPECT_EQ(shell.starts[2].arguments, QStringList{u"/home/u/a b.xyz"_s});
    expectBoxes(ui, {{u" Launch Error"_s,
                      u"The Program  [/usr/local/bin/viewer]  Could Not Be Started.     "_s}});
}

// Each tool starts the first of its programs installed, with the arguments it needs; the file
// manager opens the data folder. Ctrl+F12 starts a terminal maximised there, falling back to the
// next when one will not start.
TEST_F(LauncherTest, toolsMenuAndCtrlF12_startTheFirstProgramThatStarts)
{
    const struct {
        const char *item; // nullptr: Ctrl+F12
        std::set<QString> installed, refusing;
        QString program;
        QStringList arguments;
    } cases[] = {
        {"mnuCalculator", {u"kcalc"_s, u"xcalc"_s}, {}, u"kcalc"_s, {}},
        {"mnuWindowsExplorer", {u"thunar"_s}, {}, u"thunar"_s, {data.path()}},
        {nullptr, {u"x-terminal-emulator"_s, u"xterm"_s}, {u"x-terminal-emulator"_s}, u"xterm"_s,
            {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.item ? c.item : "Ctrl+F12");
        shell.installed = c.installed;
        shell.refusing = c.refusing;
        shell.starts.clear();
        int key = Key::F12;
        if (c.item)
            form->menuClick(QString::fromLatin1(c.item));
        else
            form->Form_KeyDown(key, Key::CtrlMask);
        ASSERT_EQ(shell.starts.size(), c.refusing.size() + 1);
        EXPECT_EQ(shell.starts.back().program, c.program);
        EXPECT_EQ(shell.starts.back().arguments, c.arguments);
        EXPECT_EQ(shell.starts.back().style, c.item ? Shell::NormalFocus : Shell::MaximisedFocus);
    }
    EXPECT_EQ(shell.starts.back().folder, data.path());
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(LauncherTest, editFileList_opensEntryScreenFileInTheDefaultEditorFirst)
{
    shell.installed = {u"mousepad"_s, u"gedit"_s};
    shell.defaults[u"text/plain"_s] = u"mousepad %F"_s;
    form->menuClick(u"mnuEditFileList"_s);
    form->toolbarEntryClick(u"Edit Project List"_s);
    ASSERT_EQ(shell.starts.size(), 2u);
    EXPECT_EQ(shell.starts[0].program, u"mousepad"_s);
    EXPECT_EQ(shell.starts[0].arguments, QStringList {data.file(u"Project.Files"_s)});
    EXPECT_EQ(shell.starts[1].arguments, QStringList {data.file(u"Project.List"_s)});

    // Without a default editor the fixed list is tried; none found names the text editor.
    shell.defaults.clear();
    shell.installed.clear();
    form->toolbarEntryClick(u"Edit File List"_s);
    expectBoxes(ui, {{u" Program Not Found"_s, u"Corvanta Could Not Find A Program For Text Editor.     \r"
        "Looked For: gedit, gnome-text-editor, kate,..."_s}});
}

} // namespace
} // namespace corvanta::test
