#include "app/NameMoving.h"

#include "app/CommandSurface.h"
#include "app/Operations.h"
#include "app/SharedState.h"
#include "platform/Clipboard.h"
#include "platform/Ui.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

#include <QRegularExpression>

namespace corvanta {

namespace {

void setItems(CommandSurface &commands, std::initializer_list<const char *> items, bool enabled)
{
    for (const char *item : items)
        commands.setEnabled(QString::fromLatin1(item), enabled);
}

// A name pasted from the clipboard: its first line, since a list row holds one name, without
// the spaces a list file would drop (so that the row on screen is the name stored).
QString pastedName(const Clipboard *clipboard)
{
    const QString text = clipboard ? clipboard->text() : QString();
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return trimSpaces(end < 0 ? text : text.left(end));
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
    list.setAction(4);
    // Pointers waiting in Paste.Lst stay pasteable: the name travels on the desktop's clipboard.
    setItems(c.commands, {"mnuTopicPopupPasteNameAtEndOfList", "mnuTopicPopupPasteTopicNameAtSelectedRow"}, false);
    setItems(c.commands, {"mnuPasteProjectRow", "mnuPasteProjectEOF"}, true);
    clipboard->setText(name);
}

void NameMoving::PasteProjectName(bool atRow)
{
    ListControl &list = c.lstProjectList;
    const QString name = pastedName(c.platform.clipboard);
    if (name.isEmpty()) {
        c.ui.beep();
        return;
    }
    const int index = list.ListIndex();
    const int row = atRow && index >= 0 && index <= list.ListCount() ? index : list.ListCount();
    insertSelected(list, row, name);
    setItems(c.commands, {"mnuPasteProjectRow", "mnuPasteProjectEOF"}, false);
    // Rebuilding refuses a list of one row, yet the name pasted into an emptied list must be
    // stored: shown but not stored, it would vanish at the next start and its folder would be
    // offered for clean-up.
    if (list.ListCount() < 2)
        reportSaveFailure(c.ui, c.state.ProjectListPath, writeNameList(c.state.ProjectListPath, list));
    else
        c.operations.run(QStringLiteral("SaveProjectList"));
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
    list.setAction(4);
    const int current = list.ListIndex();
    if (current >= 0) {
        list.setRow(current);
        list.setSelected(true);
        c.operations.run(QStringLiteral("SelectTopic")); // the File List follows the highlight
    }
    setItems(c.commands, {"mnuPasteProjectRow", "mnuPasteProjectEOF"}, false);
    setItems(c.commands, {"mnuTopicPopupPasteNameAtEndOfList", "mnuTopicPopupPasteTopicNameAtSelectedRow"}, true);
    clipboard->setText(name);
}

void NameMoving::PasteTopicName(bool atRow)
{
    ListControl &list = c.lstTopicList;
    const QString name = pastedName(c.platform.clipboard);
    if (name.isEmpty()) {
        c.ui.beep();
        return;
    }
    const int index = list.ListIndex();
    const int row = atRow && index >= 0 && index <= list.ListCount() ? index : list.ListCount();
    insertSelected(list, row, name);
    c.operations.run(QStringLiteral("SaveTopicList"));
}

} // namespace corvanta
