#include "app/Navigation.h"

#include "app/IniFile.h"
#include "app/MainForm.h"
#include "app/Sorting.h"
#include "platform/Clock.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace corvanta {

namespace {

constexpr int MarkedRowColour = 0xE0E0E0;

qint64 fileSize(const QString &path) { return QFileInfo(path).size(); }

bool refuseName(Ui &ui, const QString &name)
{
    if (isUsableFileName(name))
        return false;
    if (name.trimmed().isEmpty())
        ui.beep();
    else
        ui.msgBox(invalidNameText(name), invalidNameTitle(), MsgBox::OkOnly | MsgBox::Exclamation);
    return true;
}

} // namespace

Navigation::Navigation(MainForm &form) : f(form), s(form.state)
{
    f.lstProjectList.setEvents(&projectEvents_);
    f.lstTopicList.setEvents(&topicEvents_);
    f.lstFileList.setEvents(&fileEvents_);
}

QString Navigation::programPath(const QString &name) const
{
    return s.ProgramFolder + u'/' + name;
}

void Navigation::beginLoading()
{
    s.ListLoading = true;
    f.setEnabled(false);
}

void Navigation::endLoading()
{
    s.ListLoading = false;
    f.setEnabled(true);
}

// --- loading ---

void Navigation::LoadEntryScreen()
{
    Ui &ui = f.ui;
    ui.setBusy(true);
    f.commands.setPanelText(1, QLocale().toString(f.clock.now().date(), QStringLiteral("ddd  MMM dd, yyyy")));
    f.commands.setPanelText(7, u' ' + s.UserName);
    f.setLabels(QStringLiteral("Projects"), QStringLiteral("Topics"), QStringLiteral("Files"));
    s.CurrentProject.clear();
    s.ProjectFolder.clear();
    s.ProjectListPath = programPath(QStringLiteral("Project.List"));
    s.TopicListPath = programPath(QStringLiteral("Project.Topics"));
    s.FileListPath = programPath(QStringLiteral("Project.Files"));
    f.commands.setToolbarEnabled(QStringLiteral("EntryScreen"), false);
    f.commands.setEnabled(QStringLiteral("mnuReturnToEntryScreen"), false);

    f.lstProjectList.clear();
    f.lstTopicList.clear();
    f.lstFileList.clear();
    // A list file that cannot be made reads as an empty list; the first save into it says why.
    static_cast<void>(ensureFileExists(f.store, s.ProjectListPath));
    static_cast<void>(ensureFileExists(f.store, s.TopicListPath));
    static_cast<void>(ensureFileExists(f.store, s.FileListPath));

    if (fileSize(s.ProjectListPath) <= fileSize(s.FileListPath)) {
        LoadProjectList();
        LoadTopicList();
        LoadFileList();
    } else {
        LoadFileList();
        LoadTopicList();
        LoadProjectList();
    }

    s.SuppressListClick = true;
    ListControl &projects = f.lstProjectList;
    if (projects.ListCount() > 0) {
        projects.setRow(0);
        projects.setListIndex(0);
        projects.setSelected(false); // the first project is current but not highlighted
    }
    s.CurrentProject.clear();
    s.SuppressListClick = false;
    f.giveFocus(&projects);
    ui.setBusy(false);
    watchShownFiles();
}

void Navigation::loadNameList(ListControl &list, const QString &path, bool projectRow)
{
    if (projectRow) {
        list.setRow(0);
        list.insertRow(projectRowText());
    }
    readNameList(f.store, path, list, [this] { f.ui.pumpEvents(); });
}

void Navigation::LoadProjectList()
{
    ListControl &list = f.lstProjectList;
    s.CutProjectName.clear(); // the list shows what its file holds again
    beginLoading();
    const QFileInfo file(s.ProjectListPath);
    if (file.isFile()) {
        if (file.size() >= 1) {
            list.clear();
            if (s.ProjectSort == SortOrder::Descending) {
                // Loaded ascending first, then sorted with the Sort Descending command.
                list.setColHide(0, true);
                s.ProjectSort = SortOrder::Ascending;
                LoadProjectList();
                s.ProjectSort = SortOrder::Descending;
                f.sorting().mnuSortDescendingProjects_Click();
                list.setColHide(0, false);
                endLoading();
                return;
            }
            loadNameList(list, s.ProjectListPath, false);
            if (s.ProjectSort != SortOrder::None)
                f.sorting().ApplyProjectSort();
        }
        if (file.size() == 0 && list.ListCount() == 0) {
            // An empty Project List still has a row to select.
            list.setRow(0);
            list.insertRow(QStringLiteral(" "));
            list.setRow(0);
            list.setListIndex(0);
            list.setSelected(true);
        }
    }
    endLoading();
}

