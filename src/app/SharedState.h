#pragma once

#include <QString>

namespace corvanta {

// The values the main window's operations share for the whole run, one each. Passed by reference
// to every class that needs them; there is no global copy.
struct SharedState {
    QString ProgramFolder;            // the data folder, without a trailing separator
    QString IniFile;
    bool StartupInProgress = false;
    bool ClosingDown = false;
    QString UserName;
    bool DisplayStartupWindow = false;

    QString ProjectListPath;
    QString TopicListPath;
    QString FileListPath;
    QString CurrentProject;
    QString ProjectFolder;            // with a trailing separator, or empty
    QString CurrentTopic;
    QString ProjectSort;
    QString TopicSort;
    QString FileSort;
    bool ListLoading = false;
    bool SuppressListClick = false;
    QString ActiveList;               // "list", "topic" or "files"

    QString UtilityMode;
    QString DialogText;
    int EditorRow = -1;
    bool InsertNameOption = false;
    QString AddFilePath;

    bool PrintMode = false;
    QString LaunchStatus;
    bool CutMode = false;
    bool PasteAtRow = false;
};

} // namespace corvanta
