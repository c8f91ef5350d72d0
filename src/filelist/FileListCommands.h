#pragma once

#include "app/Editors.h"
#include "app/FeatureContext.h"
#include "app/Navigation.h"
#include "platform/FileDialogs.h"

#include <QString>
#include <QStringList>

namespace corvanta {

class PointerEditorDisplay;
class Ui;

// The box that refuses a pointer name the File List already holds.
void showDuplicateFileName(Ui &ui, const QString &name);

// The File List's own commands: its popup menu, selecting all or none, and keeping its pointers:
// removing, renaming, editing, adding files by dialog or by drop, and opening files by dialog.
// Also shows the pointer editor for every caller (showEditor).
class FileListCommands final : public FileListHandler, public Editors
{
public:
    FileListCommands(
        const FeatureContext &context, PointerEditorDisplay &editors, const PointerLaunches &launches);

    // Shows the pointer editor for request and waits for it; then gives the File List its
    // focus back when it was the active list.
    EditorResult showEditor(const EditorRequest &request) override;

    void lstFileList_MouseDown(int button, int shift, int row, bool fromKeyboard) override;
    void mnuSelectAllFiles_Click();
    void mnuUnselectAll_Click();

    void RemoveSelectedFiles();
    void removeSelectedFiles() override { RemoveSelectedFiles(); }
    void RenameSelectedFile();
    void EditFileData();
    void AddFileToFileList();
    void OpenFileByDialog();
    // True, after the duplicate-name box, when a row of the File List already has name.
    bool CheckDuplicateFileName(const QString &name);

    // Files dropped on the File List at row (-1 below the last row): added one editor per file,
    // as if chosen in the add-file dialog.
    void addDroppedFiles(const QStringList &paths, int row) override;

    static QList<FileFilter> addFileFilters();

private:
    FeatureContext c;
    SharedState &s;
    PointerEditorDisplay &editors_;
    const PointerLaunches &launches_;
    // Where the file dialogs start: the folder the last one was left in, for the run. The data
    // folder is hidden, so the first starts in the home folder.
    QString dialogFolder_;

    void registerOperations();
    void addFiles(const QStringList &paths, int insertRow);
    void openFile(const QString &path);
    void reselectCurrent();
    // Enables the popup's items for a popup on a row, below the rows, or on an empty list.
    void offerItems(bool onARow, bool anyRow);
    // Edit and Rename work on the row the user sees selected.
    void currentToSelectedRow();
    QString dialogFolder() const;
    void leaveDialogIn(const QStringList &chosen);
};

} // namespace corvanta
