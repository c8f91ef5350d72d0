// Renaming and deleting projects and topics.
#include "app/ProjectMaintenance.h"

#include "app/Operations.h"
#include "store/ListControl.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/FileOps.h"
#include "store/NameRules.h"

#include <QFileInfo>

namespace corvanta {

namespace {

constexpr int DeleteQuestion = MsgBox::YesNo | MsgBox::Exclamation | MsgBox::DefaultButton2;
const QString NotCreatedByUs = QStringLiteral("NOTE: This Will NOT Delete Any Files Created By Application Programs")
    + fiveSpaces() + QStringLiteral("\rSuch As Word, Excel, Notepad, Or Other Application Programs.") + fiveSpaces()
    + u'\r';

// Renames the project's list files, then its folder; a step that fails undoes the ones before,
// so the disk is either wholly renamed or as it was.
FsResult moveProjectFiles(const QString &oldFolder, const QString &newFolder, const QString &oldName,
                          const QString &newName)
{
    struct Step { QString from, to; };
    const Step steps[] = {
        {oldFolder + u'/' + oldName + QStringLiteral(".List"), oldFolder + u'/' + newName + QStringLiteral(".List")},
        {oldFolder + u'/' + oldName + QStringLiteral(".Files"), oldFolder + u'/' + newName + QStringLiteral(".Files")},
        {oldFolder, newFolder},
    };
    int done = 0;
    for (const Step &step : steps) {
        if (step.from != oldFolder && !QFileInfo::exists(step.from)) {
            ++done; // a missing list file is made when the project is opened
            continue;
        }
        const FsResult moved = renamePath(step.from, step.to);
        if (!moved) {
            for (int back = done - 1; back >= 0; --back)
                renamePath(steps[back].to, steps[back].from);
            return moved;
        }
        ++done;
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
    const FsResult moved = moveProjectFiles(projectFolder(oldName), projectFolder(newName), oldName, newName);
    if (!moved) {
        c.ui.setBusy(false);
        showFailure(moved);
        return;
    }
    showRenamedProject(index, oldName, newName);
}

bool ProjectMaintenance::askProjectRename(int *index, QString *oldName, QString *newName)
{
    ListControl &list = c.lstProjectList;
    int row = list.ListIndex();
    if (row < 0 || row >= list.ListCount())
        return false;
    const QString name = list.rowText(row).trimmed();
    if (!isUsableFileName(name) || name.contains(QStringLiteral("..."))) {
        c.ui.beep(); // the blank row of an empty list or the sort marker
        return false;
    }

    if (!isRealFolder(projectFolder(name))) {
        const int answer = c.ui.msgBox(
            QStringLiteral("The Project You Are Trying to Rename Does Not Exist.") + fiveSpaces()
                + QStringLiteral("\rRight Click Your Mouse And Select 'Delete' To Delete This Name,") + fiveSpaces()
                + QStringLiteral("\rOr Double Click This Project Name To Create Project Files.\r\rDo You Want To Delete  [")
                + list.rowText(row) + QStringLiteral("]  Now?\r"),
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
        c.operations.run(QStringLiteral("mnuSortNoSortProjects"));
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

void ProjectMaintenance::showRenamedProject(int index, const QString &oldName, const QString &newName)
{
    ListControl &list = c.lstProjectList;
    list.setRow(index);
    list.setList(newName);
    writeProjectList();
    list.selectRow(index);
    const bool wasOpen = s.CurrentProject == oldName;
    c.ui.setBusy(false);
    if (wasOpen) {
        // The open project's paths are gone: start again from the top.
        c.operations.run(QStringLiteral("LoadEntryScreen"));
        list.selectRow(index);
        return;
    }
    c.window.giveFocus(&list);
}

void ProjectMaintenance::RenameTopic()
{
    ListControl &list = c.lstTopicList;
    const int index = list.ListIndex();
    if (index < 0 || index >= list.ListCount())
        return;
    const QString oldName = list.columnText(index, 0).trimmed();
    if (index == 0 && oldName.contains(QStringLiteral("..."))) {
        c.ui.beep();
        c.ui.msgBox(QStringLiteral("You Cannot Rename This Topic Row.") + fiveSpaces() + u'\r',
                    QStringLiteral(" Invalid Rename Attempt"), MsgBox::OkOnly | MsgBox::Exclamation);
        return;
    }
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

    if (QFileInfo::exists(oldFile)) {
        const FsResult moved = renamePath(oldFile, newFile);
        if (!moved) {
            showFailure(moved);
            return;
        }
    }
    list.setRow(index);
    list.setList(newName);
    writeTopicList(false);
    // The File List shown keeps showing, now under its new name.
    if (s.FileListPath == oldFile) {
        s.FileListPath = newFile;
        s.CurrentTopic = newName;
    }
}

void ProjectMaintenance::DeleteProject()
{
    ListControl &list = c.lstProjectList;
    const int index = list.ListIndex();
    if (index < 0 || index >= list.ListCount())
        return;
    const QString name = list.rowText(index);
    const QString upper = name.toUpper();
    const int answer = c.ui.msgBox(
        QStringLiteral("This Will Delete - ") + upper + QStringLiteral(" - And All Of Its Project Files!\rAre You SURE You Want To Delete - ")
            + upper + QStringLiteral(" - And Its Project Files?") + fiveSpaces() + QStringLiteral("\r\r") + NotCreatedByUs,
        QStringLiteral(" Delete Project: ") + name, DeleteQuestion);
    if (answer != MsgBox::Yes)
        return;

    list.setRow(index);
    list.setAction(4);
    list.selectRow(std::max(index - 1, 0));
    writeProjectList();
    // Only a name that is a folder of its own inside Projects/ has files to delete.
    const QString folder = projectFolder(name.trimmed());
    if (isUsableFileName(name) && !name.contains(QStringLiteral("...")) && isRealFolder(folder)) {
        removeFilesIn(folder);
        removeEmptyFolder(folder);
    }
    if (!s.CurrentProject.isEmpty() && s.CurrentProject == name) {
        c.operations.run(QStringLiteral("LoadEntryScreen"));
        list.selectRow(std::max(index - 1, 0));
    }
}

void ProjectMaintenance::DeleteTopic()
{
    ListControl &list = c.lstTopicList;
    int index = list.ListIndex();
    if (index < 0 || index >= list.ListCount())
        return;
    const QString name = list.columnText(index, 0).trimmed();
    if (index == 0 && name.contains(QStringLiteral("..."))) {
        c.ui.beep();
        c.ui.msgBox(QStringLiteral("You Cannot Delete This Topic Row.") + fiveSpaces() + u'\r',
                    QStringLiteral(" Invalid Delete Attempt"), MsgBox::OkOnly | MsgBox::Exclamation);
        return;
    }
    const QString upper = name.toUpper();
    const int answer = c.ui.msgBox(
        QStringLiteral("This Will Delete - ") + upper + QStringLiteral(" - And All Of Its Topic Files!\rDo You Want To Delete - ")
            + upper + QStringLiteral(" - And Its Topic Files?") + fiveSpaces() + QStringLiteral("\r\r") + NotCreatedByUs,
        QStringLiteral(" Delete Topic: ") + upper, DeleteQuestion);
    if (answer != MsgBox::Yes)
        return;

    list.setRow(index);
    list.setAction(4);
    if (index > list.ListCount() - 1)
        index = list.ListCount() - 1;
    list.selectRow(index);
    const QString file = topicFile(name);
    const bool shown = s.FileListPath == file;
    if (isUsableFileName(name) && !name.contains(QStringLiteral("...")) && QFileInfo(file).isFile())
        removeFile(file);
    writeTopicList(true);
    if (shown) {
        // Its File List is gone: show the project row's instead.
        list.selectRow(0);
        c.operations.run(QStringLiteral("SelectTopic"));
    }
}

} // namespace corvanta
