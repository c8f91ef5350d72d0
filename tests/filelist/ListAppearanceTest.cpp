#include "filelist/ListAppearance.h"

#include "platform/MsgBox.h"
#include "support/FakeFontDialog.h"
#include "support/FormFixture.h"

#include <QFile>

namespace corvanta::test {
namespace {

const FontSpec Default {u"MS Sans Serif"_s, 10, false, false};

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

    // The list a settings section belongs to.
    ListControl &list(const QString &section)
    {
        return section == u"Project List" ? projects() : section == u"Topic List" ? topics() : files();
    }
    QStringList fontKeys(const QString &section) const
    {
        QStringList out;
        for (const char *key : {"Font Name", "Font Size", "Font Bold", "Font Italic"})
            out << ini(section, QString::fromLatin1(key));
        return out;
    }
};

TEST_F(ListAppearanceTest, selectFont_cancelChangesNothingAndAChoiceIsShownAndStored)
{
    const FontSpec chosen {u"DejaVu Serif"_s, 12, true, false};
    for (const auto &[item, section] : {std::pair {"mnuSelectProjectListfont", u"Project List"_s},
             {"mnuTopicPopupSelectFont", u"Topic List"_s}, {"mnuSelectFileListFont", u"File List"_s}}) {
        SCOPED_TRACE(item);
        const QByteArray before = data.read(u"Corvanta.Ini"_s);
        fonts.choice.reset();
        form->run(QString::fromLatin1(item));
        EXPECT_EQ(fonts.openedOn.back(), Default);
        EXPECT_EQ(list(section).font(), Default);
        EXPECT_EQ(data.read(u"Corvanta.Ini"_s), before);

        fonts.choice = chosen;
        form->run(QString::fromLatin1(item));
        EXPECT_EQ(list(section).font(), chosen);
        EXPECT_EQ(fontKeys(section), (QStringList {u"DejaVu Serif"_s, u"12"_s, u"True"_s, u"False"_s}));
    }
}

TEST_F(ListAppearanceTest, resetFont_onYesStoresTheDefaultAsTheListHoldsIt)
{
    fonts.choice = FontSpec {u"DejaVu Serif"_s, 8.5, true, true};
    form->run(u"mnuSelectProjectFont"_s);
    ui.answers = {MsgBox::No};
    form->run(u"mnuResetProjectDefaultFont"_s);
    EXPECT_EQ(ui.boxes[0].text,
        u"This Will Reset The Project List To The Default Font Settings.     \r"
        "Do You Want To Reset The Project List Fonts?\r"_s);
    EXPECT_EQ(ui.boxes[0].title, u" Default Font Settings"_s);
    EXPECT_EQ(ui.boxes[0].flags, MsgBox::YesNo | MsgBox::Question);
    EXPECT_EQ(fontKeys(u"Project List"_s)[1], u"8.5"_s);

    ui.answers = {MsgBox::Yes};
    form->run(u"mnuProjectListDefaultFont"_s);
    EXPECT_EQ(projects().font(), Default);
    EXPECT_EQ(fontKeys(u"Project List"_s), (QStringList {u"MS Sans Serif"_s, u"10"_s, u"False"_s, u"False"_s}));
    form->run(u"mnuResetFileListDefault"_s);
    EXPECT_TRUE(ui.boxes[2].text.endsWith(u"Reset The File List Fonts?\r"_s));
}

TEST_F(ListAppearanceTest, displayLines_eitherItemMovesBothMarksAndTheStoredSetting)
{
    for (const auto &[first, second, section] :
        {std::tuple {"mnuDisplayLinesInProjectList", "mnuDisplayLinesInProjectList2", u"Project List"_s},
            {"mnuTopicPopupDislplayLinesInTopicList", "mnuTopicPopupDislplayLinesInTopicList2", u"Topic List"_s},
            {"mnuDisplayLinesInFileList", "mnuDisplayLinesInFileList2", u"File List"_s}}) {
        SCOPED_TRACE(first);
        const auto checks = [this, first, second] {
            return std::pair {form->commands.item(QString::fromLatin1(first))->checked,
                form->commands.item(QString::fromLatin1(second))->checked};
        };
        form->run(QString::fromLatin1(second)); // from the popup
        EXPECT_EQ(checks(), std::pair(false, false));
        EXPECT_EQ(list(section).gridLines(), GridLines::Hidden);
        EXPECT_EQ(ini(section, u"DisplayLines"_s), u"False"_s);
        form->run(QString::fromLatin1(first));
        EXPECT_EQ(checks(), std::pair(true, true));
        EXPECT_EQ(list(section).gridLines(), GridLines::Shown);
        EXPECT_EQ(ini(section, u"DisplayLines"_s), u"True"_s);
    }
}

} // namespace
} // namespace corvanta::test
