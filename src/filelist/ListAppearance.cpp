#include "filelist/ListAppearance.h"

#include "app/CommandSurface.h"
#include "app/IniFile.h"
#include "app/MainForm.h"
#include "app/Operations.h"
#include "app/Settings.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/ListControl.h"

namespace corvanta {

// One list's part: its control, settings section, name in the reset question and its pair of
// "Display Lines" items (the Settings menu's first; its check mark decides).
struct ListAppearance::Variant
{
    ListControl &list;
    QString section;
    QString name;
    QString linesItem;
    QString linesItem2;
};

namespace {

QString flagText(bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); }

} // namespace

ListAppearance::ListAppearance(const FeatureContext &context) : c(context)
{
    struct Names
    {
        Which which;
        std::initializer_list<const char *> select, reset, lines;
    };
    const Names all[] = {
        {Which::Projects, {"SelectProjectListFont", "mnuSelectProjectFont", "mnuSelectProjectListfont"},
            {"ResetProjectListFont", "mnuProjectListDefaultFont", "mnuResetProjectDefaultFont"},
            {"ToggleProjectListLines", "mnuDisplayLinesInProjectList", "mnuDisplayLinesInProjectList2"}},
        {Which::Topics, {"SelectTopicListFont", "mnuTopicPopupSelectFont"},
            {"ResetTopicListFont", "mnuTopicPopupResetDefaultFont"},
            {"ToggleTopicListLines", "mnuTopicPopupDislplayLinesInTopicList",
                "mnuTopicPopupDislplayLinesInTopicList2"}},
        {Which::Files, {"SelectFileListFont", "mnuSelectFileListFont", "mnuSelectFileFont"},
            {"ResetFileListFont", "mnuFileListDefaultFont", "mnuResetFileListDefault"},
            {"ToggleFileListLines", "mnuDisplayLinesInFileList", "mnuDisplayLinesInFileList2"}},
    };
    for (const Names &n : all) {
        const Which which = n.which;
        for (const char *name : n.select)
            c.operations.add(QString::fromLatin1(name), [this, which] { SelectListFont(which); });
        for (const char *name : n.reset)
            c.operations.add(QString::fromLatin1(name), [this, which] { ResetListFont(which); });
        for (const char *name : n.lines)
            c.operations.add(QString::fromLatin1(name), [this, which] { ToggleListLines(which); });
    }
}

ListAppearance::Variant ListAppearance::variant(Which which) const
{
    switch (which) {
    case Which::Projects:
        return {c.lstProjectList, QStringLiteral("Project List"), QStringLiteral("Project"),
            QStringLiteral("mnuDisplayLinesInProjectList"),
            QStringLiteral("mnuDisplayLinesInProjectList2")};
    case Which::Topics:
        return {c.lstTopicList, QStringLiteral("Topic List"), QStringLiteral("Topic"),
            QStringLiteral("mnuTopicPopupDislplayLinesInTopicList"),
            QStringLiteral("mnuTopicPopupDislplayLinesInTopicList2")};
    case Which::Files:
        break;
    }
    return {c.lstFileList, QStringLiteral("File List"), QStringLiteral("File"),
        QStringLiteral("mnuDisplayLinesInFileList"), QStringLiteral("mnuDisplayLinesInFileList2")};
}

void ListAppearance::write(const QString &section, const QString &key, const QString &value)
{
    writeSetting(c.store, c.state, c.ui, section, key, value);
}

void ListAppearance::writeFont(const Variant &v, const FontSpec &font)
{
    write(v.section, QStringLiteral("Font Name"), font.name);
    write(v.section, QStringLiteral("Font Size"), formatSingle(float(font.size)));
    write(v.section, QStringLiteral("Font Bold"), flagText(font.bold));
    write(v.section, QStringLiteral("Font Italic"), flagText(font.italic));
}

void ListAppearance::SelectListFont(Which which)
{
    FontDialog *dialog = c.platform.fontDialog;
    const Variant v = variant(which);
    FontSpec font = v.list.font();
    if (!dialog || !dialog->chooseFont(font))
        return;
    v.list.setFont(font);
    writeFont(v, font);
}

void ListAppearance::ResetListFont(Which which)
{
    const Variant v = variant(which);
    const QString text = QStringLiteral("This Will Reset The ") + v.name
        + QStringLiteral(" List To The Default Font Settings.") + fiveSpaces()
        + QStringLiteral("\rDo You Want To Reset The ") + v.name + QStringLiteral(" List Fonts?\r");
    if (c.ui.msgBox(text, QStringLiteral(" Default Font Settings"), MsgBox::YesNo | MsgBox::Question)
        != MsgBox::Yes)
        return;
    v.list.setFont(defaultListFont());
    // What the list took, as it reports it.
    writeFont(v, v.list.font());
}

void ListAppearance::ToggleListLines(Which which)
{
    const Variant v = variant(which);
    const MenuItem *first = c.commands.item(v.linesItem);
    const bool show = !(first && first->checked);
    c.commands.setChecked(v.linesItem, show);
    c.commands.setChecked(v.linesItem2, show);
    v.list.setGridLines(show ? GridLines::Shown : GridLines::Hidden);
    write(v.section, QStringLiteral("DisplayLines"), flagText(show));
}

} // namespace corvanta