void Navigation::LoadTopicList()
{
    ListControl &list = f.lstTopicList;
    s.CutTopicName.clear();
    beginLoading();
    const QFileInfo file(s.TopicListPath);
    if (file.isFile()) {
        if (file.size() >= 1) {
            list.clear();
            if (s.TopicSort == SortOrder::Descending) {
                list.setColHide(0, true);
                s.TopicSort = SortOrder::Ascending;
                LoadTopicList();
                s.TopicSort = SortOrder::Descending;
                f.sorting().mnuTopicSortDescending_Click();
                list.setColHide(0, false);
                endLoading();
                return;
            }
            loadNameList(list, s.TopicListPath, true);
            if (s.TopicSort != SortOrder::None)
                f.sorting().ApplyTopicSort();
        } else if (list.ListCount() == 0) {
            list.setRow(0);
            list.insertRow(projectRowText());
        }
    }
    endLoading();
}

void Navigation::LoadFileList()
{
    beginLoading();
    if (QFileInfo(s.FileListPath).isFile()) {
        f.lstFileList.clear();
        readPointerList(f.store, s.FileListPath, f.lstFileList);
        f.sorting().ApplyFileSort();
    }
    endLoading();
}

void Navigation::ReloadList(ListControl &list)
{
    QStringList selected;
    QString current;
    for (int i = 0; i < list.ListCount(); ++i) {
        if (list.isSelected(i))
            selected << list.columnText(i, 0);
    }
    if (list.ListIndex() >= 0 && list.ListIndex() < list.ListCount())
        current = list.columnText(list.ListIndex(), 0);

    const bool suppressed = s.SuppressListClick;
    s.SuppressListClick = true;
    list.clear();
    if (&list == &f.lstProjectList)
        LoadProjectList();
    else if (&list == &f.lstTopicList)
        LoadTopicList();
    else
        LoadFileList();
    for (int i = 0; i < list.ListCount(); ++i) {
        const QString name = list.columnText(i, 0);
        list.setRow(i);
        if (name == current)
            list.setListIndex(i);
        list.setSelected(selected.contains(name));
        // The open project keeps its mark.
        if (&list == &f.lstProjectList && !s.CurrentProject.isEmpty() && name == s.CurrentProject)
            list.setRowBackColour(i, MarkedRowColour);
    }
    s.SuppressListClick = suppressed;
}

void Navigation::RereadFileList()
{
    ListControl &files = f.lstFileList;
    files.clear();
    readPointerListTrimmed(f.store, s.FileListPath, files);
    if (listSortDirection(s.FileSort) != SortDirection::None)
        files.setSorted(listSortDirection(s.FileSort));
}

// --- opening projects and topics ---

