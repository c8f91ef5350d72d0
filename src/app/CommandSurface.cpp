#include "app/CommandSurface.h"

namespace corvanta {

using namespace Qt::StringLiterals;

namespace {

MenuItem entry(const QString &name, const QString &caption, const QString &shortcut = {})
{
    MenuItem item;
    item.name = name;
    item.caption = caption;
    item.shortcut = shortcut;
    return item;
}

MenuItem separator(const QString &name)
{
    return entry(name, u"-"_s);
}

// Items whose check mark the program sets: it never toggles by a click alone.
MenuItem checkable(const QString &name, const QString &caption)
{
    MenuItem item = entry(name, caption);
    item.checkable = true;
    return item;
}

// Paste stays off until something has been cut or copied in this run.
MenuItem pasteItem(const QString &name, const QString &caption)
{
    MenuItem item = entry(name, caption);
    item.enabled = false;
    return item;
}

MenuItem menu(const QString &name, const QString &caption, std::vector<MenuItem> items)
{
    MenuItem m = entry(name, caption);
    m.items = std::move(items);
    return m;
}

MenuItem sortMenu(const QString &name, const QString &caption, const QStringList &names,
                  const QString &rebuildCaption)
{
    return menu(name, caption,
                {checkable(names.at(0), u"No Sort"_s), checkable(names.at(1), u"Sort Ascending"_s),
                 checkable(names.at(2), u"Sort Descending"_s), separator(names.at(3)),
                 entry(names.at(4), rebuildCaption)});
}

std::vector<MenuItem> buildMenuBar()
{
    std::vector<MenuItem> bar;
    bar.push_back(menu(u"mnuOpen"_s, u"&File"_s, {
        entry(u"mnuCreateProject"_s, u"New Project"_s, u"Ctrl+N"_s),
        separator(u"mnuSep"_s),
        entry(u"mnuOpenFile"_s, u"Open File "_s, u"Ctrl+O"_s),
        entry(u"mnuCleanProjects"_s, u"Cleanup Project Files"_s),
        separator(u"mnuSep7"_s),
        entry(u"mnuAddFile"_s, u"Add File To File List "_s, u"Ctrl+F"_s),
        entry(u"mnuAddWebsite"_s, u"Add Website To File List"_s, u"Ctrl+W"_s),
        entry(u"mnuAddEmailAddress"_s, u"Add Email Address To File List"_s, u"Ctrl+E"_s),
        entry(u"mnuSearchDrives"_s, u"Global File Search"_s, u"Ctrl+G"_s),
        separator(u"mnusep9"_s),
        entry(u"mnuPrintOutProjects"_s, u"Print Project List"_s),
        entry(u"mnuPrintOutFiles"_s, u"Print File List"_s),
        separator(u"mnuExitProgramSep"_s),
        entry(u"mnuExitProgram"_s, u"Exit Program"_s, u"Ctrl+X"_s),
    }));
    bar.push_back(menu(u"mnuEdit"_s, u"&Edit"_s, {
        entry(u"mnuUndo"_s, u"Undo"_s, u"Ctrl+Z"_s),
        entry(u"mnuRedo"_s, u"Redo"_s, u"Ctrl+Shift+Z"_s),
        separator(u"mnuSepUndo"_s),
        entry(u"mnuEditFileData"_s, u"Edit File Data"_s, u"Ctrl+D"_s),
        separator(u"mnuSepEdit"_s),
        entry(u"mnuEditFileList"_s, u"Edit File List"_s),
        entry(u"mnuEditProjectList"_s, u"Edit Project List"_s),
        separator(u"mnuSepFind"_s),
        entry(u"mnuFindPointer"_s, u"Find Pointer..."_s, u"Ctrl+Shift+F"_s),
    }));
    bar.push_back(menu(u"mnuView"_s, u"&View"_s, {
        entry(u"mnuHotKeys"_s, u"Hot Keys"_s),
        separator(u"mnuSepView"_s),
        entry(u"mnuReturnToEntryScreen"_s, u"Entry Screen"_s),
    }));
    bar.push_back(menu(u"mnuSettings"_s, u"&Settings"_s, {
        checkable(u"mnuOpenFiles"_s, u"Set File List to Open Files"_s),
        checkable(u"mnuPrintFiles"_s, u"Set File List to Print Files"_s),
        separator(u"mnuSep6"_s),
        entry(u"mnuResizeWindow"_s, u"Reset Window To Default Size/Location"_s, u"Ctrl+R"_s),
        separator(u"mnuSep2"_s),
        entry(u"mnuChangeName"_s, u"Change Name"_s),
        separator(u"mnuSep10"_s),
        checkable(u"mnuDisplayLinesInProjectList"_s, u"Display Lines In Project List"_s),
        checkable(u"mnuTopicPopupDislplayLinesInTopicList"_s, u"Display Lines In Topic List"_s),
        checkable(u"mnuDisplayLinesInFileList"_s, u"Display Lines In File List"_s),
        separator(u"SepDisplayLines"_s),
        entry(u"mnuSelectProjectFont"_s, u"Select Project List Font "_s),
        entry(u"mnuSelectFileListFont"_s, u"Select File List Font"_s),
        separator(u"mnuSep13"_s),
        entry(u"mnuProjectListDefaultFont"_s, u"Reset Project List Default Font"_s),
        entry(u"mnuFileListDefaultFont"_s, u"Reset File List Default Font"_s),
        separator(u"mnuSepReopen"_s),
        checkable(u"mnuReopenLast"_s, u"Reopen Last Project And Topic"_s),
    }));
    // The desktop equivalents of the original tools carry their Linux names.
    bar.push_back(menu(u"mnuTools"_s, u"&Tools"_s, {
        entry(u"mnuCalendar"_s, u"Calendar"_s, u"Ctrl+C"_s),
        separator(u"mnuSep5"_s),
        entry(u"mnuCalculator"_s, u"Calculator"_s),
        entry(u"mnuNotePad"_s, u"Text Editor"_s),
        entry(u"mnuWrite"_s, u"Word Processor"_s),
        separator(u"mnuSep16"_s),
        entry(u"mnuWindowsControlPanel"_s, u"Settings"_s),
        entry(u"mnuTaskManager"_s, u"System Monitor"_s),
        entry(u"mnuWindowsExplorer"_s, u"File Manager"_s),
        separator(u"mnuSepMissing"_s),
        entry(u"mnuCheckMissingTargets"_s, u"Check Missing Targets"_s),
    }));
    bar.push_back(sortMenu(u"mnuSortProjects"_s, u"Sort &Project List"_s,
                           {u"mnuSortNoSortProjects"_s, u"mnuSortAscendingProjects"_s,
                            u"mnuSortDescendingProjects"_s, u"mnuSepProjects"_s,
                            u"mnuRebuildProjectList"_s},
                           u"Rebuild Project List"_s));
    bar.push_back(sortMenu(u"mnuSortTopicList"_s, u"Sort Topi&c List"_s,
                           {u"mnuTopicNoSort"_s, u"mnuTopicSortAscending"_s,
                            u"mnuTopicSortDescending"_s, u"mnuTopicSeperator"_s,
                            u"mnuTopicRebuildTopicList"_s},
                           u"Rebuild Topic List"_s));
    bar.push_back(sortMenu(u"mnuSortFiles"_s, u"Sort File &List"_s,
                           {u"mnuSortNoSortFiles"_s, u"mnuSortAscendingFiles"_s,
                            u"mnuSortDescendingFiles"_s, u"mnuSepFiles"_s,
                            u"mnuRebuildFileList"_s},
                           u"Rebuild File List"_s));
    bar.push_back(menu(u"mnuHelpTopics"_s, u"&Help"_s, {
        entry(u"mnuHelp"_s, u"Help Topics"_s, u"Ctrl+H"_s),
        entry(u"mnuGettingStarted"_s, u"Getting Started"_s),
        separator(u"mnuSepEmail"_s),
        entry(u"mnuCorvantaWebsite"_s, u"Corvanta Website"_s, u"Ctrl+T"_s),
        entry(u"mnuEmailTechSupport"_s, u"Email Tech Support"_s, u"Ctrl+S"_s),
        separator(u"mnuSep11"_s),
        entry(u"mnuAbout"_s, u"About Corvanta"_s, u"Ctrl+A"_s),
    }));
    return bar;
}

// Each popup starts with a title whose caption is set when it is shown.
std::vector<MenuItem> buildPopups()
{
    std::vector<MenuItem> popups;
    popups.push_back(menu(u"mnuPopupFiles"_s, u"PopupMenu"_s, {
        entry(u"mnuPopupMenuTitle"_s, QString()),
        separator(u"mnuTitleSeperator"_s),
        entry(u"mnuOpenSelectedFiles"_s, u"Open"_s),
        entry(u"mnuPrintSelectedFiles"_s, u"Print"_s),
        entry(u"mnuRenameSelectedFiles"_s, u"Rename"_s),
        entry(u"mnuEditFileData2"_s, u"Edit File Data"_s),
        entry(u"mnuDeleteSelectedFiles"_s, u"Remove From List"_s),
        entry(u"mnuPrintFileList"_s, u"Print File List"_s),
        separator(u"mnuSep12"_s),
        menu(u"mnuOpenWith"_s, u"Open With"_s,
             {entry(u"mnuSelectProgram"_s, u"Choose Program "_s)}),
        entry(u"mnuOpenContainingFolder"_s, u"Open Containing Folder"_s),
        entry(u"mnuCopyTarget"_s, u"Copy Target"_s),
        separator(u"mnuSepPopup2"_s),
        entry(u"mnuCutFiles"_s, u"Cut"_s),
        entry(u"mnuCopyFiles"_s, u"Copy "_s),
        pasteItem(u"mnuPasteInsert"_s, u"Paste At Selected Row"_s),
        pasteItem(u"mnuPasteFiles"_s, u"Paste At End Of File List"_s),
        entry(u"mnuSelectAllFiles"_s, u"Select All "_s),
        entry(u"mnuUnselectAll"_s, u"Unselect All"_s),
        separator(u"mnuSep3"_s),
        checkable(u"mnuDisplayLinesInFileList2"_s, u"Display Lines In File List"_s),
        separator(u"mnuSepLines2"_s),
        entry(u"mnuSelectFileFont"_s, u"Select Font"_s),
        entry(u"mnuResetFileListDefault"_s, u"Reset Default Font"_s),
        separator(u"mnuSepPopup1"_s),
        entry(u"mnuAddFileToFileList"_s, u"Add File to File List"_s),
        entry(u"mnuAddWebsiteAddress"_s, u"Add Website To File List"_s),
        entry(u"mnuAddEmail"_s, u"Add Email Address To File List"_s),
        entry(u"mnuSearchAllDrives"_s, u"Global File Search"_s),
    }));
    popups.push_back(menu(u"mnuTopicPopup"_s, u"TopicPopupMenu"_s, {
        entry(u"mnuTopicPopupTitle"_s, QString()),
        separator(u"mnuTopicPopupSep1"_s),
        entry(u"mnuTopicPopupAddNewTopic"_s, u"Add New Topic"_s),
        separator(u"mnuTopicPopupSep2"_s),
        entry(u"mnuTopicPopupDeleteTopic"_s, u"Delete Topic"_s),
        entry(u"mnuTopicPopupRenameTopic"_s, u"Rename Topic"_s),
        entry(u"mnuTopicPopupPrintTopicList"_s, u"Print Topic List"_s),
        separator(u"mnuTopicPopupSep3"_s),
        entry(u"mnuTopicPopupCutTopicName"_s, u"Cut Topic Name"_s),
        pasteItem(u"mnuTopicPopupPasteTopicNameAtSelectedRow"_s,
                  u"Paste Topic Name At Selected Row"_s),
        pasteItem(u"mnuTopicPopupPasteNameAtEndOfList"_s, u"Paste Topic Name At End of List"_s),
        separator(u"mnuTopicPopupSep6"_s),
        checkable(u"mnuTopicPopupDislplayLinesInTopicList2"_s, u"Display Lines In Topic List"_s),
        separator(u"mnuTopicPopupSep5"_s),
        entry(u"mnuTopicPopupSelectFont"_s, u"Select Font"_s),
        entry(u"mnuTopicPopupResetDefaultFont"_s, u"Reset Default Font"_s),
    }));
    popups.push_back(menu(u"mnuPopupList"_s, u"PopupMenu2"_s, {
        entry(u"mnuPopupMenu2Title"_s, QString()),
        separator(u"mnuSepList"_s),
        entry(u"mnuAddNewProject"_s, u"Add New Project"_s),
        separator(u"mnuSep14"_s),
        entry(u"mnuOpenProject"_s, u"Open"_s),
        entry(u"mnuDeleteProject"_s, u"Delete"_s),
        entry(u"mnuRenameProject"_s, u"Rename"_s),
        entry(u"mnuPrintProjectList"_s, u"Print Project List"_s),
        separator(u"mnuSepCut"_s),
        entry(u"mnuCutProject"_s, u"Cut Project Name"_s),
        pasteItem(u"mnuPasteProjectRow"_s, u"Paste Project Name At Selected Row"_s),
        pasteItem(u"mnuPasteProjectEOF"_s, u"Paste Project Name At End of File"_s),
        separator(u"mnuSepDisplayLines"_s),
        checkable(u"mnuDisplayLinesInProjectList2"_s, u"Display Lines In Project List"_s),
        separator(u"mnuSepLines"_s),
        entry(u"mnuSelectProjectListfont"_s, u"Select Font"_s),
        entry(u"mnuResetProjectDefaultFont"_s, u"Reset Default Font"_s),
    }));
    return popups;
}

ToolbarEntry button(const QString &key, const QString &tooltip, const QStringList &entries = {})
{
    ToolbarEntry e;
    e.kind = entries.isEmpty() ? ToolbarEntry::Button : ToolbarEntry::DropDown;
    e.key = key;
    e.tooltip = tooltip;
    e.entries = entries;
    return e;
}

ToolbarEntry toolbarSeparator()
{
    ToolbarEntry e;
    e.kind = ToolbarEntry::Separator;
    return e;
}

QString dashes(int count)
{
    return QString(count, u'-');
}

// The leading separator keeps "EntryScreen" at position 6, where the entry screen logic
// disables and enables it.
std::vector<ToolbarEntry> buildToolbar()
{
    return {
        toolbarSeparator(),
        button(u"CreateProject"_s, u" New Project"_s,
               {u"New Project"_s, u"Open File"_s, u"Clean Files"_s, dashes(28),
                u"Add File To File List"_s, u"Add Website To File List"_s,
                u"Global File Search"_s, dashes(29), u"Print File List"_s,
                u"Print Project List"_s}),
        toolbarSeparator(),
        button(u"EditFileData"_s, u" Edit File Data  "_s,
               {u"Edit FileData"_s, dashes(17), u"Edit File List"_s, u"Edit Project List"_s,
                dashes(17), u"Find Pointer"_s}),
        toolbarSeparator(),
        button(u"EntryScreen"_s, u" Reload Startup Configuration "_s),
        button(u"DefaultScreen"_s, u" Reset Program To Default Size And Location "_s),
        toolbarSeparator(),
        button(u"AddFile"_s, u" Add File To File List "_s),
        button(u"UtilityForm"_s, u" Add Website To File List "_s),
        button(u"AddEmail"_s, u" Add Email To File List "_s),
        toolbarSeparator(),
        button(u"FileSearch"_s, u" Global File Search "_s),
        toolbarSeparator(),
        button(u"HotKeys"_s, u" Hot Key List "_s),
        button(u"HelpTopics"_s, u" Help Topics "_s,
               {u"Help Topics"_s, u"Corvanta Website"_s, dashes(22), u"About Corvanta"_s}),
    };
}

MenuItem *findIn(std::vector<MenuItem> &items, const QString &name)
{
    for (MenuItem &item : items) {
        if (item.name == name)
            return &item;
        if (MenuItem *found = findIn(item.items, name))
            return found;
    }
    return nullptr;
}

} // namespace

CommandSurface::CommandSurface()
    : menuBar_(buildMenuBar()), popups_(buildPopups()), toolbar_(buildToolbar())
{
    panels_[2].tooltip = u" Double Click To Toggle Caps Lock "_s;
    panels_[3].tooltip = u" Double Click To Toggle Num Lock "_s;
    panels_[4].tooltip = u" Double Click To Toggle Insert Key "_s;
    panels_[5].tooltip = u" Double Click To Toggle Scroll Lock  "_s;
    panels_[6].tooltip = u" Double Click or Right Click To Change Name "_s;
}

MenuItem *CommandSurface::item(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    if (MenuItem *found = findIn(menuBar_, name))
        return found;
    return findIn(popups_, name);
}

const MenuItem *CommandSurface::item(const QString &name) const
{
    return const_cast<CommandSurface *>(this)->item(name);
}

ToolbarEntry *CommandSurface::toolbarButton(int position)
{
    if (position < 1 || position > static_cast<int>(toolbar_.size()))
        return nullptr;
    return &toolbar_[static_cast<size_t>(position - 1)];
}

ToolbarEntry *CommandSurface::toolbarButton(const QString &key)
{
    if (key.isEmpty())
        return nullptr;
    for (ToolbarEntry &e : toolbar_) {
        if (e.key == key)
            return &e;
    }
    return nullptr;
}

void CommandSurface::setEnabled(const QString &name, bool enabled)
{
    MenuItem *it = item(name);
    if (!it || it->enabled == enabled)
        return;
    it->enabled = enabled;
    changed(name);
}

void CommandSurface::setChecked(const QString &name, bool checked)
{
    MenuItem *it = item(name);
    if (!it || it->checked == checked)
        return;
    it->checked = checked;
    changed(name);
}

void CommandSurface::setCaption(const QString &name, const QString &caption)
{
    MenuItem *it = item(name);
    if (!it || it->caption == caption)
        return;
    it->caption = caption;
    changed(name);
}

void CommandSurface::setToolbarEnabled(const QString &key, bool enabled)
{
    ToolbarEntry *e = toolbarButton(key);
    if (!e || e->enabled == enabled)
        return;
    e->enabled = enabled;
    changed(key);
}

void CommandSurface::setToolbarEnabled(int position, bool enabled)
{
    ToolbarEntry *e = toolbarButton(position);
    if (!e || e->kind == ToolbarEntry::Separator || e->enabled == enabled)
        return;
    e->enabled = enabled;
    changed(e->key);
}

void CommandSurface::setPanelText(int panel, const QString &text)
{
    if (panel < 1 || panel > static_cast<int>(panels_.size()))
        return;
    StatusPanel &p = panels_[static_cast<size_t>(panel - 1)];
    if (p.text == text)
        return;
    p.text = text;
    changed(u"panel"_s + QString::number(panel));
}

QString hotKeyListTitle()
{
    return u" Hot Key List"_s;
}

QString hotKeyListText()
{
    return u"F1   = Help Topics\r"
           u"F2   = Create A New Project\r"
           u"F3   = Edit File Data\r"
           u"F4   = Reload Program\r"
           u"F5   = Reset Program To Default Size/Location     \r"
           u"F6   = Add File To File List\r"
           u"F7   = Add Website To File List\r"
           u"F8   = Add Email Address To File List\r"
           u"F9   = Global File Search\r"
           u"F10 = Menu Options\r"
           u"F11 = Hot Key List\r"
           u"F12 = Change Name\r"_s;
}

} // namespace corvanta
