// The user's actions: each plays one through the main form, then tells the model what the data
// folder must hold afterwards, from what the user saw before it.
#include "model/ModelSession.h"

#include "app/Launcher.h"
#include "app/MainForm.h"
#include "compose/Program.h"
#include "editor/PointerEditor.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

namespace corvanta::test {

namespace {

const QStringList PointerNames = {
    QStringLiteral("News"), QStringLiteral("news"), QStringLiteral("Docs"), QStringLiteral("  Padded  "),
    QStringLiteral("Mail Me"), QStringLiteral("One"), QString(),
};

QString projectFolder(const QString &name) { return QStringLiteral("Projects/") + name; }

// The clipboard's text as a pasted name: without a copied line's line end, trimmed.
QString pastedName(QString text)
{
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    return trimSpaces(text);
}

bool sameNames(QStringList shown, QStringList stored, SortOrder order)
{
    if (order == SortOrder::Ascending || order == SortOrder::Descending) {
        shown.sort();
        stored.sort();
    }
    return shown == stored;
}

} // namespace

// --- navigation ---

void ModelSession::openProject()
{
    const int row = pick(projects().ListCount());
    if (row < 0)
        return;
    click(projects(), row);
    const QString name = projects().rowText(row);
    const bool byKey = chance(50);
    if (byKey)
        projects().userKeyDown(Key::Return, 0);
    else
        projects().userDoubleClick(row);
    if ((byKey || projects().ListCount() >= 2) && isUsableFileName(name) && !isProjectRow(name))
        model.folders.insert(projectFolder(name));
}

void ModelSession::entryScreen()
{
    int key = Key::F4;
    form->Form_KeyDown(key, 0);
}

void ModelSession::clickTopic()
{
    const int row = pick(topics().ListCount());
    if (row >= 0)
        click(topics(), row);
}

void ModelSession::restart()
{
    start();
    const SharedState &s = form->state;
    if (!sameNames(storedNames(projects()), model.lines(QStringLiteral("Project.List")), s.ProjectSort)
        || !sameNames(storedNames(topics()), model.lines(QStringLiteral("Project.Topics")), s.TopicSort)
        || !sameNames(storedRecords(files()), model.lines(QStringLiteral("Project.Files")), s.FileSort))
        failure = QStringLiteral("after a restart the lists do not show their files");
}

// --- projects and topics ---

void ModelSession::createProject()
{
    if (chance(60))
        click(projects(), pick(projects().ListCount()));
    const QString typed = pickName();
    const QString name = typed.trimmed();
    const bool insert = chance(50);
    QStringList rows = rowsOf(projects());
    const int insertionRow = projects().ListIndex();
    const bool refused = name.isEmpty() || !newNameRefusal(name).isEmpty()
        || duplicateNameRow(projects(), name, NameField::WholeRow) >= 0
        || model.existsIgnoringCase(projectFolder(name));
    plays = {nameDialog(typed, insert)};
    if (projects().ListCount() < 2 && chance(50)) {
        projects().userMouseDown(0, Mouse::Right, 0);
    } else if (chance(50)) {
        int key = Key::F2;
        form->Form_KeyDown(key, 0);
    } else {
        menu("mnuCreateProject");
    }
    if (refused)
        return;
    model.folders.insert(projectFolder(name));
    model.list(projectFolder(name) + u'/' + name + QStringLiteral(".List"));
    model.list(projectFolder(name) + u'/' + name + QStringLiteral(".Files"));
    // The blank row of an empty list only stands in for a first project.
    if (rows.size() == 1 && trimSpaces(rows[0]).isEmpty())
        rows.clear();
    if (insert && insertionRow >= 0 && insertionRow < rows.size()) {
        rows.insert(insertionRow, name);
        model.list(QStringLiteral("Project.List")) = stored(rows, true);
    } else {
        model.list(QStringLiteral("Project.List")) << name;
    }
}

void ModelSession::createTopic()
{
    if (chance(60))
        click(topics(), pick(topics().ListCount()));
    const QString typed = pickName();
    const QString name = typed.trimmed();
    const bool insert = chance(50);
    QStringList rows = rowsOf(topics());
    const int insertionRow = std::max(topics().ListIndex(), 1);
    const QString file = fileListPath(level(), name);
    const bool refused = name.isEmpty() || !newNameRefusal(name).isEmpty()
        || duplicateNameRow(topics(), name, NameField::FirstColumn) >= 0
        || (!level().isEmpty() && name.toLower() == level().toLower()) || model.existsIgnoringCase(file);
    plays = {nameDialog(typed, insert)};
    if (topics().ListCount() < 2 && chance(50))
        topics().userMouseDown(0, Mouse::Right, 0);
    else
        menu("mnuTopicPopupAddNewTopic");
    if (refused)
        return;
    model.list(file);
    const QString list = topicListPath(level());
    if (insert && insertionRow <= rows.size()) {
        rows.insert(insertionRow, name);
        model.list(list) = stored(rows, true);
    } else {
        model.list(list) << name;
    }
}

void ModelSession::renameProject()
{
    const int row = pick(projects().ListCount());
    if (row < 0)
        return;
    click(projects(), row);
    const QString old = projects().rowText(row);
    const QString oldName = trimSpaces(old);
    const QString typed = pickName();
    const QString name = typed.trimmed();
    QStringList rows = rowsOf(projects());
    int index = row;
    bool asks = true; // whether the name dialog opens at all
    if (!isUsableFileName(oldName) || isProjectRow(old) || !model.folders.count(projectFolder(oldName))) {
        answer({MsgBox::No}); // a project without its folder: not deleted now
        asks = false;
    } else if (form->state.ProjectSort != SortOrder::None) {
        const bool noSort = chance(70);
        answer({noSort ? MsgBox::Yes : MsgBox::No});
        // "No Sort" first: the list comes back from Project.List.
        rows = model.lines(QStringLiteral("Project.List"));
        index = int(rows.indexOf(old));
        asks = noSort && index >= 0;
    }
    plays = {nameDialog(typed, false)};
    if (projects().ListCount() >= 2 && chance(50))
        popupItem(projects(), row, "mnuRenameProject");
    else
        menu("mnuRenameProject");
    if (!asks || name.isEmpty() || typed == old || name == old || name == oldName)
        return;
    const bool refused = !newNameRefusal(name).isEmpty()
        || std::any_of(rows.begin(), rows.end(), [&](const QString &r) { return r.toLower() == name.toLower(); })
        || model.existsIgnoringCase(projectFolder(name));
    if (refused)
        return;
    // The folder may hold a topic's file of the new name already: the rename stops with an error.
    const QString folder = projectFolder(oldName) + u'/' + name;
    if (model.exists(folder + QStringLiteral(".List")) || model.exists(folder + QStringLiteral(".Files"))) {
        expectedError = true;
        return;
    }
    model.renameProject(oldName, name);
    rows[index] = name;
    model.list(QStringLiteral("Project.List")) = stored(rows, true);
}

void ModelSession::renameTopic()
{
    const int row = pick(topics().ListCount());
    if (row < 0)
        return;
    click(topics(), row);
    const QString old = topicName(row);
    QStringList rows = rowsOf(topics());
    const QString typed = pickName();
    const QString name = typed.trimmed();
    plays = {nameDialog(typed, false)};
    if (topics().ListCount() >= 2 && chance(50))
        popupItem(topics(), row, "mnuTopicPopupRenameTopic");
    else
        menu("mnuTopicPopupRenameTopic");
    if (isProjectRow(rows[row]) || !isUsableFileName(old) || name.isEmpty() || typed == old)
        return;
    const QString oldFile = fileListPath(level(), old);
    const QString newFile = fileListPath(level(), name);
    const bool refused = !newNameRefusal(name).isEmpty()
        || std::any_of(rows.begin(), rows.end(),
                       [&](const QString &r) { return r.section(u'\t', 0, 0).toLower() == name.toLower(); })
        || (!level().isEmpty() && name.toLower() == level().toLower())
        || (newFile != oldFile && model.existsIgnoringCase(newFile));
    if (refused || newFile == oldFile)
        return;
    if (fileShownElsewhere(oldFile, row))
        model.copy(oldFile, newFile);
    else
        model.move(oldFile, newFile);
    rows[row] = name;
    model.list(topicListPath(level())) = stored(rows, true);
}

void ModelSession::deleteProject()
{
    const int row = pick(projects().ListCount());
    if (row < 0)
        return;
    click(projects(), row);
    const QString text = projects().rowText(row);
    QStringList rows = rowsOf(projects());
    const bool yes = chance(60);
    answer({yes ? MsgBox::Yes : MsgBox::No});
    if (chance(50))
        projects().userKeyDown(Key::Delete, 0);
    else
        menu("mnuDeleteProject");
    if (!yes || isProjectRow(text) || trimSpaces(text).isEmpty())
        return;
    rows.removeAt(row);
    model.list(QStringLiteral("Project.List")) = stored(rows, true);
    const QString name = trimSpaces(text);
    if (isUsableFileName(name) && model.folders.count(projectFolder(name)))
        model.removeProjectFolder(name);
}

void ModelSession::deleteTopic()
{
    const int row = pick(topics().ListCount());
    if (row < 0)
        return;
    click(topics(), row);
    QStringList rows = rowsOf(topics());
    const QString name = topicName(row);
    const QString file = fileListPath(level(), name);
    const bool shared = fileShownElsewhere(file, row);
    const bool yes = chance(60);
    answer({yes ? MsgBox::Yes : MsgBox::No});
    if (topics().ListCount() >= 2 && chance(30))
        popupItem(topics(), row, "mnuTopicPopupDeleteTopic");
    else
        topics().userKeyDown(Key::Delete, 0);
    if (!yes || isProjectRow(rows[row]))
        return;
    rows.removeAt(row);
    model.list(topicListPath(level())) = stored(rows, true);
    if (!shared && isUsableFileName(name))
        model.remove(file);
}

// --- moving names ---

void ModelSession::cutProject()
{
    const int row = pick(projects().ListCount());
    if (row < 0)
        return;
    click(projects(), row);
    menu("mnuCutProject");
}

// Runs a name paste; false when nothing was pasted: the item disabled, the name refused, or the
// clipboard changed since the cut (the refusal puts the cut name back on it).
bool ModelSession::pasteTook(const char *item, const QString &cut, const QString &text, bool refused)
{
    if (!menu(item))
        return false;
    if (!cut.isEmpty() && text != cut) {
        if (clipboard.content != cut)
            failure = QStringLiteral("a paste refused for a changed clipboard did not put the cut name back");
        return false;
    }
    return !refused;
}

// A paste takes the clipboard's text as a name typed would be taken, and a project name the list
// does not hold yet. With a cut name pending, other text on the clipboard is refused and the cut
// name put back.
void ModelSession::pasteProject()
{
    // Sometimes another program has put its text on the clipboard.
    if (chance(20) && projects().ListCount() > 0)
        clipboard.content = pickName();
    if (chance(50))
        click(projects(), pick(projects().ListCount()));
    const bool atRow = chance(50);
    const QString cut = form->state.CutProjectName;
    const QString text = clipboard.content;
    const QString name = pastedName(text);
    const bool refused = name.isEmpty() || !newNameRefusal(name).isEmpty()
        || duplicateNameRow(projects(), name, NameField::WholeRow) >= 0;
    QStringList rows = rowsOf(projects());
    const int index = projects().ListIndex();
    if (!pasteTook(atRow ? "mnuPasteProjectRow" : "mnuPasteProjectEOF", cut, text, refused))
        return;
    rows.insert(atRow && index >= 0 && index <= rows.size() ? index : rows.size(), name);
    model.list(QStringLiteral("Project.List")) = stored(rows, true);
}

void ModelSession::cutTopic()
{
    const int row = pick(topics().ListCount());
    if (row < 0)
        return;
    click(topics(), row);
    if (topics().ListCount() >= 2 && chance(50))
        popupItem(topics(), row, "mnuTopicPopupCutTopicName");
    else
        menu("mnuTopicPopupCutTopicName");
}

// As pasteProject; the same topic name may be pasted again (the rows share its file), but not in
// another letter case, nor the project's own name.
void ModelSession::pasteTopic()
{
    if (chance(15))
        clipboard.content = pickName();
    if (chance(50))
        click(topics(), pick(topics().ListCount()));
    const bool atRow = chance(50);
    const QString cut = form->state.CutTopicName;
    const QString text = clipboard.content;
    const QString name = pastedName(text);
    const int same = duplicateNameRow(topics(), name, NameField::FirstColumn);
    const bool refused = name.isEmpty() || !newNameRefusal(name).isEmpty()
        || (same >= 0 && trimSpaces(topics().columnText(same, 0)) != name)
        || (!level().isEmpty() && name.toLower() == level().toLower());
    QStringList rows = rowsOf(topics());
    const int index = topics().ListIndex();
    if (!pasteTook(atRow ? "mnuTopicPopupPasteTopicNameAtSelectedRow" : "mnuTopicPopupPasteNameAtEndOfList",
                   cut, text, refused))
        return;
    rows.insert(atRow && index >= 0 && index <= rows.size() ? index : rows.size(), name);
    if (rows.size() >= 2)
        model.list(topicListPath(level())) = stored(rows, true);
}

// --- sorting ---

void ModelSession::sortOrRebuild()
{
    static const char *const items[] = {
        "mnuSortNoSortProjects", "mnuSortAscendingProjects", "mnuSortDescendingProjects", "mnuRebuildProjectList",
        "mnuTopicNoSort", "mnuTopicSortAscending", "mnuTopicSortDescending", "mnuTopicRebuildTopicList",
        "mnuSortNoSortFiles", "mnuSortAscendingFiles", "mnuSortDescendingFiles", "mnuRebuildFileList",
    };
    const QString item = QString::fromLatin1(items[pick(12)]);
    const QStringList projectRows = rowsOf(projects());
    const QStringList topicRows = rowsOf(topics());
    const QStringList fileRows = rowsOf(files());
    const QString shown = relative(form->state.FileListPath);
    form->menuClick(item);
    if (item == u"mnuRebuildProjectList" && projectRows.size() >= 2)
        model.list(QStringLiteral("Project.List")) = stored(projectRows, true);
    else if (item == u"mnuTopicRebuildTopicList" && topicRows.size() >= 2)
        model.list(topicListPath(level())) = stored(topicRows, true);
    else if (item == u"mnuRebuildFileList")
        model.list(shown) = stored(fileRows, false);
}

// --- pointers ---

void ModelSession::addPointer()
{
    if (chance(50))
        click(files(), pick(files().ListCount()));
    const int editorRow = files().ListIndex();
    const bool insert = chance(50);
    const QString typedName = pickOf(PointerNames);
    const QString name = typedName.trimmed();
    QStringList rows = rowsOf(files());
    const QString shown = relative(form->state.FileListPath);
    QString address;
    QString target;
    bool refused = name.isEmpty();
    const int kind = pick(3);
    if (kind == 0) {
        address = pickOf({QStringLiteral("example.org"), QStringLiteral("httpbin.org/get"),
                          QStringLiteral("HTTPS://Secure.example.org"), QStringLiteral("no-dot"), QStringLiteral("me@example.org")});
        refused = refused || !address.contains(u'.') || address.contains(u'@');
        target = Launcher::hasWebsiteScheme(address) ? address : QStringLiteral("http://") + address;
    } else if (kind == 1) {
        address = pickOf({QStringLiteral("someone@example.org"), QStringLiteral("MAILTO:x@example.org"), QStringLiteral("nobody")});
        refused = refused || !address.contains(u'@');
        target = address.startsWith(u"mailto:", Qt::CaseInsensitive) ? address : QStringLiteral("mailto:") + address;
    } else {
        target = pickOf({QStringLiteral("/home/u/report.txt"), QStringLiteral("/home/u/with space.odt"), QStringLiteral("/srv/x.bin")});
        refused = refused || duplicateNameRow(files(), name, NameField::FirstColumn) >= 0;
        dialogs.choices = {{target}};
    }
    plays = {[kind, address, typedName, insert](PointerEditor &e) {
        if (insert)
            e.optInsertName_Click();
        else
            e.optAppendName_Click();
        if (kind != 2)
            e.setText(e.txtInternetAddress, address);
        e.setText(e.txtPointerName, typedName);
        e.cmdSave_Click();
    }};
    int key = kind == 0 ? Key::F7 : kind == 1 ? Key::F8 : Key::F6;
    form->Form_KeyDown(key, 0);
    dialogs.choices.clear();
    if (refused)
        return;
    rows.insert(insert && editorRow >= 0 ? std::min(int(rows.size()), editorRow) : int(rows.size()),
                name + u'\t' + target);
    model.list(shown) = stored(rows, false);
}

void ModelSession::editPointer()
{
    const int row = pick(files().ListCount());
    if (row < 0)
        return;
    click(files(), row);
    QStringList rows = rowsOf(files());
    QStringList fields = rows[row].split(u'\t');
    while (fields.size() < 2)
        fields << QString();
    const bool rename = chance(40);
    const QString name = rename || chance(30) ? pickOf(PointerNames) : fields[0];
    const QString target = rename ? fields[1]
                                  : pickOf({QStringLiteral("/home/u/moved.txt"), QStringLiteral("http://example.net"),
                                            QStringLiteral(" /spaced "), QString()});
    const bool refused = duplicateNameRow(files(), name, NameField::FirstColumn, row) >= 0
        || target.trimmed().isEmpty() || (rename && form->state.FileSort != SortOrder::None);
    const QString shown = relative(form->state.FileListPath);
    plays = {[name, target](PointerEditor &e) {
        e.setText(e.txtPointerName, name);
        e.setText(e.txtInternetAddress, target);
        e.cmdSave_Click();
    }};
    if (rename) {
        popupItem(files(), row, "mnuRenameSelectedFiles");
    } else {
        int key = Key::F3;
        form->Form_KeyDown(key, 0);
    }
    if (refused || (name == fields[0] && target == fields[1]))
        return;
    fields[0] = name;
    fields[1] = target;
    rows[row] = fields.join(u'\t');
    model.list(shown) = stored(rows, false);
}

void ModelSession::removePointers()
{
    const int count = files().ListCount();
    if (count == 0)
        return;
    selectSomeFiles();
    QStringList rows;
    for (int i = 0; i < count; ++i) {
        if (files().isSelected(i))
            rows << files().rowText(i);
    }
    const QString shown = relative(form->state.FileListPath);
    const bool yes = chance(70);
    answer({yes ? MsgBox::Yes : MsgBox::No});
    files().userKeyDown(Key::Delete, 0);
    if (yes)
        model.list(shown) = without(model.lines(shown), rows);
}

// --- cleaning up and the user's own files ---

void ModelSession::cleanUp()
{
    QStringList owned;
    // A project name cut and not pasted yet keeps its folder too.
    for (const QString &name : model.lines(QStringLiteral("Project.List")) + rowsOf(projects())
             + QStringList{form->state.CutProjectName})
        owned << trimSpaces(name).toLower();
    QStringList orphans;
    for (const QString &folder : model.folders) {
        const QString name = trimSpaces(folder.mid(9));
        if (name.size() >= 3 && !owned.contains(name.toLower()) && model.holdsProgramFilesOrNothing(folder.mid(9)))
            orphans << folder.mid(9);
    }
    const bool yes = chance(60);
    const bool again = chance(60);
    const bool asksAgain = orphans.size() * 2 > int(model.folders.size());
    answer({yes ? MsgBox::Yes : MsgBox::No, again ? MsgBox::Yes : MsgBox::No});
    if (chance(50))
        menu("mnuCleanProjects");
    else
        form->toolbarEntryClick(QStringLiteral("Clean Files"));
    const bool askedAgain = std::any_of(ui.boxes.begin(), ui.boxes.end(),
        [](const ShownBox &box) { return box.text.contains(u"Are You SURE"); });
    if (askedAgain)
        ++secondCleanupQuestions;
    if (yes && !orphans.isEmpty() && askedAgain != asksAgain)
        failure = askedAgain ? QStringLiteral("clean-up asked again for at most half of the folders")
                             : QStringLiteral("clean-up did not ask again for more than half of the folders");
    if (!yes || (asksAgain && !again))
        return;
    for (const QString &orphan : orphans)
        model.removeProjectFolder(orphan);
}

void ModelSession::saveUserFile()
{
    QString folder = QStringLiteral("Projects/") + pickOf({QStringLiteral("Stray Work"), QStringLiteral("Scans"), QStringLiteral("alpha")});
    if (!model.folders.empty() && chance(70))
        folder = *std::next(model.folders.begin(), pick(int(model.folders.size())));
    const QString path = folder + QStringLiteral("/document ") + QString::number(++userFiles) + QStringLiteral(".txt");
    const QByteArray bytes = "written by the user, " + path.toUtf8();
    data.write(path, bytes);
    model.userFiles[path] = bytes;
    model.folders.insert(folder);
}

// --- undo ---

ReferenceModel ModelSession::asNow(const ReferenceModel &then, const ReferenceModel &left) const
{
    // The model as it is now with only the step taken back: what the step changed returns to how
    // it was, and whatever came after it and is no part of it stays (a project opened since makes
    // its folder and empty lists, which Undo leaves).
    ReferenceModel now = model;
    std::vector<QString> gone;
    std::vector<QString> come;
    std::set_difference(left.folders.begin(), left.folders.end(), then.folders.begin(), then.folders.end(),
                        std::back_inserter(gone));
    std::set_difference(then.folders.begin(), then.folders.end(), left.folders.begin(), left.folders.end(),
                        std::back_inserter(come));
    std::set<QString> paths;
    for (const auto &[path, lines] : then.lists)
        paths.insert(path);
    for (const auto &[path, lines] : left.lists)
        paths.insert(path);
    paths.erase(QStringLiteral("Paste.Lst")); // Undo leaves it as it is
    for (const QString &path : paths) {
        const auto was = then.lists.find(path);
        const auto is = left.lists.find(path);
        const bool changed = (was == then.lists.end()) != (is == left.lists.end())
            || (was != then.lists.end() && was->second != is->second);
        if (!changed)
            continue;
        if (was == then.lists.end())
            now.lists.erase(path);
        else
            now.lists[path] = was->second;
    }
    for (const QString &folder : gone)
        now.folders.erase(folder);
    for (const QString &folder : come)
        now.folders.insert(folder);
    const bool renamed = gone.size() == 1 && come.size() == 1;
    now.userFiles.clear();
    for (const auto &[path, bytes] : model.userFiles) {
        QString moved = path;
        if (renamed && path.startsWith(gone[0] + u'/'))
            moved = come[0] + path.sliced(gone[0].size());
        now.userFiles[moved] = bytes;
        now.folders.insert(moved.section(u'/', 0, 1));
    }
    return now;
}

void ModelSession::undoAndRedo()
{
    const std::set<QString> beforeUndo = pointersOnDisk();
    if (undoModels.empty() != !form->commands.item(QStringLiteral("mnuUndo"))->enabled)
        failure = QStringLiteral("Undo is enabled without a step, or disabled with one");
    if (!menu("mnuUndo"))
        return;
    auto [then, after] = undoModels.back();
    undoModels.pop_back();
    // Refused when a file changed since the step (a topic renamed or deleted, or a document of
    // the user's in a folder to go, say): nothing may have changed then, which the check after
    // every step sees. The step leaves the history.
    for (const ShownBox &box : ui.boxes) {
        if (box.title == u" Cannot Undo")
            return;
    }
    model = asNow(then, after);
    if (const QStringList differences = model.compare(data); !differences.isEmpty()) {
        failure = QStringLiteral("Undo did not bring back the data folder: ") + differences.join(u"; ");
        return;
    }
    if (chance(25)) {
        log << QStringLiteral("  and copy pointers");
        cutOrCopy(false);
    }
    const std::set<QString> beforeRedo = pointersOnDisk();
    // Only a Cut moves pointers into Paste.Lst, which a Copy in between replaces; an edit or a
    // removal redone takes its pointers away on purpose.
    const MenuItem *redoItem = form->commands.item(QStringLiteral("mnuRedo"));
    const bool redoesCut = redoItem && redoItem->caption.startsWith(u"Redo Cut ");
    const auto boxes = ui.boxes.size();
    if (!menu("mnuRedo"))
        failure = QStringLiteral("Redo is disabled after an Undo");
    // A Cut is not redone once Paste.Lst holds other pointers: copied now, or cut by a later Cut
    // undone before this one.
    const bool refused = ui.boxes.size() == boxes + 1 && ui.boxes.back().title == u" Cannot Redo"
        && ui.boxes.back().text.contains(u"/Paste.Lst]  Was Changed Since.");
    if (!refused && ui.boxes.size() != boxes)
        failure = QStringLiteral("a change just undone could not be redone: ") + ui.boxes.back().text;
    if (!refused) {
        model = asNow(after, then);
        undoModels.emplace_back(then, after);
    }
    const std::set<QString> afterRedo = pointersOnDisk();
    for (const QString &pointer : beforeUndo) {
        if (redoesCut && beforeRedo.count(pointer) && !afterRedo.count(pointer))
            failure = QStringLiteral("Redo left a pointer in no file: ") + pointer;
    }
}

} // namespace corvanta::test
