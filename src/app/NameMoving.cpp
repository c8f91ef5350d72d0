#include "app/NameMoving.h"

#include "app/CommandSurface.h"
#include "app/Operations.h"
#include "app/SharedState.h"
#include "app/UndoHistory.h"
#include "platform/Clipboard.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

namespace corvanta {

namespace {

void setItems(CommandSurface &commands, std::initializer_list<const char *> items, bool enabled)
{
    for (const char *item : items)
        commands.setEnabled(QString::fromLatin1(item), enabled);
}

// A name pasted from the clipboard, without the line end a copied line brings and the spaces a
// list file would drop (so that the row on screen is the name stored). Any other line break stays,
// for the name rules to refuse.
QString pastedName(QString text)
{
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    return trimSpaces(text);
}

void insertSelected(ListControl &list, int row, const QString &name)
{
    list.setRow(row);
    list.insertRow(name);
    list.setRow(row);
    list.setListIndex(row);
    list.setSelected(true);
}

} // namespace

NameMoving::NameMoving(const FeatureContext &context) : c(context)
{
    c.operations.add(QStringLiteral("mnuCutProject"), [this] { CutProjectName(); });
    c.operations.add(QStringLiteral("mnuPasteProjectRow"), [this] { PasteProjectName(true); });
    c.operations.add(QStringLiteral("mnuPasteProjectEOF"), [this] { PasteProjectName(false); });
    c.operations.add(QStringLiteral("mnuTopicPopupCutTopicName"), [this] { CutTopicName(); });
    c.operations.add(QStringLiteral("mnuTopicPopupPasteTopicNameAtSelectedRow"), [this] { PasteTopicName(true); });
    c.operations.add(QStringLiteral("mnuTopicPopupPasteNameAtEndOfList"), [this] { PasteTopicName(false); });
}

void NameMoving::CutProjectName()
{
    Clipboard *clipboard = c.platform.clipboard;
    ListControl &list = c.lstProjectList;
    const int index = list.ListIndex();
    if (!clipboard || index < 0 || index >= list.ListCount())
        return;
    // The sort marker and the blank row of an empty list are no names to move.
    const QString name = list.rowText(index);
    if (isProjectRow(name) || trimSpaces(name).isEmpty()) {
        c.ui.beep();
        return;
    }
    clipboard->clear();
    list.setRow(index);
    list.removeRow(index);
    // Pointers waiting in Paste.Lst stay pasteable: the name travels on the desktop's clipboard.
    setItems(c.commands, {"mnuTopicPopupPasteNameAtEndOfList", "mnuTopicPopupPasteTopicNameAtSelectedRow"}, false);
    setItems(c.commands, {"mnuPasteProjectRow", "mnuPasteProjectEOF"}, true);
    clipboard->setText(name);
    c.state.CutProjectName = name;
}

// The clipboard's text as the name to paste, or "" after a refusal. A name cut here and not
// pasted yet must still be on the clipboard: the text another program put there instead is not
// pasted, and the cut name goes back for the next paste.
QString NameMoving::nameToPaste(const QString &cutName, bool project)
{
    Clipboard *clipboard = c.platform.clipboard;
    const QString text = clipboard ? clipboard->text() : QString();
    if (!cutName.isEmpty() && text != cutName) {
        const QString kind = project ? QStringLiteral("Project") : QStringLiteral("Topic");
        c.ui.msgBox(QStringLiteral("Another Program Changed The Clipboard After The ") + kind + QStringLiteral(" Name  [")
                        + userText(cutName) + QStringLiteral("]  Was Cut.") + fiveSpaces()
                        + QStringLiteral("\rNothing Was Pasted. The Cut Name Is Back On The Clipboard:\r"
                                         "Paste Again To Move It.\r"),
                    QStringLiteral(" Clipboard Changed"), MsgBox::OkOnly | MsgBox::Exclamation);
        if (clipboard)
            clipboard->setText(cutName);
        return QString();
    }
    const QString name = pastedName(text);
    if (name.isEmpty()) {
        c.ui.beep();
        return QString();
    }
    // The rules a typed name follows: no name that cannot be a file, and none its list has.
    if (refuseNewName(c.ui, name))
        return QString();
    return name;
}

void NameMoving::PasteProjectName(bool atRow)
{
    ListControl &list = c.lstProjectList;
    const QString name = nameToPaste(c.state.CutProjectName, true);
    if (name.isEmpty())
        return;
    // Two rows of one name would share one folder: deleting either would delete the other's files.
    if (duplicateNameRow(list, name, NameField::WholeRow) >= 0) {
        showDuplicateName(c.ui, name, true);
        return;
    }
    PointerChange change(c.undo, projectStepName(QStringLiteral("Paste"), name));
    change.touch(c.state.ProjectListPath);
    change.showNames(UndoHistory::NameList::Projects, {}, c.state.CutProjectName, name);
    const int index = list.ListIndex();
    const int row = atRow && index >= 0 && index <= list.ListCount() ? index : list.ListCount();
    insertSelected(list, row, name);
    c.state.CutProjectName.clear();
    setItems(c.commands, {"mnuPasteProjectRow", "mnuPasteProjectEOF"}, false);
    // Rebuilding refuses a list of one row, yet the name pasted into an emptied list must be
    // stored: shown but not stored, it would vanish at the next start and its folder would be
    // offered for clean-up.
    if (list.ListCount() < 2)
        reportSaveFailure(c.store, c.ui, c.state.ProjectListPath, writeNameList(c.store, c.state.ProjectListPath, list));
    else
        c.sorting.saveProjectList();
}

void NameMoving::CutTopicName()
{
    Clipboard *clipboard = c.platform.clipboard;
    ListControl &list = c.lstTopicList;
    const int index = list.ListIndex();
    if (!clipboard || index < 0 || index >= list.ListCount())
        return;
    // The project row stands for the project's own File List: it is not a name to move.
    if (isProjectRow(list.rowText(index))) {
        c.ui.beep();
        return;
    }
    clipboard->clear();
    list.setRow(index);
    // Only the name travels, not the empty second column's separator.
    const QString name = list.columnText(index, 0);
    list.removeRow(index);
    const int current = list.ListIndex();
    if (current >= 0) {
        list.setRow(current);
        list.setSelected(true);
        c.navigation.selectTopic(); // the File List follows the highlight
    }
    setItems(c.commands, {"mnuPasteProjectRow", "mnuPasteProjectEOF"}, false);
    setItems(c.commands, {"mnuTopicPopupPasteNameAtEndOfList", "mnuTopicPopupPasteTopicNameAtSelectedRow"}, true);
    clipboard->setText(name);
    c.state.CutTopicName = name;
}

void NameMoving::PasteTopicName(bool atRow)
{
    ListControl &list = c.lstTopicList;
    const QString name = nameToPaste(c.state.CutTopicName, false);
    if (name.isEmpty())
        return;
    // The same name pasted again shares its file, which stays until its last row goes; a name
    // differing from a row's only in letter case, or the project's own name (which the project
    // row stands for), is refused as when typed.
    const int same = duplicateNameRow(list, name, NameField::FirstColumn);
    const QString &project = c.state.CurrentProject;
    if ((same >= 0 && trimSpaces(list.columnText(same, 0)) != name)
        || (!project.isEmpty() && name.toLower() == project.toLower())) {
        showDuplicateName(c.ui, name, false);
        return;
    }
    PointerChange change(c.undo, topicStepName(QStringLiteral("Paste"), name, project));
    change.touch(c.state.TopicListPath);
    change.showNames(UndoHistory::NameList::Topics, project, trimSpaces(c.state.CutTopicName), name);
    const int index = list.ListIndex();
    const int row = atRow && index >= 0 && index <= list.ListCount() ? index : list.ListCount();
    insertSelected(list, row, name);
    c.state.CutTopicName.clear();
    c.sorting.saveTopicList();
}

} // namespace corvanta
