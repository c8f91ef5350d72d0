#pragma once

#include "app/Editors.h"
#include "app/FeatureContext.h"
#include "app/SharedState.h"

#include <QString>

namespace corvanta {

class ListControl;
struct FsResult;

// Creates, renames and deletes projects and topics, keeping each list, its list file and the
// folders and files on disk in step.
class ProjectMaintenance final : public NameCommands {
public:
    ProjectMaintenance(const FeatureContext &context, Editors &editors);

    // NameCommands, for the lists' keys and mouse.
    void createProject() override { CreateNewProject(); }
    void deleteProject() override { DeleteProject(); }
    void createTopic() override { CreateNewTopic(); }
    void deleteTopic() override { DeleteTopic(); }

    void CreateNewProject();
    void CreateNewTopic();
    void RenameProject();
    void RenameTopic();
    void DeleteProject();
    void DeleteTopic();

private:
    FeatureContext c;
    SharedState &s;
    Editors &editors_;

    // Opens the name dialog in mode; false when the user cancelled, else the name typed.
    // The name typed in the editor for mode, and whether it is to be inserted at the current
    // row; false when the editor closed without one.
    bool askName(EditorMode mode, QString *name, bool *insertName = nullptr);
    // Renaming a project: the checks and the new name; then the list once the disk has moved.
    bool askProjectRename(int *index, QString *oldName, QString *newName);
    // False when Project.List could not be written and the disk went back.
    bool showRenamedProject(int index, const QString &oldName, const QString &newName);
    // Refuses a name that cannot be a file name or is taken; true when the dialog must reopen.
    bool refuseNewName(const QString &name);
    // Shows the duplicate-name box when the Project (or Topic) List already has name.
    bool refuseDuplicate(const QString &name, bool project);
    void alreadyOnFile(const QString &kind, const QString &name);
    void showFailure(const FsResult &result);
    QString projectFolder(const QString &name) const;
    QString topicFile(const QString &name) const;
    [[nodiscard]] bool writeProjectList();
    [[nodiscard]] bool writeTopicList();
    // The File List file behind a Topic List row (the project row's own for the project row).
    QString rowFile(int row) const;
    // Whether a Topic List row other than row still shows file.
    bool fileInUse(const QString &file, int row) const;
};

} // namespace corvanta
