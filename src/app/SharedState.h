#pragma once

#include <QString>

namespace corvanta {

// The order a list is shown in. Unknown stands for a stored order that is none of the three (a
// hand-edited or unread setting): nothing is sorted and no Sort menu item is checked, yet the
// commands that need the stored order still ask for "No Sort" first.
enum class SortOrder { None, Ascending, Descending, Unknown };

// The list the user last worked in.
enum class ActiveList { None, Projects, Topics, Files };

// What the pointer editor is opened for: adding a website, an e-mail address or a file pointer,
// editing or renaming the selected pointer, or asking for a project or topic name.
enum class EditorMode {
    Website,
    Email,
    AddFile,
    EditFile,
    RenameFile,
    NewProject,
    NewTopic,
    RenameProject,
    RenameTopic,
};

// The values the main window's operations share for the whole run, one each. Passed by reference
// to every class that needs them; there is no global copy.
struct SharedState {
    QString ProgramFolder;            // the data folder, without a trailing separator
    QString IniFile;
    bool StartupInProgress = false;
    bool ClosingDown = false;
    bool SettingsFailureShown = false; // " Settings Not Saved" comes once per run
    QString UserName;
    bool DisplayStartupWindow = false;

    QString ProjectListPath;
    QString TopicListPath;
    QString FileListPath;
    QString CurrentProject;
    QString ProjectFolder;            // with a trailing separator, or empty
    QString CurrentTopic;
    SortOrder ProjectSort = SortOrder::Unknown;
    SortOrder TopicSort = SortOrder::Unknown;
    SortOrder FileSort = SortOrder::Unknown;
    bool ListLoading = false;
    // A project or topic name cut and not pasted yet, as it was put on the clipboard; "" for
    // none. Reading its list again ends it. The cut project name keeps owning its folder.
    QString CutProjectName;
    QString CutTopicName;
    bool SuppressListClick = false;
    corvanta::ActiveList ActiveList = corvanta::ActiveList::None;
};

} // namespace corvanta
