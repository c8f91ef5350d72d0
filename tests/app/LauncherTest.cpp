#include "support/DataBuilder.h"
#include "support/FormFixture.h"

#include "app/Launcher.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"

namespace corvanta::test {
namespace {

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
    for (int result : {26, 27, 30, 32, 42})
        EXPECT_TRUE(Launcher::launchMessage(result).isEmpty()) << result;
    shell.defaultResult = 32;
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
        {"mnuWrite", {u"libreoffice"_s}, {}, u"libreoffice"_s, {u"--writer"_s}},
        {"mnuTaskManager", {u"x-terminal-emulator"_s}, {}, u"x-terminal-emulator"_s, {u"-e"_s, u"top"_s}},
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
