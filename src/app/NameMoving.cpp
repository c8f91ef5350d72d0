#include "app/NameMoving.h"

#include "app/MainForm.h"
#include "app/Sorting.h"
#include "platform/Clipboard.h"

#include <QRegularExpression>

namespace corvanta {

namespace {

void setItems(CommandSurface &commands, std::initializer_list<const char *> items, bool enabled)
{
    for (const char *item : items)
        commands.setEnabled(QString::fromLatin1(item), enabled);
}

// A name pasted from the clipboard: its first line, since a list row holds one name.
QString pastedName(const Clipboard *clipboard)
{
    const QString text = clipboard ? clipboard->text() : QString();
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
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

NameMoving::NameMoving(MainForm &form) : f(form)
{
    f.registerOperation(QStringLiteral("mnuCutProject"), [this] { CutProjectName(); });
    f.registerOperation(QStringLiteral("mnuPasteProjectRow"), [this] { PasteProjectName(true); });
    f.registerOperation(QStringLiteral("mnuPasteProjectEOF"), [this] { PasteProjectName(false); });
    f.registerOperation(QStringLiteral("mnuTopicPopupCutTopicName"), [this] { CutTopicName(); });
    f.registerOperation(QStringLiteral("mnuTopicPopupPasteTopicNameAtSelectedRow"), [this] { PasteTopicName(true); });
    f.registerOperation(QStringLiteral("mnuTopicPopupPasteNameAtEndOfList"), [this] { PasteTopicName(false); });
}

void NameMoving::CutProjectName()
{
    Clipboard *clipboard = f.platform.clipboard;
    ListControl &list = f.lstProjectList;
    const int index = list.ListIndex();
    if (!clipboard || index < 0 || index >= list.ListCount())
        return;
    clipboard->clear();
    list.setRow(index);
    const QString name = list.rowText(index);
    list.setAction(4);
    setItems(f.commands, {"mnuPasteFiles", "mnuPasteInsert", "mnuTopicPopupPasteNameAtEndOfList",
                          "mnuTopicPopupPasteTopicNameAtSelectedRow"}, false);
    setItems(f.commands, {"mnuPasteProjectRow", "mnuPasteProjectEOF"}, true);
    clipboard->setText(name);
}

void NameMoving::PasteProjectName(bool atRow)
{
    ListControl &list = f.lstProjectList;
    const QString name = pastedName(f.platform.clipboard);
    const int index = list.ListIndex();
    const int row = atRow && index >= 0 && index <= list.ListCount() ? index : list.ListCount();
    insertSelected(list, row, name);
    setItems(f.commands, {"mnuPasteProjectRow", "mnuPasteProjectEOF"}, false);
    f.sorting().SaveProjectList();
}

void NameMoving::CutTopicName()
{
    Clipboard *clipboard = f.platform.clipboard;
    ListControl &list = f.lstTopicList;
    const int index = list.ListIndex();
    if (!clipboard || index < 0 || index >= list.ListCount())
        return;
    clipboard->clear();
    list.setRow(index);
    // Only the name travels, not the empty second column's separator.
    const QString name = list.columnText(index, 0);
    list.setAction(4);
    const int current = list.ListIndex();
    if (current >= 0) {
        list.setRow(current);
        list.setSelected(true);
    }
    setItems(f.commands, {"mnuPasteFiles", "mnuPasteInsert", "mnuPasteProjectRow", "mnuPasteProjectEOF"}, false);
    setItems(f.commands, {"mnuTopicPopupPasteNameAtEndOfList", "mnuTopicPopupPasteTopicNameAtSelectedRow"}, true);
    clipboard->setText(name);
}

void NameMoving::PasteTopicName(bool atRow)
{
    ListControl &list = f.lstTopicList;
    const QString name = pastedName(f.platform.clipboard);
    const int index = list.ListIndex();
    const int row = atRow && index >= 0 && index <= list.ListCount() ? index : list.ListCount();
    insertSelected(list, row, name);
    f.sorting().SaveTopicList();
}

} // namespace corvanta
