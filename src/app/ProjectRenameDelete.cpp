// Renaming and deleting projects and topics.
#include "app/ProjectMaintenance.h"

#include "app/Operations.h"
#include "app/ProjectCleanup.h"
#include "app/UndoHistory.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/FileOps.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

#include <QFileInfo>

#include <vector>

namespace corvanta {

namespace {

constexpr int DeleteQuestion = MsgBox::YesNo | MsgBox::Exclamation | MsgBox::DefaultButton2;
const QString NotCreatedByUs = QStringLiteral("NOTE: This Will NOT Delete Any Files Created By Application Programs")
    + fiveSpaces() + QStringLiteral("\rSuch As Word, Excel, Notepad, Or Other Application Programs.") + fiveSpaces()
    + u'\r';

// Tells that a file or folder could not be put back where it was, and where it is now.
void tellNotPutBack(Ui &ui, const QString &now, const QString &was, const FsResult &why)
{
    ui.msgBox(QStringLiteral("[") + userText(now) + QStringLiteral("]  Could Not Be Put Back As  [") + userText(was)
                  + QStringLiteral("].") + fiveSpaces() + u'\r' + why.reason + QStringLiteral("\rIt Is Still At  [")
                  + userText(now) + QStringLiteral("].\r"),
              QStringLiteral(" Error ") + QString::number(why.error), MsgBox::OkOnly | MsgBox::Exclamation);
}

// Renames the project's list files, then its folder; a step that fails undoes the ones before,
// so the disk is either wholly renamed or as it was. A step that cannot be undone is told, with
// where its file now is.
FsResult moveProjectFiles(Store &store, Ui &ui, const QString &oldFolder, const QString &newFolder, const QString &oldName,
                          const QString &newName, std::vector<UndoHistory::Move> *made = nullptr)
{
    struct Step { QString from, to; };
    const Step steps[] = {
        {oldFolder + u'/' + oldName + QStringLiteral(".List"), oldFolder + u'/' + newName + QStringLiteral(".List")},
        {oldFolder + u'/' + oldName + QStringLiteral(".Files"), oldFolder + u'/' + newName + QStringLiteral(".Files")},
        {oldFolder, newFolder},
    };
    std::vector<const Step *> done;
    for (const Step &step : steps) {
        if (step.from != oldFolder && !QFileInfo::exists(step.from))
            continue; // a missing list file is made when the project is opened
        const FsResult moved = renamePath(store, step.from, step.to);
        if (!moved) {
            for (auto back = done.rbegin(); back != done.rend(); ++back) {
                if (const FsResult putBack = renamePath(store, (*back)->to, (*back)->from); !putBack)
                    tellNotPutBack(ui, (*back)->to, (*back)->from, putBack);
            }
            return moved;
        }
        done.push_back(&step);
    }
    if (made) {
        for (const Step *step : done)
            made->push_back({step->from, step->to});
    }
    return {};
}

} // namespace

void ProjectMaintenance::RenameProject()
{
    int index = -1;
    QString oldName;
    QString newName;
    if (!askProjectRename(&index, &oldName, &newName))
        return;
    // The files and the folder first; the list changes only when they all moved.
    c.ui.setBusy(true);
    PointerChange change(c.undo, projectStepName(QStringLiteral("Rename"), oldName));
    change.touch(s.ProjectListPath);
    change.showNames(UndoHistory::NameList::Projects, {}, oldName, newName);
    std::vector<UndoHistory::Move> moves;
    const FsResult moved =
        moveProjectFiles(c.store, c.ui, projectFolder(oldName), projectFolder(newName), oldName, newName, &moves);
    if (!moved) {
        c.ui.setBusy(false);
        showFailure(moved);
        return;
    }
    if (showRenamedProject(index, oldName, newName)) {
        for (const UndoHistory::Move &move : moves)
            change.moved(move.from, move.to);
    }
}

bool ProjectMaintenance::askProjectRename(int *index, QString *oldName, QString *newName)
{
    ListControl &list = c.lstProjectList;
    int row = list.ListIndex();
    if (row < 0 || row >= list.ListCount())
        return false;
    const QString name = trimSpaces(list.rowText(row));
    if (!isUsableFileName(name) || isProjectRow(list.rowText(row))) {
        c.ui.beep(); // the blank row of an empty list or the sort marker
        return false;
    }

    if (!isRealFolder(projectFolder(name))) {
        const int answer = c.ui.msgBox(
            QStringLiteral("The Project You Are Trying to Rename Does Not Exist.") + fiveSpaces()
                + QStringLiteral("\rRight Click Your Mouse And Select 'Delete' To Delete This Name,") + fiveSpaces()
                + QStringLiteral("\rOr Double Click This Project Name To Create Project Files.\r\rDo You Want To Delete  [")
                + userText(list.rowText(row)) + QStringLiteral("]  Now?\r"),
            QStringLiteral(" Project  [") + name.toUpper() + QStringLiteral("]  Not Found"),
            DeleteQuestion);
        if (answer == MsgBox::Yes)
            DeleteProject();
        return false;
    }

    if (s.ProjectSort != SortOrder::None) {
        const int answer = c.ui.msgBox(
            QStringLiteral("This Option Will Rebuild Your Project List. Therefore,") + fiveSpaces()
                + QStringLiteral("\rYou Must Sort The Project List In 'No Sort' Order.\r\rDo You Want Corvanta To Execute 'No Sort'?\r"),
            QStringLiteral(" Incorrect Sort Order"), MsgBox::YesNo | MsgBox::Exclamation);
        if (answer != MsgBox::Yes)
            return false;
        const QString selected = list.columnText(row, 0);
        c.sorting.sortProjects(SortOrder::None);
        row = -1;
        for (int i = 0; i < list.ListCount() && row < 0; ++i) {
            if (list.columnText(i, 0) == selected)
                row = i;
        }
        if (row < 0)
            return false;
        list.selectRow(row);
    }

    for (;;) {
        if (!askName(EditorMode::RenameProject, newName))
            return false;
        if (newName->isEmpty() || *newName == name)
            return false;
        if (refuseNewName(*newName) || refuseDuplicate(*newName, true))
            continue;
        if (existsIgnoringCase(projectFolder(*newName))) {
            alreadyOnFile(QStringLiteral("Project"), *newName);
            continue;
        }
        break;
    }
    *index = row;
    *oldName = name;
    return true;
}

bool ProjectMaintenance::showRenamedProject(int index, const QString &oldName, const QString &newName)
{
    ListControl &list = c.lstProjectList;
    list.setRow(index);
    list.setList(newName);
    if (!writeProjectList()) {
        // Project.List still names the old folder: the folder goes back to it.
        list.setRow(index);
        list.setList(oldName);
        if (const FsResult back = moveProjectFiles(c.store, c.ui, projectFolder(newName), projectFolder(oldName), newName, oldName);
            !back)
            tellNotPutBack(c.ui, projectFolder(newName), projectFolder(oldName), back);
        list.selectRow(index);
        c.ui.setBusy(false);
        return false;
    }
    list.selectRow(index);
    const bool wasOpen = s.CurrentProject == oldName;
    c.ui.setBusy(false);
    if (wasOpen) {
        // The open project's paths are gone: start again from the top.
        c.navigation.loadEntryScreen();
        list.selectRow(index);
        return true;
    }
    c.window.giveFocus(&list);
    return true;
}

QString ProjectMaintenance::rowFile(int row) const
{
    const ListControl &list = c.lstTopicList;
    if (!isProjectRow(list.rowText(row)))
        return topicFile(trimSpaces(list.columnText(row, 0)));
    return s.CurrentProject.isEmpty() ? s.ProgramFolder + QStringLiteral("/Project.Files")
                                      : projectFolder(s.CurrentProject) + u'/' + s.CurrentProject + QStringLiteral(".Files");
}

bool ProjectMaintenance::fileInUse(const QString &file, int row) const
{
    for (int i = 0; i < c.lstTopicList.ListCount(); ++i) {
        if (i != row && rowFile(i) == file)
            return true;
    }
    return false;
}

void ProjectMaintenance::RenameTopic()
{
    ListControl &list = c.lstTopicList;
    const int index = list.ListIndex();
    if (index < 0 || index >= list.ListCount())
        return;
    if (isProjectRow(list.rowText(index))) {
        c.ui.beep();
        c.ui.msgBox(QStringLiteral("You Cannot Rename This Topic Row.") + fiveSpaces() + u'\r',
                    QStringLiteral(" Invalid Rename Attempt"), MsgBox::OkOnly | MsgBox::Exclamation);
        return;
    }
    const QString oldName = trimSpaces(list.columnText(index, 0));
    if (!isUsableFileName(oldName)) {
        c.ui.beep();
        return;
    }

    QString newName;
    const QString oldFile = topicFile(oldName);
    QString newFile;
    for (;;) {
        if (!askName(EditorMode::RenameTopic, &newName))
            return;
        if (refuseNewName(newName) || refuseDuplicate(newName, false))
            continue;
        newFile = topicFile(newName);
        if (newFile != oldFile && existsIgnoringCase(newFile)) {
            alreadyOnFile(QStringLiteral("Topic"), newName);
            continue;
        }
        break;
    }
    if (newFile == oldFile) {
        c.ui.beep();
        return;
    }

    // A file another row still shows stays where it is; the renamed row gets a copy.
    const bool shared = fileInUse(oldFile, index);
    const bool exists = QFileInfo::exists(oldFile);
    PointerChange change(c.undo, topicStepName(QStringLiteral("Rename"), oldName, s.CurrentProject));
    change.touch(s.TopicListPath);
    change.showNames(UndoHistory::NameList::Topics, s.CurrentProject, oldName, newName);
    if (shared)
        change.touchFile(newFile);
    if (exists) {
        const FsResult moved = shared ? copyFile(oldFile, newFile) : renamePath(c.store, oldFile, newFile);
        if (!moved) {
            showFailure(moved);
            return;
        }
    }
    const QString before = list.rowText(index);
    list.setRow(index);
    list.setList(newName);
    if (!writeTopicList()) {
        list.setRow(index);
        list.setList(before);
        if (exists && shared) {
            if (const FsResult removed = removeFile(c.store, newFile); !removed)
                showFailure(removed); // a spare copy, named in no list
        } else if (exists) {
            if (const FsResult back = renamePath(c.store, newFile, oldFile); !back)
                tellNotPutBack(c.ui, newFile, oldFile, back);
        }
        return;
    }
    if (shared && exists) {
        const QString upper = oldName.toUpper();
        c.ui.msgBox(QStringLiteral("The Topic Files Of - ") + upper + QStringLiteral(" - Stay, Because Another Row Still Uses Them.")
                        + fiveSpaces() + QStringLiteral("\rThe Renamed Topic Keeps A Copy Of Them.\r"),
                    QStringLiteral(" Rename Topic: ") + newName.toUpper(), MsgBox::OkOnly | MsgBox::Information);
    }
    if (exists && !shared)
        change.moved(oldFile, newFile);
    // The File List shown keeps showing, now under its new name.
    if (s.FileListPath == oldFile && !shared) {
        s.FileListPath = newFile;
        s.CurrentTopic = newName;
    }
    if (list.isSelected(index))
        c.navigation.selectTopic();
}

void ProjectMaintenance::DeleteProject()
{
    ListControl &list = c.lstProjectList;
    const int index = list.ListIndex();
    if (index < 0 || index >= list.ListCount())
        return;
    const QString name = list.rowText(index);
    // The sort marker and the blank row of an empty list stand for no project.
    if (isProjectRow(name) || trimSpaces(name).isEmpty()) {
        c.ui.beep();
        return;
    }
    const QString upper = userText(name).toUpper();
    const int answer = c.ui.msgBox(
        QStringLiteral("This Will Delete - ") + upper + QStringLiteral(" - And All Of Its Project Files!\rAre You SURE You Want To Delete - ")
            + upper + QStringLiteral(" - And Its Project Files?") + fiveSpaces() + QStringLiteral("\r\r") + NotCreatedByUs,
        QStringLiteral(" Delete Project: ") + userText(name), DeleteQuestion);
    if (answer != MsgBox::Yes)
        return;
    // Only a name that is a folder of its own inside Projects/ has files to delete.
    const QString folder = projectFolder(trimSpaces(name));
    const bool hasFolder = isUsableFileName(name) && isRealFolder(folder);
    const QStringList ownFiles = hasFolder ? programFilesIn(folder, trimSpaces(name)) : QStringList();
    const bool toTrash = hasFolder && trashUsableFor(folder);
    if (!ownFiles.isEmpty() && !toTrash
        && !deleteForGood(c.ui, QStringLiteral("The Project Files Of - ") + upper + QStringLiteral(" -"),
                          QStringLiteral(" Delete Project: ") + userText(name)))
        return;

    PointerChange change(c.undo, projectStepName(QStringLiteral("Delete"), trimSpaces(name)));
    change.touch(s.ProjectListPath);
    for (const QString &file : ownFiles)
        change.touchFile(file, true);
    if (hasFolder)
        change.touchFolder(folder);
    list.setRow(index);
    list.removeRow(index);
    if (!writeProjectList()) {
        // Project.List still names it: the row comes back and no file goes.
        list.setRow(index);
        list.insertRow(name);
        list.selectRow(index);
        return;
    }
    list.selectRow(std::max(index - 1, 0));
    change.showNames(UndoHistory::NameList::Projects, {}, name,
                     list.ListCount() > 0 ? list.rowText(std::max(index - 1, 0)) : QString());
    const bool kept = hasFolder && !removeProjectFolder(c.store, folder, trimSpaces(name), toTrash);
    if (!s.CurrentProject.isEmpty() && s.CurrentProject == name) {
        c.navigation.loadEntryScreen();
        list.selectRow(std::max(index - 1, 0));
    }
    if (kept)
        c.ui.msgBox(keptFoldersText({folder}, toTrash), QStringLiteral(" Delete Project: ") + name,
                    MsgBox::OkOnly | MsgBox::Information);
}

void ProjectMaintenance::DeleteTopic()
{
    ListControl &list = c.lstTopicList;
    int index = list.ListIndex();
    if (index < 0 || index >= list.ListCount())
        return;
    const QString rowText = list.rowText(index);
    if (isProjectRow(rowText)) {
        c.ui.beep();
        c.ui.msgBox(QStringLiteral("You Cannot Delete This Topic Row.") + fiveSpaces() + u'\r',
                    QStringLiteral(" Invalid Delete Attempt"), MsgBox::OkOnly | MsgBox::Exclamation);
        return;
    }
    const QString name = trimSpaces(list.columnText(index, 0));
    const QString upper = userText(name).toUpper();
    const QString file = topicFile(name);
    // A file another row (or the project row) still shows stays; the question says so.
    const bool shared = fileInUse(file, index);
    const QString text = shared
        ? QStringLiteral("This Will Remove - ") + upper + QStringLiteral(" - From The Topic List.\rIts Topic Files Stay, Because Another Row Still Uses Them.")
            + fiveSpaces() + QStringLiteral("\r\rDo You Want To Remove - ") + upper + QStringLiteral(" - ?") + fiveSpaces() + u'\r'
        : QStringLiteral("This Will Delete - ") + upper + QStringLiteral(" - And All Of Its Topic Files!\rDo You Want To Delete - ")
            + upper + QStringLiteral(" - And Its Topic Files?") + fiveSpaces() + QStringLiteral("\r\r") + NotCreatedByUs;
    if (c.ui.msgBox(text, QStringLiteral(" Delete Topic: ") + upper, DeleteQuestion) != MsgBox::Yes)
        return;
    const bool ownFile = !shared && isUsableFileName(name) && QFileInfo(file).isFile();
    const bool toTrash = ownFile && trashUsableFor(QFileInfo(file).path());
    if (ownFile && !toTrash
        && !deleteForGood(c.ui, QStringLiteral("The Topic Files Of - ") + upper + QStringLiteral(" -"),
                          QStringLiteral(" Delete Topic: ") + upper))
        return;

    PointerChange change(c.undo, topicStepName(QStringLiteral("Delete"), name, s.CurrentProject));
    change.touch(s.TopicListPath);
    if (ownFile)
        change.touchFile(file, true);
    list.setRow(index);
    list.removeRow(index);
    if (!writeTopicList()) {
        // The topic list file still names it: the row comes back and its file stays.
        list.setRow(index);
        list.insertRow(rowText);
        list.selectRow(index);
        return;
    }
    if (index > list.ListCount() - 1)
        index = list.ListCount() - 1;
    list.selectRow(index);
    change.showNames(UndoHistory::NameList::Topics, s.CurrentProject, name,
                     index >= 0 && !isProjectRow(list.rowText(index)) ? trimSpaces(list.columnText(index, 0)) : QString());
    if (ownFile) {
        if (const FsResult removed = toTrash ? moveToTrash(c.store, file) : removeFile(c.store, file); !removed)
            showFailure(removed); // the list no longer names it; the file stays where it was
    }
    c.navigation.selectTopic(); // the File List follows the highlight
}

} // namespace corvanta