void Navigation::SelectProject()
{
    ListControl &projects = f.lstProjectList;
    if (projects.ListCount() == 0)
        return;
    Ui &ui = f.ui;

    int selected = -1;
    for (int i = 0; i < projects.ListCount() && selected < 0; ++i) {
        if (projects.isSelected(i))
            selected = i;
    }
    if (selected >= 0) {
        const QString name = projects.rowText(selected);
        if (isProjectRow(name)) {
            ui.beep();
            return;
        }
        // A hand-edited list may hold a name that cannot be a folder of its own.
        if (refuseName(ui, name))
            return;
    }

    ui.setBusy(true);
    for (int i = 0; i < projects.ListCount(); ++i)
        projects.setRowBackColour(i, ListControl::NoColour);
    if (selected >= 0) {
        projects.setRowBackColour(selected, MarkedRowColour);
        s.CurrentProject = projects.rowText(selected);
        s.ProjectFolder = s.ProgramFolder + QStringLiteral("/Projects/") + s.CurrentProject + u'/';
        QDir folder(s.ProjectFolder);
        if (!folder.exists())
            QDir().mkpath(s.ProjectFolder);
        const QString prefix = s.CurrentProject + u'.';
        const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden);
        const bool hasOwnFile = std::any_of(entries.begin(), entries.end(),
                                            [&](const QString &e) { return e.startsWith(prefix); });
        if (!hasOwnFile) {
            // As at the entry screen: a file not made reads as empty, its first save says why.
            static_cast<void>(ensureFileExists(f.store, s.ProjectFolder + s.CurrentProject + QStringLiteral(".List")));
            static_cast<void>(ensureFileExists(f.store, s.ProjectFolder + s.CurrentProject + QStringLiteral(".Files")));
        }
    }

    if (!s.CurrentProject.isEmpty()) {
        f.lstTopicList.clear();
        f.commands.setToolbarEnabled(QStringLiteral("EntryScreen"), true);
        f.commands.setEnabled(QStringLiteral("mnuReturnToEntryScreen"), true);
        s.TopicListPath = s.ProjectFolder + s.CurrentProject + QStringLiteral(".List");
        s.FileListPath = s.ProjectFolder + s.CurrentProject + QStringLiteral(".Files");
        static_cast<void>(ensureFileExists(f.store, s.TopicListPath)); // as above
        static_cast<void>(ensureFileExists(f.store, s.FileListPath));
        if (fileSize(s.TopicListPath) <= fileSize(s.FileListPath)) {
            LoadTopicList();
            LoadFileList();
        } else {
            LoadFileList();
            LoadTopicList();
        }
    }

    // The project row, wherever a sort has put it: its File List is the one just loaded.
    ListControl &topics = f.lstTopicList;
    for (int i = 0; i < topics.ListCount(); ++i) {
        if (isProjectRow(topics.rowText(i)))
            topics.selectRow(i);
    }
    f.giveFocus(&topics);
    ui.setBusy(false);
    watchShownFiles();
}

void Navigation::SelectTopic()
{
    ListControl &topics = f.lstTopicList;
    if (topics.ListCount() == 0)
        return;
    s.SuppressListClick = true;
    if (s.ProjectFolder.isEmpty())
        s.ProjectFolder = s.ProgramFolder + u'/';
    const int index = std::min(std::max(topics.ListIndex(), 0), topics.ListCount() - 1);
    topics.selectRow(index);
    s.CurrentTopic = topics.columnText(index, 0);
    s.SuppressListClick = false;

    const bool atEntryScreen = s.CurrentProject.isEmpty();
    QString path;
    if (isProjectRow(s.CurrentTopic)) {
        path = s.ProjectFolder + (atEntryScreen ? QStringLiteral("Project") : s.CurrentProject)
            + QStringLiteral(".Files");
    } else {
        if (refuseName(f.ui, s.CurrentTopic)) {
            // The File List must not go on showing, and taking pointers for, another topic's
            // file: the project row's own list is shown instead.
            for (int i = 0; i < topics.ListCount(); ++i) {
                if (isProjectRow(topics.columnText(i, 0))) {
                    topics.setListIndex(i);
                    SelectTopic();
                    return;
                }
            }
            return;
        }
        path = s.ProjectFolder + (atEntryScreen ? QStringLiteral("Projects/") : QString())
            + s.CurrentTopic + QStringLiteral(".Files");
    }

    f.ui.setBusy(true);
    // A file not made reads as empty; the first save into it says why.
    static_cast<void>(ensureFileExists(f.store, path));
    const qint64 size = fileSize(path);
    QString notRead;
    if (path != s.FileListPath) {
        s.FileListPath = path;
        ListControl &files = f.lstFileList;
        files.clear();
        // Every file that holds a record is read, however short.
        if (size > 0) {
            readPointerListTrimmed(f.store, path, files, &notRead);
            if (listSortDirection(s.FileSort) != SortDirection::None)
                files.setSorted(listSortDirection(s.FileSort));
        }
        watchShownFiles();
    }
    f.ui.setBusy(false);
    // Shown empty, but it is not: said once, and no save replaces it (see OwnFiles.h).
    if (!notRead.isEmpty() && f.store.firstNoticeOfUnreadable(path))
        f.ui.msgBox(fileNotReadText(path, notRead), fileNotReadTitle(), MsgBox::OkOnly | MsgBox::Exclamation);
}

