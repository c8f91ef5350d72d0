#include "filelist/ListAppearance.h"

#include "platform/MsgBox.h"
#include "support/FakeFontDialog.h"
#include "support/FormFixture.h"


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

// Either lines item (menu or popup) moves both check marks, the list and the stored setting.
TEST_F(ListAppearanceTest, selectFontAndLines_cancelChangesNothingAndAChoiceIsShownAndStored)
{
    const FontSpec chosen {u"DejaVu Serif"_s, 12, true, false};
    // The popup's lines item is the menu's name with a "2".
    for (const auto &[item, lines, section] :
        {std::tuple {"mnuSelectProjectListfont", "mnuDisplayLinesInProjectList", u"Project List"_s},
            {"mnuTopicPopupSelectFont", "mnuTopicPopupDislplayLinesInTopicList", u"Topic List"_s},
            {"mnuSelectFileListFont", "mnuDisplayLinesInFileList", u"File List"_s}}) {
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

        const QString menuLines = QString::fromLatin1(lines), popupLines = menuLines + u'2';
        const auto checks = [&] {
            return std::pair {form->commands.item(menuLines)->checked,
                form->commands.item(popupLines)->checked};
        };
        for (const bool shown : {false, true}) {
            form->run(shown ? menuLines : popupLines);
            EXPECT_EQ(checks(), std::pair(shown, shown));
            EXPECT_EQ(list(section).gridLines(), shown ? GridLines::Shown : GridLines::Hidden);
            EXPECT_EQ(ini(section, u"DisplayLines"_s), shown ? u"True"_s : u"False"_s);
        }
    }
}

TEST_F(ListAppearanceTest, resetFont_onYesStoresTheDefaultAsTheListHoldsIt)
{
    fonts.choice = FontSpec {u"DejaVu Serif"_s, 8.5, true, true};
    form->run(u"mnuSelectProjectFont"_s);
    ui.answers = {MsgBox::No, MsgBox::Yes};
    form->run(u"mnuResetProjectDefaultFont"_s);
    EXPECT_EQ(fontKeys(u"Project List"_s)[1], u"8.5"_s);
    form->run(u"mnuProjectListDefaultFont"_s);
    EXPECT_EQ(ui.titles(), (QStringList {u" Default Font Settings"_s, u" Default Font Settings"_s}));
    EXPECT_EQ(projects().font(), Default);
    EXPECT_EQ(fontKeys(u"Project List"_s), (QStringList {u"MS Sans Serif"_s, u"10"_s, u"False"_s, u"False"_s}));
}

} // namespace
} // namespace corvanta::test
