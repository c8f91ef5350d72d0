#pragma once

namespace corvanta {

class Clipboard;
class Clock;
class FileDialogs;
class FileWatcher;
class FolderPicker;
class FontDialog;
class PrintService;
class Shell;
class Ui;

// The desktop services a window's logic is given when it is made. Services a feature does not
// use may be left out by tests; the program supplies them all.
struct Platform {
    Ui &ui;
    Clock &clock;
    Shell *shell = nullptr;
    FileDialogs *fileDialogs = nullptr;   // open-file dialogs (platform/FileDialogs.h)
    Clipboard *clipboard = nullptr;       // system clipboard as text (platform/Clipboard.h)
    PrintService *printing = nullptr;     // print dialog and printer (platform/Printing.h)
    FolderPicker *folderPicker = nullptr; // choosing a folder (platform/FolderPicker.h)
    FontDialog *fontDialog = nullptr;     // choosing a list's font (platform/FontDialog.h)
    FileWatcher *fileWatcher = nullptr;   // the shown files changed on disk (platform/FileWatcher.h)
};

} // namespace corvanta