void Navigation::showHighlightedTopic()
{
    const ListControl &topics = f.lstTopicList;
    if (topics.isSelected(topics.ListIndex()))
        SelectTopic();
}

// --- opening a place found elsewhere ---

namespace {

// The first row whose column 0 is text, exactly or else ignoring letter case; -1 for none.
int rowNamed(const ListControl &list, const QString &text)
{
    int caseless = -1;
    for (int i = 0; i < list.ListCount(); ++i) {
        const QString name = list.columnText(i, 0);
        if (name == text)
            return i;
        if (caseless < 0 && name.compare(text, Qt::CaseInsensitive) == 0)
            caseless = i;
    }
    return caseless;
}

} // namespace

bool Navigation::openPlace(const Place &place)
{
    if (place.project.isEmpty()) {
        if (!s.CurrentProject.isEmpty())
            LoadEntryScreen();
    } else {
        ListControl &projects = f.lstProjectList;
        if (!s.CurrentProject.isEmpty())
            LoadEntryScreen();
        const int row = rowNamed(projects, place.project);
        if (row < 0 || !isUsableFileName(projects.rowText(row)))
            return false;
        projects.deselectAll();
        projects.selectRow(row);
        SelectProject();
        if (s.CurrentProject != projects.rowText(row))
            return false;
    }

    ListControl &topics = f.lstTopicList;
    const int topic = rowNamed(topics, place.topic.isEmpty() ? projectRowText() : place.topic);
    if (topic < 0)
        return false;
    f.lstProjectList.deselectAll();
    f.lstFileList.deselectAll();
    topics.setListIndex(topic);
    SelectTopic();
    if (s.CurrentTopic != topics.columnText(topic, 0))
        return false;
    selectPointer(place.pointer);
    return true;
}

void Navigation::showNameRow(bool topics, const QString &project, const QString &name)
{
    // The lists are read again: their files may have changed under them.
    LoadEntryScreen();
    if (topics) {
        (void)openPlace({project, name, {}});
        return;
    }
    ListControl &projects = f.lstProjectList;
    const int row = name.isEmpty() ? -1 : rowNamed(projects, name);
    if (row < 0)
        return;
    projects.deselectAll();
    projects.selectRow(row);
}

void Navigation::selectPointer(const QString &line)
{
    ListControl &topics = f.lstTopicList;
    ListControl &files = f.lstFileList;
    int pointer = -1;
    for (int i = 0; i < files.ListCount() && pointer < 0 && !line.isEmpty(); ++i) {
        if (files.rowText(i) == line)
            pointer = i;
    }
    if (pointer < 0 && !line.isEmpty())
        pointer = rowNamed(files, line.section(u'\t', 0, 0));
    if (pointer < 0) {
        f.giveFocus(&topics);
        return;
    }
    files.deselectAll();
    files.selectRow(pointer);
    showLinePanel(QStringLiteral("Files Line: "), pointer);
    f.giveFocus(&files);
}

// --- moving between the lists ---

void Navigation::moveToList(ListControl &list)
{
    if (list.ListCount() == 0)
        return;
    int index = list.ListIndex();
    if (index < 0 || index >= list.ListCount())
        index = 0;
    list.selectRow(index);
    f.giveFocus(&list);
}

void Navigation::printQuestion(const QString &what, ActiveList list)
{
    const QString text = QStringLiteral("This Will Print The ") + what + QStringLiteral(".\rDo You Want To Print The ")
        + what + QStringLiteral("?     \r");
    if (f.ui.msgBox(text, QStringLiteral(" Print ") + what, MsgBox::YesNo | MsgBox::Question) == MsgBox::Yes
        && listPrinting_)
        listPrinting_->printList(list);
}

void Navigation::watchShownFiles()
{
    if (shownFilesWatch_)
        f.operations.perform([this] { shownFilesWatch_->watchShownFiles(); });
}

void Navigation::launchSelected(LaunchVerb verb)
{
    if (pointerLaunches_)
        pointerLaunches_->launchSelected(verb);
}

void Navigation::showLinePanel(const QString &prefix, int row)
{
    f.commands.setPanelText(2, prefix + QLocale().toString(row + 1));
}

} // namespace corvanta
