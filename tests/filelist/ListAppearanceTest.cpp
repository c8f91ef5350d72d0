#include "filelist/ListAppearance.h"

#include "platform/MsgBox.h"
#include "support/FakeFontDialog.h"
#include "support/FormFixture.h"

namespace corvanta::test {
namespace {

class ListAppearanceTest : public FormFixture
{
protected:
    FakeFontDialog fonts;

    Platform platform() override
    {
        Platform p {ui, clock};
        p.fontDialog = &fonts;
        return p;
    }

    void SetUp() override { start(); }

    QByteArray settings() const { return data.read(u"Corvanta.Ini"_s); }
    bool checked(const QString &item) const { return form->commands.item(item)->checked; }
    // 0 the Project List, 1 the Topic List, 2 the File List.
    ListControl &list(int which)
    {
        ListControl *lists[] = {&projects(), &topics(), &files()};
        return *lists[which];
    }
};

TEST_F(ListAppearanceTest, cancelledFontDialog_changesNothing)
{
    const QByteArray before = settings();
    form->run(u"mnuSelectFileListFont"_s);
    ASSERT_EQ(fonts.openedOn.size(), 1u);
    EXPECT_EQ(fonts.openedOn[0], (FontSpec {u"MS Sans Serif"_s, 10, false, false}));
    EXPECT_EQ(files().font(), (FontSpec {u"MS Sans Serif"_s, 10, false, false}));
    EXPECT_EQ(settings(), before);
}

TEST_F(ListAppearanceTest, chosenFont_isShownWrittenAndBackAtTheNextStart)
{
    struct Case
    {
        const char *item;
        QString section;
        int list;
    };
    const Case cases[] = {
        {"mnuSelectProjectFont", u"Project List"_s, 0},
        {"mnuSelectProjectListfont", u"Project List"_s, 0},
        {"mnuTopicPopupSelectFont", u"Topic List"_s, 1},
        {"mnuSelectFileListFont", u"File List"_s, 2},
        {"mnuSelectFileFont", u"File List"_s, 2},
    };
    const FontSpec chosen {u"DejaVu Serif"_s, 12, true, false};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.item);
        start();
        fonts.choice = chosen;
        form->run(QString::fromLatin1(c.item));
        EXPECT_EQ(list(c.list).font(), chosen);
        EXPECT_EQ(ini(c.section, u"Font Name"_s), u"DejaVu Serif"_s);
        EXPECT_EQ(ini(c.section, u"Font Size"_s), u"12"_s);
        EXPECT_EQ(ini(c.section, u"Font Bold"_s), u"True"_s);
        EXPECT_EQ(ini(c.section, u"Font Italic"_s), u"False"_s);
        start();
        EXPECT_EQ(list(c.list).font(), chosen);
        fonts.choice = FontSpec {u"MS Sans Serif"_s, 10, false, false};
        form->run(QString::fromLatin1(c.item));
    }
}

TEST_F(ListAppearanceTest, resetFont_asksAndOnYesWritesTheDefaultAsTheListHoldsIt)
{
    fonts.choice = FontSpec {u"DejaVu Serif"_s, 8.5, true, true};
    form->run(u"mnuSelectProjectFont"_s);
    const QByteArray chosen = settings();

    ui.answers = {MsgBox::No};
    form->run(u"mnuResetProjectDefaultFont"_s);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
        u"This Will Reset The Project List To The Default Font Settings.     \r"
        "Do You Want To Reset The Project List Fonts?\r"_s);
    EXPECT_EQ(ui.boxes[0].title, u" Default Font Settings"_s);
    EXPECT_EQ(ui.boxes[0].flags, MsgBox::YesNo | MsgBox::Question);
    EXPECT_EQ(settings(), chosen);
    EXPECT_TRUE(projects().font().bold);

    ui.answers = {MsgBox::Yes};
    form->run(u"mnuProjectListDefaultFont"_s);
    EXPECT_EQ(projects().font(), (FontSpec {u"MS Sans Serif"_s, 10, false, false}));
    EXPECT_EQ(ini(u"Project List"_s, u"Font Name"_s), u"MS Sans Serif"_s);
    EXPECT_EQ(ini(u"Project List"_s, u"Font Size"_s), u"10"_s);
    EXPECT_EQ(ini(u"Project List"_s, u"Font Bold"_s), u"False"_s);
    EXPECT_EQ(ini(u"Project List"_s, u"Font Italic"_s), u"False"_s);

    // The Topic and File Lists name themselves in the question.
    for (const char *item : {"mnuTopicPopupResetDefaultFont", "mnuResetFileListDefault"})
        form->run(QString::fromLatin1(item));
    EXPECT_TRUE(ui.boxes[2].text.startsWith(u"This Will Reset The Topic List"_s));
    EXPECT_TRUE(ui.boxes[3].text.endsWith(u"Reset The File List Fonts?\r"_s));
}

TEST_F(ListAppearanceTest, displayLines_eitherItemMovesBothMarksAndTwoTogglesRestoreTheSetting)
{
    struct Case
    {
        const char *settingsItem;
        const char *popupItem;
        QString section;
        int list;
    };
    const Case cases[] = {
        {"mnuDisplayLinesInProjectList", "mnuDisplayLinesInProjectList2", u"Project List"_s,
            0},
        {"mnuTopicPopupDislplayLinesInTopicList", "mnuTopicPopupDislplayLinesInTopicList2",
            u"Topic List"_s, 1},
        {"mnuDisplayLinesInFileList", "mnuDisplayLinesInFileList2", u"File List"_s,
            2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.settingsItem);
        const QString settingsItem = QString::fromLatin1(c.settingsItem);
        const QString popupItem = QString::fromLatin1(c.popupItem);
        EXPECT_TRUE(checked(settingsItem));
        EXPECT_EQ(list(c.list).LineStyle(), 4);

        form->run(popupItem);
        EXPECT_FALSE(checked(settingsItem));
        EXPECT_FALSE(checked(popupItem));
        EXPECT_EQ(list(c.list).LineStyle(), 1);
        EXPECT_EQ(ini(c.section, u"DisplayLines"_s), u"False"_s);
        start();
        EXPECT_EQ(list(c.list).LineStyle(), 1);
        EXPECT_FALSE(checked(popupItem));

        form->run(settingsItem);
        EXPECT_TRUE(checked(popupItem));
        EXPECT_EQ(list(c.list).LineStyle(), 4);
        EXPECT_EQ(ini(c.section, u"DisplayLines"_s), u"True"_s);
    }
}

} // namespace
} // namespace corvanta::test
