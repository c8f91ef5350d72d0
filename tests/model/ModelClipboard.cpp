#include "model/ModelSession.h"

#include "app/MainForm.h"
#include "platform/Keys.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

#include <QDirIterator>

#include <algorithm>

namespace corvanta::test {

void ModelSession::selectSomeFiles()
{
    const int count = files().ListCount();
    click(files(), pick(count));
    for (int i = pick(3); i > 0; --i)
        click(files(), pick(count), Key::CtrlMask);
}

// Cut or Copy from the File List's popup: Paste.Lst then holds the selected
// pointers (a cut bottom row first) and a cut takes them out of the topic's file.
void ModelSession::cutOrCopyPointers()
{
    cutOrCopy(chance(50));
}

void ModelSession::cutOrCopy(bool cut)
{
    const int count = files().ListCount();
    if (count == 0)
        return;
    selectSomeFiles();
    QStringList taken;
    bool ran = false;
    // The selection as the item finds it (a right-click may change it first).
    const auto run = [&](const char *item) {
        for (int i = 0; i < count; ++i) {
            if (files().isSelected(i))
                taken << files().rowText(i);
        }
        ran = menu(item);
    };
    const char *item = cut ? "mnuCutFiles" : "mnuCopyFiles";
    const QString shown = relative(form->state.FileListPath);
    // Cut and Copy are the popup's: a right-click on a selected row keeps the selection, on
    // another row makes that row the only one.
    ui.onPopup = [&](const QString &) { run(item); };
    files().userMouseDown(pick(count), Mouse::Right, 0);
    ui.onPopup = nullptr;
    if (!ran)
        failure = QString::fromLatin1(item) + QStringLiteral(" is disabled in the popup of a row");
    if (!ran || taken.isEmpty() || form->state.FileListPath.isEmpty())
        return;
    if (cut) {
        std::reverse(taken.begin(), taken.end());
        model.list(shown) = without(model.lines(shown), taken);
    }
    model.list(QStringLiteral("Paste.Lst")) = stored(taken, false);
}

// Paste at the row right-clicked or at the end: every pointer of Paste.Lst whose name the list
// does not hold yet goes in, in the file's order; Paste.Lst stays as it was.
void ModelSession::pastePointers()
{
    const bool atRow = chance(50) && files().ListCount() > 0;
    const int clicked = atRow ? pick(files().ListCount()) : pick(files().ListCount() + 1);
    QStringList rows;
    int at = -1;
    bool pasted = false;
    ui.onPopup = [&](const QString &) {
        rows = rowsOf(files());
        at = atRow ? files().ListIndex() : int(rows.size());
        pasted = menu(atRow ? "mnuPasteInsert" : "mnuPasteFiles");
    };
    const QString shown = relative(form->state.FileListPath);
    files().userMouseDown(clicked, Mouse::Right, 0);
    ui.onPopup = nullptr;
    if (!pasted || form->state.FileListPath.isEmpty())
        return;
    at = std::clamp(at, 0, int(rows.size()));
    // The names as they were before the paste: the paste may not take one twice.
    ListControl before(2, false);
    for (const QString &row : rows)
        before.addRow(row);
    NameSet held(before, NameField::FirstColumn);
    QStringList added;
    for (QString line : model.lines(QStringLiteral("Paste.Lst"))) {
        const qsizetype tab = line.indexOf(u'\t');
        const QString name = tab < 0 ? line : line.left(tab);
        if (held.contains(name))
            continue;
        held.insert(name);
        added << (tab < 0 ? line + u'\t' : line);
    }
    if (added.isEmpty())
        return;
    // Before the line of the row pasted at, or at the end; the other lines stay where they are.
    QStringList lines = model.lines(shown);
    const qsizetype line = at < rows.size() ? lines.indexOf(trimSpaces(rows[at])) : -1;
    const qsizetype where = line < 0 || trimSpaces(rows[at]).isEmpty() ? lines.size() : line;
    model.list(shown) = lines.first(where) + stored(added, false) + lines.sliced(where);
}

std::set<QString> ModelSession::pointersOnDisk() const
{
    std::set<QString> pointers;
    QDirIterator it(data.path(), {QStringLiteral("*.Files"), QStringLiteral("Paste.Lst")}, QDir::Files,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        for (const QString &line : readLines(observer, it.next())) {
            if (!trimSpaces(line).isEmpty())
                pointers.insert(trimSpaces(line));
        }
    }
    return pointers;
}

} // namespace corvanta::test
