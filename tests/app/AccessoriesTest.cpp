// The Help and Tools menus' accessories through the fakes: the help documents and their links,
// the website and support address and the lock-key panels.
#include "support/DataBuilder.h"
#include "support/FakeKeyboard.h"
#include "support/FormFixture.h"

#include "app/Help.h"

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

// A document too large to show is refused with a word, and the next place's copy is shown.
TEST_F(AccessoriesTest, oversizedHelpDocument_isRefusedAndTheNextPlaceIsUsed)
{
    TempFolder install;
    executableFolder = install.file(u"bin"_s);
    install.write(u"bin/UserManual.Hlp"_s, "<html/>");
    data.write(u"UserManual.Hlp"_s, "");
    ASSERT_TRUE(QFile::resize(data.file(u"UserManual.Hlp"_s), 5 * 1024 * 1024 + 1));
    start();
    form->menuClick(u"mnuGettingStarted"_s);
    expectBoxes(ui, {{u" Help File Too Large"_s, u"The Help File  ["_s + data.file(u"UserManual.Hlp"_s)
        + u"]  Is Larger Than 5 MB And Is Not Shown.     \r"_s}});
    ASSERT_EQ(ui.helpPages.size(), 1u);
    EXPECT_EQ(ui.helpPages[0].toLocalFile(), install.file(u"bin/UserManual.Hlp"_s));

    // 5 MB itself is shown.
    ASSERT_TRUE(QFile::resize(data.file(u"UserManual.Hlp"_s), 5 * 1024 * 1024));
    EXPECT_EQ(program->help().findHelpFile(u"UserManual.Hlp"_s), data.file(u"UserManual.Hlp"_s));
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

TEST_F(AccessoriesTest, helpDocuments_areFoundInDataFolderThenInstalledThenBesideTheProgram)
{
    TempFolder install;
    executableFolder = install.file(u"bin"_s);
    data.write(u"Corvanta.Hlp"_s, "");
    install.write(u"share/corvanta/Corvanta.Hlp"_s, "");
    install.write(u"bin/Corvanta.Hlp"_s, "");
    start();
    const QString places[] = {data.file(u"Corvanta.Hlp"_s),
                              install.file(u"share/corvanta/Corvanta.Hlp"_s),
                              install.file(u"bin/Corvanta.Hlp"_s)};
    for (const QString &place : places) {
        EXPECT_EQ(program->help().findHelpFile(u"Corvanta.Hlp"_s), place);
        QFile::remove(place);
    }
    // None left, and a folder of that name holds no document.
    QDir().mkpath(places[0]);
    EXPECT_EQ(program->help().findHelpFile(u"Corvanta.Hlp"_s), QString());
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

} // namespace
} // namespace corvanta::test
