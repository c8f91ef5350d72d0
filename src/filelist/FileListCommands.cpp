#include "filelist/FileListCommands.h"

#include "app/CommandSurface.h"
#include "app/Launcher.h"
#include "app/Operations.h"
#include "app/UndoHistory.h"
#include "editor/PointerEditor.h"
#include "platform/DesktopEntries.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

#include <QDir>
#include <QFileInfo>

namespace corvanta {

namespace {

const QString PopupTitle = QStringLiteral("mnuPopupMenuTitle");

// The popup items that act on the pointer under the mouse (and the selection it belongs to).
constexpr const char *RowItems[] = {
    "mnuOpenWith",
    "mnuOpenContainingFolder",
    "mnuCopyTarget",
    "mnuCutFiles",
    "mnuCopyFiles",
    "mnuOpenSelectedFiles",
    "mnuPrintSelectedFiles",
    "mnuDeleteSelectedFiles",
    "mnuRenameSelectedFiles",
    "mnuEditFileData2",
};
// The popup items that make no sense without any pointer in the list.
constexpr const char *ListItems[] = {
    "mnuPrintFileList",
    "mnuSelectAllFiles",
    "mnuUnselectAll",
    "mnuDisplayLinesInFileList2",
    "mnuResetFileListDefault",
    "mnuSelectFileFont",
};

} // namespace

FileListCommands::FileListCommands(
    const FeatureContext &context, PointerEditorDisplay &editors, const PointerLaunches &launches)
    : c(context), s(context.state), editors_(editors), launches_(launches)
{
    registerOperations();
}

void FileListCommands::registerOperations()
{
    auto reg = [this](std::initializer_list<const char *> names,
                   const std::function<void()> &operation) {
        for (const char *name : names)
            c.operations.add(QString::fromLatin1(name), operation);
    };
    reg({"mnuAddWebsite", "mnuAddWebsiteAddress", "toolbar:UtilityForm",
            "entry:Add Website To File List", "AddWebsite"},
        [this] { (void)showEditor({EditorMode::Website}); });
    reg({"mnuAddEmailAddress", "mnuAddEmail", "toolbar:AddEmail", "AddEmailAddress"},
        [this] { (void)showEditor({EditorMode::Email}); });
    reg({"mnuAddFile", "mnuAddFileToFileList", "toolbar:AddFile", "entry:Add File To File List",
            "AddFileToFileList"},
        [this] { AddFileToFileList(); });
    reg({"mnuOpenFile", "entry:Open File", "OpenFileByDialog"}, [this] { OpenFileByDialog(); });
    reg({"mnuEditFileData", "mnuEditFileData2", "toolbar:EditFileData", "entry:Edit FileData",
            "EditFileData"},
        [this] { EditFileData(); });
    reg({"mnuRenameSelectedFiles", "RenameSelectedFile"}, [this] { RenameSelectedFile(); });
    reg({"mnuDeleteSelectedFiles", "RemoveSelectedFiles"}, [this] { RemoveSelectedFiles(); });
    reg({"mnuSelectAllFiles"}, [this] { mnuSelectAllFiles_Click(); });
    reg({"mnuUnselectAll"}, [this] { mnuUnselectAll_Click(); });
}

// --- the editor ---

EditorResult FileListCommands::showEditor(const EditorRequest &request)
{
    PointerEditor editor(c, request);
    editor.Form_Load();
    editors_.showPointerEditor(editor);
    // A window that went away without closing still hands its results back.
    editor.closeBox();
    if (s.ActiveList == ActiveList::Files) {
        reselectCurrent();
        c.window.giveFocus(&c.lstFileList);
    }
    return editor.result();
}

void FileListCommands::reselectCurrent()
{
    ListControl &list = c.lstFileList;
    const int index = list.ListIndex();
    if (index < 0 || index >= list.ListCount())
        return;
    list.setRow(index);
    list.setSelected(true);
}

// --- the popup and the selection ---

void FileListCommands::offerItems(bool onARow, bool anyRow)
{
    for (const char *item : RowItems)
        c.commands.setEnabled(QString::fromLatin1(item), onARow);
    for (const char *item : ListItems)
        c.commands.setEnabled(QString::fromLatin1(item), anyRow);
}

void FileListCommands::lstFileList_MouseDown(int button, int, int row, bool fromKeyboard)
{
    ListControl &list = c.lstFileList;
    if (list.ListCount() == 0) {
        if (button != Mouse::Right) {
            c.ui.beep();
            return;
        }
        offerItems(false, false);
        c.commands.setCaption(PopupTitle, QStringLiteral("No Files In File List"));
        c.ui.showPopupMenu(QStringLiteral("mnuPopupFiles"));
        return;
    }
    if (button != Mouse::Right)
        return;
    c.window.giveFocus(&list);
    // Below the last row the popup is on no row: the selection stays as the user left it.
    const bool onARow = row >= 0 && row < list.ListCount();
    const int openWiths = launches_.openWithCount();
    // From the keyboard the popup acts on the selection as the user left it.
    if (onARow && !fromKeyboard) {
        list.setRow(row);
        // A row not yet selected becomes the only selection, as the popup's title says.
        if (!list.Selected()) {
            list.deselectAll();
            list.selectRow(row);
        }
        list.setListIndex(row);
    }
    offerItems(onARow, true);
    // Opening this popup ends a pending move of a project or topic name.
    for (const char *item : {"mnuPasteProjectRow", "mnuPasteProjectEOF",
             "mnuTopicPopupPasteNameAtEndOfList", "mnuTopicPopupPasteTopicNameAtSelectedRow"})
        c.commands.setEnabled(QString::fromLatin1(item), false);
    // A website or e-mail address has no folder to show.
    c.commands.setEnabled(QStringLiteral("mnuOpenContainingFolder"), onARow && isFileTarget(list.columnText(row, 1)));
    c.commands.setCaption(PopupTitle, onARow ? list.columnText(row, 0) : QString());

    s.SuppressListClick = true;
    c.window.giveFocus(nullptr);
    c.ui.showPopupMenu(QStringLiteral("mnuPopupFiles"));
    s.SuppressListClick = false;
    // "Choose Program" keeps the focus in its own window.
    if (launches_.openWithCount() == openWiths) {
        if (onARow && !fromKeyboard)
            reselectCurrent();
        c.window.giveFocus(&list);
    }
}

void FileListCommands::mnuSelectAllFiles_Click()
{
    ListControl &list = c.lstFileList;
    c.window.giveFocus(&list);
    list.setListIndex(list.ListCount() - 1);
    list.selectAll();
}

void FileListCommands::mnuUnselectAll_Click()
{
    c.lstFileList.deselectAll();
}

// --- removing, renaming, editing ---

void FileListCommands::RemoveSelectedFiles()
{
    ListControl &list = c.lstFileList;
    const int n = list.SelCount();
    QString text;
    QString title;
    if (n == 1) {
        QString name;
        for (int i = 0; i < list.ListCount(); ++i) {
            if (list.isSelected(i)) {
                name = list.columnText(i, 0);
                break;
            }
        }
        text = QStringLiteral("You Have Selected - ") + userText(name).toUpper()
            + QStringLiteral(" - To Be Removed From The File List.") + fiveSpaces()
            + QStringLiteral("\rAre You Sure You Want To Remove This File?\r");
        title = QStringLiteral(" Remove: ") + userText(name);
    } else {
        text = QStringLiteral("You Have Selected ") + QString::number(n)
            + QStringLiteral(" Files To Be Removed From The File List.") + fiveSpaces()
            + QStringLiteral("\rAre You Sure You Want To Remove These Files?\r");
        title = QStringLiteral(" Remove Files");
    }
    if (c.ui.msgBox(text, title, MsgBox::YesNo | MsgBox::Question | MsgBox::DefaultButton2)
        != MsgBox::Yes)
        return;
    // The removed rows, kept to show again when the file cannot be rewritten.
    QList<std::pair<int, QString>> removed;
    for (int i = 0; i < list.ListCount(); ++i) {
        if (list.isSelected(i))
            removed.append({i, list.rowText(i)});
    }
    // All at once: one row at a time would shift the rest of the list for each.
    PointerChange change(c.undo, QStringLiteral("Remove ") + pointerCount(int(removed.size())));
    change.touch(s.FileListPath);
    QStringList records;
    for (const auto &[row, text] : removed)
        records.append(text);
    int remembered = std::max(list.removeSelectedRows(), 0);
    if (!reportSaveFailure(c.store, c.ui, s.FileListPath, editPointerList(c.store, s.FileListPath, records))) {
        // The file keeps the pointers, so the list shows them again.
        for (const auto &[row, text] : removed) {
            list.setRow(row);
            list.insertRow(text);
        }
    }
    list.deselectAll();
    // When the last rows went, the new last row takes the selection.
    remembered = std::min(remembered, list.ListCount() - 1);
    if (remembered >= 0) {
        list.setRow(remembered);
        list.setListIndex(remembered);
        list.setSelected(true);
    }
    c.commands.setEnabled(QStringLiteral("mnuPasteInsert"), false);
}

void FileListCommands::RenameSelectedFile()
{
    if (s.FileSort != SortOrder::None) {
        c.ui.msgBox(QStringLiteral("You Must Sort The File List Using The 'No Sort'") + fiveSpaces()
                + QStringLiteral("\rOption Before You Rename a File List Item."),
            QStringLiteral(" Resort File List"), MsgBox::OkOnly | MsgBox::Exclamation);
        return;
    }
    if (c.lstFileList.SelCount() == 0) {
        c.ui.msgBox(QStringLiteral("No File Has Been Selected To Rename.") + fiveSpaces() + u'\r',
            QStringLiteral(" Must Select A File To Rename"), MsgBox::OkOnly | MsgBox::Exclamation);
        return;
    }
    currentToSelectedRow();
    (void)showEditor({EditorMode::RenameFile});
}

void FileListCommands::EditFileData()
{
    if (c.lstFileList.SelCount() == 0) {
        c.ui.msgBox(QStringLiteral("No File Has Been Selected To Edit.") + fiveSpaces() + u'\r',
            QStringLiteral(" Must Select A File To Edit"), MsgBox::OkOnly | MsgBox::Exclamation);
        return;
    }
    currentToSelectedRow();
    (void)showEditor({EditorMode::EditFile});
}

void FileListCommands::currentToSelectedRow()
{
    ListControl &list = c.lstFileList;
    list.setListIndex(list.actionRow());
}

void showDuplicateFileName(Ui &ui, const QString &name)
{
    const QString upper = userText(name).toLower().toUpper();
    ui.msgBox(QStringLiteral("You Have Selected A Duplicate Filename.") + fiveSpaces() + u'\r'
            + upper + QStringLiteral(" Is Already On File.\r"),
        QStringLiteral(" Duplicate Filename: ") + upper, MsgBox::OkOnly | MsgBox::Exclamation);
}

bool FileListCommands::CheckDuplicateFileName(const QString &name)
{
    if (duplicateNameRow(c.lstFileList, name, NameField::FirstColumn) < 0)
        return false;
    showDuplicateFileName(c.ui, name);
    return true;
}

// --- adding and opening files ---

QList<FileFilter> FileListCommands::addFileFilters()
{
    // Programs carry no extension here, so their entry lets every file through.
    return {
        {QStringLiteral("All Files (*.*)"), QStringLiteral("*")},
        {QStringLiteral("Text (*.txt)"), QStringLiteral("*.txt")},
        {QStringLiteral("Pictures (*.bmp;*.ico)"), QStringLiteral("*.bmp *.ico")},
        {QStringLiteral("HTML (*.htm;*.html)"), QStringLiteral("*.htm *.html")},
        {QStringLiteral("Programs (*)"), QStringLiteral("*")},
    };
}

void FileListCommands::AddFileToFileList()
{
    FileDialogs *dialogs = c.platform.fileDialogs;
    if (!dialogs)
        return;
    OpenFileRequest request;
    request.title = QStringLiteral(" Add File To File List");
    request.filters = addFileFilters();
    request.initialFolder = dialogFolder();
    request.multiple = true;
    bool fileAdded = false;
    for (;;) {
        c.ui.pumpEvents();
        const QStringList chosen = dialogs->getOpenFileNames(request);
        if (chosen.isEmpty())
            break;
        fileAdded = true;
        // The next dialog starts where this one ended.
        request.fileName = chosen.last();
        leaveDialogIn(chosen);
        addFiles(chosen, -1);
    }
    if (!fileAdded)
        return;
    ListControl &list = c.lstFileList;
    const int index = std::max(list.ListIndex(), 0);
    if (index < list.ListCount()) {
        list.setRow(index);
        list.setListIndex(index);
        list.setSelected(true);
    }
    c.window.giveFocus(&list);
}

void FileListCommands::addDroppedFiles(const QStringList &paths, int row)
{
    if (!c.window.enabled() || s.ListLoading || paths.isEmpty())
        return;
    ListControl &list = c.lstFileList;
    const int at = row < 0 || row > list.ListCount() ? list.ListCount() : row;
    addFiles(paths, at);
    const int index = std::max(list.ListIndex(), 0);
    if (index < list.ListCount()) {
        list.setRow(index);
        list.setListIndex(index);
        list.setSelected(true);
    }
    c.window.giveFocus(&list);
}

// One editor per file. insertRow, when 0 or more, is where the first new pointer goes with
// "Insert Name at Selected Row"; the following ones go after it, in the order given.
void FileListCommands::addFiles(const QStringList &paths, int insertRow)
{
    ListControl &list = c.lstFileList;
    QStringList targets;
    for (const QString &path : paths) {
        if (refuseUnstorableFile(c.ui, path))
            continue;
        const QString target = path.trimmed();
        if (!target.isEmpty())
            targets << target;
    }
    PointerChange change(c.undo, QString());
    const int count = list.ListCount();
    int nextRow = insertRow;
    for (const QString &target : targets) {
        const int before = list.ListCount();
        const EditorRequest request {EditorMode::AddFile, target, int(targets.size()), nextRow};
        const EditorResult result = showEditor(request);
        if (result.outcome == EditorResult::Outcome::CancelAll)
            break;
        if (list.ListCount() > before && result.insertName)
            nextRow = list.ListIndex() + 1;
    }
    change.setLabel(QStringLiteral("Add ") + pointerCount(list.ListCount() - count));
}

void FileListCommands::OpenFileByDialog()
{
    FileDialogs *dialogs = c.platform.fileDialogs;
    if (!dialogs)
        return;
    OpenFileRequest request;
    request.title = QStringLiteral(" Open File");
    request.filters = {{QStringLiteral("All Files (*.*)"), QStringLiteral("*")}};
    request.initialFolder = dialogFolder();
    request.multiple = true;
    for (;;) {
        const QStringList chosen = dialogs->getOpenFileNames(request);
        if (chosen.isEmpty())
            break;
        leaveDialogIn(chosen);
        request.initialFolder = dialogFolder();
        // Each chosen file is opened on its own; the Open/Print mode plays no part.
        for (const QString &path : chosen)
            openFile(path);
    }
}

QString FileListCommands::dialogFolder() const
{
    return dialogFolder_.isEmpty() ? QDir::homePath() : dialogFolder_;
}

void FileListCommands::leaveDialogIn(const QStringList &chosen)
{
    dialogFolder_ = QFileInfo(chosen.last()).absolutePath();
}

void FileListCommands::openFile(const QString &path)
{
    Launcher launcher(c.ui, c.platform.shell, s);
    c.ui.setBusy(true);
    launcher.LaunchTarget(path, QStringLiteral("open"));
    c.ui.setBusy(false);
}

} // namespace corvanta
