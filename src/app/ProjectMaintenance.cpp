#include "app/ProjectMaintenance.h"

#include "app/Operations.h"
#include "app/UndoHistory.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/FileOps.h"
#include "store/ListFiles.h"
#include "store/ListControl.h"
#include "store/NameRules.h"

#include <QFileInfo>

#include <optional>

namespace corvanta {

namespace {

constexpr int Refusal = MsgBox::OkOnly | MsgBox::Exclamation;
} // namespace

ProjectMaintenance::ProjectMaintenance(const FeatureContext &context, Editors &editors)
    : c(context), s(context.state), editors_(editors)
{
    const std::pair<const char *, void (ProjectMaintenance::*)()> commands[] = {
        {"CreateNewProject", &ProjectMaintenance::CreateNewProject},
        {"mnuCreateProject", &ProjectMaintenance::CreateNewProject},
        {"mnuAddNewProject", &ProjectMaintenance::CreateNewProject},
        {"toolbar:CreateProject", &ProjectMaintenance::CreateNewProject},
        {"entry:New Project", &ProjectMaintenance::CreateNewProject},
        {"CreateNewTopic", &ProjectMaintenance::CreateNewTopic},
        {"mnuTopicPopupAddNewTopic", &ProjectMaintenance::CreateNewTopic},
        {"mnuRenameProject", &ProjectMaintenance::RenameProject},
        {"mnuTopicPopupRenameTopic", &ProjectMaintenance::RenameTopic},
        {"DeleteProject", &ProjectMaintenance::DeleteProject},
        {"mnuDeleteProject", &ProjectMaintenance::DeleteProject},
        {"DeleteTopic", &ProjectMaintenance::DeleteTopic},
        {"mnuTopicPopupDeleteTopic", &ProjectMaintenance::DeleteTopic},
    };
    for (const auto &[name, method] : commands)
        c.operations.add(QString::fromLatin1(name), [this, method = method] { (this->*method)(); });
}

QString ProjectMaintenance::projectFolder(const QString &name) const
{
    return s.ProgramFolder + QStringLiteral("/Projects/") + name;
}

// A topic's File List: in Projects/ at the entry screen, in the project's folder otherwise.
QString ProjectMaintenance::topicFile(const QString &name) const
{
    const QString folder = s.CurrentProject.isEmpty() ? s.ProgramFolder + QStringLiteral("/Projects/")
                                                      : projectFolder(s.CurrentProject) + u'/';
    return folder + name + QStringLiteral(".Files");
}

bool ProjectMaintenance::askName(EditorMode mode, QString *name, bool *insertName)
{
    const EditorResult result = editors_.showEditor({mode});
    if (result.outcome != EditorResult::Outcome::Saved)
        return false;
    *name = result.name;
    if (insertName)
        *insertName = result.insertName;
    return true;
}

bool ProjectMaintenance::refuseNewName(const QString &name)
{
    return corvanta::refuseNewName(c.ui, name);
}

bool ProjectMaintenance::refuseDuplicate(const QString &name, bool project)
{
    const ListControl &list = project ? c.lstProjectList : c.lstTopicList;
    // In a project the project row stands for the project's own name: a topic of that name
    // would share the project row's File List.
    const bool projectsOwnName = !project && !s.CurrentProject.isEmpty()
        && name.toLower() == s.CurrentProject.toLower();
    if (!projectsOwnName
        && duplicateNameRow(list, name, project ? NameField::WholeRow : NameField::FirstColumn) < 0)
        return false;
    showDuplicateName(c.ui, name, project);
    return true;
}

void ProjectMaintenance::alreadyOnFile(const QString &kind, const QString &name)
{
    const QString upper = userText(name).toUpper();
    c.ui.msgBox(QStringLiteral("This ") + kind + QStringLiteral(" Name - ") + upper + QStringLiteral(" - Is Already On File.")
                    + fiveSpaces() + QStringLiteral("\rPlease Select Another Name.\r"),
                QStringLiteral(" Duplicate Name: ") + upper, Refusal);
}

void ProjectMaintenance::showFailure(const FsResult &result)
{
    c.ui.msgBox(result.reason, QStringLiteral(" Error ") + QString::number(result.error), Refusal);
}

bool ProjectMaintenance::writeProjectList()
{
    return reportSaveFailure(c.store, c.ui, s.ProjectListPath, writeNameList(c.store, s.ProjectListPath, c.lstProjectList));
}

bool ProjectMaintenance::writeTopicList()
{
    return reportSaveFailure(c.store, c.ui, s.TopicListPath, writeNameList(c.store, s.TopicListPath, c.lstTopicList));
}

// --- creating ---

void ProjectMaintenance::CreateNewProject()
{
    ListControl &list = c.lstProjectList;
    const int insertionRow = list.ListIndex();
    QString name;
    bool insertName = false;
    std::optional<PointerChange> change;
    for (;;) {
        if (!askName(EditorMode::NewProject, &name, &insertName))
            return;
        if (refuseNewName(name) || refuseDuplicate(name, true))
            continue;
        if (existsIgnoringCase(projectFolder(name))) {
            alreadyOnFile(QStringLiteral("Project"), name);
            continue;
        }
        // Folder and both list files, or nothing at all.
        const QString folder = projectFolder(name);
        if (!change) {
            change.emplace(c.undo, QString());
            change->touch(s.ProjectListPath);
        }
        change->touchFolder(folder);
        change->touchFile(folder + u'/' + name + QStringLiteral(".List"));
        change->touchFile(folder + u'/' + name + QStringLiteral(".Files"));
        FsResult made = makeFolder(folder);
        if (made)
            made = createEmptyFile(c.store, folder + u'/' + name + QStringLiteral(".List"));
        if (made)
            made = createEmptyFile(c.store, folder + u'/' + name + QStringLiteral(".Files"));
        if (!made) {
            // The failure is shown; a folder that cannot go is offered by the clean-up later.
            static_cast<void>(removeProjectFolder(c.store, folder, name));
            showFailure(made);
            continue;
        }
        break;
    }
    change->setLabel(projectStepName(QStringLiteral("Create"), name));
    change->showNames(UndoHistory::NameList::Projects, {}, {}, name);

    c.ui.setBusy(true);
    s.SuppressListClick = true;
    // The blank row of an empty Project List only stands in for a first project.
    if (list.ListCount() == 1 && list.rowText(0).trimmed().isEmpty())
        list.clear();
    const bool insert = insertName && insertionRow >= 0 && insertionRow < list.ListCount();
    const int row = insert ? insertionRow : list.ListCount();
    list.setRow(row);
    list.insertRow(name);
    list.setListIndex(row);
    list.setSelected(true);
    const bool saved = insert ? writeProjectList()
                              : reportSaveFailure(c.store, c.ui, s.ProjectListPath, appendName(c.store, s.ProjectListPath, name));
    if (!saved) {
        // Project.List does not name it: neither the row nor the new, empty folder stays.
        list.setRow(row);
        list.removeRow(row);
        // The failure is shown; a folder that cannot go is offered by the clean-up later.
        static_cast<void>(removeProjectFolder(c.store, projectFolder(name), name));
        if (list.ListCount() == 0) {
            list.setRow(0);
            list.insertRow(QStringLiteral(" "));
        }
        list.selectRow(std::min(std::max(insertionRow, 0), list.ListCount() - 1));
        s.SuppressListClick = false;
        c.ui.setBusy(false);
        return;
    }
    s.SuppressListClick = false;
    c.sorting.applyProjectSort();
    c.window.giveFocus(&list);
    list.selectRow(insertionRow >= 0 ? insertionRow : row);
    c.ui.setBusy(false);
}

void ProjectMaintenance::CreateNewTopic()
{
    ListControl &list = c.lstTopicList;
    const int insertionRow = std::max(list.ListIndex(), 1);
    QString name;
    bool insertName = false;
    std::optional<PointerChange> change;
    for (;;) {
        if (!askName(EditorMode::NewTopic, &name, &insertName))
            return;
        if (refuseNewName(name) || refuseDuplicate(name, false))
            continue;
        const QString file = topicFile(name);
        if (existsIgnoringCase(file)) {
            alreadyOnFile(QStringLiteral("Topic"), name);
            continue;
        }
        if (!change) {
            change.emplace(c.undo, QString());
            change->touch(s.TopicListPath);
        }
        change->touchFile(file);
        const FsResult made = createEmptyFile(c.store, file);
        if (!made) {
            showFailure(made);
            continue;
        }
        break;
    }
    change->setLabel(topicStepName(QStringLiteral("Create"), name, s.CurrentProject));
    change->showNames(UndoHistory::NameList::Topics, s.CurrentProject, {}, name);

    c.ui.setBusy(true);
    s.SuppressListClick = true;
    const bool insert = insertName && insertionRow <= list.ListCount();
    const int row = std::max(insert ? insertionRow : list.ListCount(), 1);
    list.setRow(row);
    list.insertRow(name);
    list.setListIndex(row);
    list.setSelected(true);
    const bool saved = insert ? writeTopicList()
                              : reportSaveFailure(c.store, c.ui, s.TopicListPath, appendName(c.store, s.TopicListPath, name));
    if (!saved) {
        // The topic list file does not name it: neither the row nor its new, empty file stays.
        list.setRow(row);
        list.removeRow(row);
        if (const FsResult removed = removeFile(c.store, topicFile(name)); !removed)
            showFailure(removed); // an empty file that no list names
    }
    s.SuppressListClick = false;
    c.window.giveFocus(&list);
    list.selectRow(std::min(insertionRow, list.ListCount() - 1));
    c.navigation.selectTopic(); // the File List follows the highlight
    c.ui.setBusy(false);
}

} // namespace corvanta
