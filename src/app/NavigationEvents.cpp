// The mouse and keyboard events of the three lists.
#include "app/MainForm.h"
#include "app/Navigation.h"
#include "app/CommandSurface.h"
#include "platform/Keys.h"
#include "platform/Ui.h"

namespace corvanta {

namespace {

bool ctrlHeld(int shift) { return (shift & Key::CtrlMask) != 0; }

bool onRow(const ListControl &list, int row) { return row >= 0 && row < list.ListCount(); }

// A popup opened below the last row is on no row: what needs one is offered only on a row.
void offerRowItems(CommandSurface &commands, std::initializer_list<const char *> items, bool onARow)
{
    for (const char *item : items)
        commands.setEnabled(QString::fromLatin1(item), onARow);
}

QString displayName(const QString &rowText)
{
    const qsizetype tab = rowText.indexOf(u'\t');
    return tab < 0 ? rowText : rowText.left(tab);
}

} // namespace

// --- Project List ---

void Navigation::lstProjectList_Click()
{
    f.lstTopicList.deselectAll();
    f.lstFileList.deselectAll();
}

void Navigation::lstProjectList_GotFocus()
{
    if (s.SuppressListClick)
        return;
    f.lstTopicList.deselectAll();
    f.lstFileList.deselectAll();
    s.ActiveList = ActiveList::Projects;
}

void Navigation::lstProjectList_DblClick()
{
    if (f.lstProjectList.ListCount() < 2) {
        f.ui.beep();
        return;
    }
    SelectProject();
}

void Navigation::lstProjectList_KeyDown(int &keyCode, int shift)
{
    switch (keyCode) {
    case Key::Right:
        moveToList(f.lstTopicList);
        break;
    case Key::Left:
        moveToList(f.lstFileList);
        break;
    case Key::Return: {
        // After start the first project is current (it has the focus frame) but not highlighted:
        // Enter opens the row the frame is on, as a keyboard user expects.
        ListControl &list = f.lstProjectList;
        if (list.SelCount() == 0 && list.ListIndex() >= 0)
            list.selectRow(list.ListIndex());
        SelectProject();
        break;
    }
    case Key::Delete:
        if (nameCommands_)
            nameCommands_->deleteProject();
        break;
    case Key::P:
        if (!ctrlHeld(shift))
            return;
        printQuestion(QStringLiteral("Project List"), ActiveList::Projects);
        break;
    default:
        return;
    }
    keyCode = 0;
}

void Navigation::lstProjectList_MouseDown(int button, int, int row, bool fromKeyboard)
{
    ListControl &list = f.lstProjectList;
    if (button != Mouse::Right)
        return;
    if (list.ListCount() < 2) {
        if (nameCommands_)
            nameCommands_->createProject();
        f.ui.beep();
        return;
    }
    f.lstTopicList.deselectAll();
    f.lstFileList.deselectAll();
    const bool hasRow = onRow(list, row);
    if (hasRow && !fromKeyboard)
        list.selectRow(row);
    offerRowItems(f.commands, {"mnuOpenProject", "mnuDeleteProject", "mnuRenameProject", "mnuCutProject"}, hasRow);
    // The pointer paste items stay as they are: Paste.Lst may hold pointers cut from a topic.
    for (const char *item : {"mnuTopicPopupPasteNameAtEndOfList", "mnuTopicPopupPasteTopicNameAtSelectedRow"})
        f.commands.setEnabled(QString::fromLatin1(item), false);
    const QString text = list.rowText(row);
    if (!hasRow)
        f.commands.setCaption(QStringLiteral("mnuPopupMenu2Title"), QString());
    if (!text.isEmpty()) {
        f.commands.setCaption(QStringLiteral("mnuPopupMenu2Title"), text.toUpper());
        f.commands.setCaption(QStringLiteral("mnuOpenProject"), QStringLiteral("Open"));
        f.commands.setCaption(QStringLiteral("mnuDeleteProject"), QStringLiteral("Delete"));
        f.commands.setCaption(QStringLiteral("mnuRenameProject"), QStringLiteral("Rename"));
    }
    s.SuppressListClick = true;
    f.giveFocus(nullptr);
    f.ui.showPopupMenu(QStringLiteral("mnuPopupList"));
    s.SuppressListClick = false;
    // From the keyboard the user goes on where the key was pressed, unless a command moved on.
    if (fromKeyboard && !f.focusedList())
        f.giveFocus(&list);
}

void Navigation::lstProjectList_MouseMove(int row)
{
    ListControl &list = f.lstProjectList;
    if (row < 0 || row >= list.ListCount())
        return;
    list.setRow(row);
    const QString name = list.rowText(row);
    list.setToolTip(name.size() > 50 ? name : QString());
    showLinePanel(QStringLiteral("Project Line: "), row);
}

// --- Topic List ---

void Navigation::lstTopicList_Click()
{
    if (s.SuppressListClick)
        return;
    f.lstFileList.deselectAll();
    f.lstProjectList.deselectAll();
    SelectTopic();
}

void Navigation::lstTopicList_GotFocus()
{
    if (s.SuppressListClick)
        return;
    f.lstFileList.deselectAll();
    f.lstProjectList.deselectAll();
    s.ActiveList = ActiveList::Topics;
}

void Navigation::lstTopicList_KeyDown(int &keyCode, int shift)
{
    switch (keyCode) {
    case Key::Right:
        moveToList(f.lstFileList);
        break;
    case Key::Left:
        moveToList(f.lstProjectList);
        break;
    case Key::Return:
        f.ui.beep();
        break;
    case Key::Delete:
        if (nameCommands_)
            nameCommands_->deleteTopic();
        break;
    case Key::P:
        if (!ctrlHeld(shift))
            return;
        printQuestion(QStringLiteral("Topic List"), ActiveList::Topics);
        break;
    default:
        return;
    }
    keyCode = 0;
}

void Navigation::lstTopicList_MouseDown(int button, int, int row, bool fromKeyboard)
{
    ListControl &list = f.lstTopicList;
    if (button != Mouse::Right)
        return;
    if (list.ListCount() < 2) {
        list.selectRow(0);
        f.giveFocus(&list);
        if (nameCommands_)
            nameCommands_->createTopic();
        f.ui.beep();
        return;
    }
    f.lstFileList.deselectAll();
    f.lstProjectList.deselectAll();
    const bool hasRow = onRow(list, row);
    if (hasRow && !fromKeyboard) {
        list.selectRow(row);
        SelectTopic(); // the File List follows the highlight, as a left click would
    }
    offerRowItems(f.commands, {"mnuTopicPopupDeleteTopic", "mnuTopicPopupRenameTopic", "mnuTopicPopupCutTopicName"},
                  hasRow);
    for (const char *item : {"mnuPasteProjectRow", "mnuPasteProjectEOF"})
        f.commands.setEnabled(QString::fromLatin1(item), false);
    const QString text = list.rowText(row);
    f.commands.setCaption(QStringLiteral("mnuTopicPopupTitle"), text.toUpper());
    s.SuppressListClick = true;
    f.giveFocus(nullptr);
    f.ui.showPopupMenu(QStringLiteral("mnuTopicPopup"));
    f.giveFocus(&list);
    s.SuppressListClick = false;
}

void Navigation::lstTopicList_MouseMove(int row)
{
    if (row < 0 || row >= f.lstTopicList.ListCount())
        return;
    showLinePanel(QStringLiteral("Topic Line: "), row);
}

// --- File List ---

void Navigation::lstFileList_Click()
{
    if (s.SuppressListClick)
        return;
    f.lstProjectList.deselectAll();
    if (f.lstFileList.ListCount() == 0) {
        f.lstProjectList.selectRow(f.lstProjectList.ListIndex());
        f.giveFocus(&f.lstProjectList);
    }
}

void Navigation::lstFileList_GotFocus()
{
    f.lstProjectList.deselectAll();
    if (!s.SuppressListClick)
        s.ActiveList = ActiveList::Files;
}

void Navigation::lstFileList_KeyDown(int &keyCode, int shift)
{
    switch (keyCode) {
    case Key::Right:
        moveToList(f.lstProjectList);
        break;
    case Key::Left:
        moveToList(f.lstTopicList);
        break;
    case Key::Return:
        launchSelected(LaunchVerb::Chosen);
        break;
    case Key::Delete:
        if (fileListHandler_)
            fileListHandler_->removeSelectedFiles();
        break;
    case Key::O:
        if (ctrlHeld(shift))
            launchSelected(LaunchVerb::Open);
        break;
    case Key::P:
        if (ctrlHeld(shift))
            printQuestion(QStringLiteral("File List"), ActiveList::Files);
        break;
    default:
        return;
    }
    keyCode = 0;
}

void Navigation::lstFileList_MouseMove(int row)
{
    ListControl &list = f.lstFileList;
    if (row < 0 || row >= list.ListCount())
        return;
    list.setRow(row);
    const QString text = list.rowText(row);
    const QString name = displayName(text);
    // The target, which the list does not show; a long name, which it may cut, above it.
    const QString target = text.mid(name.size() + 1);
    QStringList tip;
    if (name.size() > 50)
        tip << name;
    if (!target.trimmed().isEmpty())
        tip << target;
    list.setToolTip(tip.join(u'\n'));
    showLinePanel(QStringLiteral("Files Line: "), row);
}

void Navigation::lstFileList_FilesDropped(const QStringList &paths, int row)
{
    if (fileListHandler_)
        fileListHandler_->addDroppedFiles(paths, row);
}

void Navigation::lstTopicList_PointersDropped(int topicRow, bool copy)
{
    if (!pointerDrops_)
        return;
    const ListControl &files = f.lstFileList;
    std::vector<int> rows;
    for (int row = 0; row < files.ListCount(); ++row) {
        if (files.isSelected(row))
            rows.push_back(row);
    }
    pointerDrops_->dropPointers(rows, topicRow, copy ? DropMode::Copy : DropMode::Move);
}

// --- routing ---

void Navigation::Router::Click(ListControl &list)
{
    // The line panel follows the row the user moved to, not only the mouse.
    static const char *const prefixes[] = {"Project Line: ", "Topic Line: ", "Files Line: "};
    if (list.ListIndex() >= 0)
        nav_.showLinePanel(QString::fromLatin1(prefixes[which_]), list.ListIndex());
    switch (which_) {
    case Projects: nav_.lstProjectList_Click(); break;
    case Topics: nav_.lstTopicList_Click(); break;
    case Files: nav_.lstFileList_Click(); break;
    }
}

void Navigation::Router::DblClick(ListControl &)
{
    if (which_ == Projects)
        nav_.lstProjectList_DblClick();
    else if (which_ == Files)
        nav_.launchSelected(LaunchVerb::Chosen);
}

void Navigation::Router::GotFocus(ListControl &)
{
    switch (which_) {
    case Projects: nav_.lstProjectList_GotFocus(); break;
    case Topics: nav_.lstTopicList_GotFocus(); break;
    case Files: nav_.lstFileList_GotFocus(); break;
    }
}

void Navigation::Router::KeyDown(ListControl &, int &keyCode, int &shift)
{
    switch (which_) {
    case Projects: nav_.lstProjectList_KeyDown(keyCode, shift); break;
    case Topics: nav_.lstTopicList_KeyDown(keyCode, shift); break;
    case Files: nav_.lstFileList_KeyDown(keyCode, shift); break;
    }
}

void Navigation::Router::MouseDown(ListControl &, int button, int shift, int row)
{
    switch (which_) {
    case Projects: nav_.lstProjectList_MouseDown(button, shift, row); break;
    case Topics: nav_.lstTopicList_MouseDown(button, shift, row); break;
    case Files:
        if (nav_.fileListHandler_)
            nav_.fileListHandler_->lstFileList_MouseDown(button, shift, row, false);
        break;
    }
}

void Navigation::Router::PopupKey(ListControl &, int row)
{
    switch (which_) {
    case Projects: nav_.lstProjectList_MouseDown(Mouse::Right, Key::NoShift, row, true); break;
    case Topics: nav_.lstTopicList_MouseDown(Mouse::Right, Key::NoShift, row, true); break;
    case Files:
        if (nav_.fileListHandler_)
            nav_.fileListHandler_->lstFileList_MouseDown(Mouse::Right, Key::NoShift, row, true);
        break;
    }
}

void Navigation::Router::MouseMove(ListControl &, int, int, int row)
{
    switch (which_) {
    case Projects: nav_.lstProjectList_MouseMove(row); break;
    case Topics: nav_.lstTopicList_MouseMove(row); break;
    case Files: nav_.lstFileList_MouseMove(row); break;
    }
}

} // namespace corvanta
