#pragma once

#include "app/CommandSurface.h"
#include "app/Editors.h"
#include "app/FeatureContext.h"
#include "app/MainLayout.h"
#include "search/Drives.h"
#include "store/ListControl.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace corvanta {

class FolderPicker;
class SearchEngine;
class SearchWorker;
struct SearchBatch;

// The global file search window `frmFileSearch`: a name or pattern searched for over one drive
// (or any folder), its results listed as full paths and turned into File List pointers,
// launched, copied, removed from the list or printed. The walk runs on a worker thread, which
// posts its results in batches to the window's thread, in the walk's order; the window's events
// run between them, and a search ends with a timer, so the window never waits.
class FileSearch
{
public:
    enum class Change { Caption, Text, Drives, Options, Progress, Focus, Menu, Popup, Close, Running, Status };
    enum class Control { None, TxtFileSearch, Drive1, LstFileSearch };

    // drives: the drive list without "Other Folder...", which is always added at its end.
    FileSearch(const FeatureContext &context, std::vector<DriveEntry> drives,
        FolderPicker *folderPicker = nullptr, Editors *editors = nullptr);
    ~FileSearch();
    FileSearch(const FileSearch &) = delete;
    FileSearch &operator=(const FileSearch &) = delete;

    // --- the window's controls as data ---
    QString caption() const { return caption_; }
    QString txtFileSearch() const { return text_; }
    QStringList driveTexts() const; // the drive list's entries, "Other Folder..." last
    int driveIndex() const { return driveIndex_; }
    const DriveEntry *currentDrive() const;
    bool optMultiple() const { return MultiSearch; }
    static QString optMultipleCaption() { return QStringLiteral("&Multiple"); }
    static QString optMultipleToolTip() { return QStringLiteral(" Search For Multiple Files"); }
    static QString optSingleCaption() { return QStringLiteral("&Single"); }
    static QString optSingleToolTip() { return QStringLiteral(" Search For One File"); }
    ListControl lstFileSearch {1, true};
    struct ProgressBar
    {
        int Min = 0;
        int Max = 0;
        int Value = 0;
        bool Visible = false;
        float Width = 0;
    } ProgressBar1;
    // Positions in twips: the window on the screen, the controls inside it.
    struct Layout
    {
        TwipsRect window, txtFileSearch, Drive1, optMultiple, optSingle, lstFileSearch,
            ProgressBar1;
        TwipsRect cmdStop; // at the text box's right end while a search runs
        TwipsRect lblStatus; // under the results, where the progress bar was
    };
    // The text box's place: shorter while a search runs, to make room for the Stop button.
    TwipsRect txtFileSearchPlace() const;
    // The outcome of the last search ("12 Files Found - 3.27 Seconds"), shown under the results
    // as well as in the caption, which some window managers hide; "" before the first.
    QString status() const { return status_; }
    const Layout &layout() const { return layout_; }
    // The results popup `mnuNamePointers`, items in order.
    std::vector<MenuItem> mnuNamePointers;
    const MenuItem *menuItem(const QString &name) const;
    Control focus() const { return focus_; }
    bool closed() const { return closed_; }

    std::function<void(Change)> onChanged;

    // --- search state ---
    bool MultiSearch = true;
    bool SearchRunning = false;
    bool stopRequested() const { return stopRequested_; } // Escape or Stop, until the search ends
    QString SearchText;
    int TopFolderCount = 0;
    int SubFoldersSearched = 0;
    int FilesFound = 0;

    // --- window events ---
    void Form_Load();
    // Escape anywhere in the window: stops a running search, else closes the window.
    void Form_KeyDown(int &keyCode, int shift);
    // Closing by any means (Escape, the close box): stops the search and clears the results.
    void Form_Unload();
    void txtFileSearch_Change(const QString &text); // the user edited the text
    void txtFileSearch_KeyDown(int &keyCode, int shift);
    void txtFileSearch_DblClick();
    // The Stop button beside the text box, shown while a search runs: the same as Escape then.
    void cmdStop_Click();
    void optMultiple_Click();
    void optSingle_Click();
    // The user picked an entry of the drive list; "Other Folder..." asks for a folder.
    void Drive1_Change(int index);
    void focusMovedTo(Control control); // the user moved the focus

    void SearchDrive();

    // --- the results list (FileSearchResults.cpp) ---
    void lstFileSearch_Click();
    void lstFileSearch_DblClick();
    void lstFileSearch_KeyDown(int &keyCode, int shift);
    void lstFileSearch_MouseDown(int button, int shift, int row);
    void lstFileSearch_MouseMove(int button, int shift, int row);
    void mnuNamePointers_Click(); // the popup opens
    void menuClick(const QString &itemName); // a popup item was chosen
    void AddResultsToFileList();
    void LaunchSearchResult();
    void CopyPathAndFilename();
    void RemoveSearchResults();
    void ToggleSearchLines();
    void PrintSearchResults();

private:
    class ListEvents;

    FeatureContext c;
    SharedState &s;
    FolderPicker *folderPicker_;
    Editors *editors_; // adds the selected results; none: they cannot be added
    std::unique_ptr<ListEvents> listEvents_;
    std::vector<DriveEntry> drives_;
    int driveIndex_ = -1;
    QString caption_;
    QString text_;
    QString status_;
    Layout layout_;
    Control focus_ = Control::None;
    bool closed_ = false;
    bool walkMulti_ = true; // the mode the running search started in
    bool singleFound_ = false;
    bool stopRequested_ = false;
    std::unique_ptr<SearchWorker> worker_; // the running walk
    double started_ = 0; // the clock's seconds when the search began
    std::chrono::steady_clock::time_point shown_; // the results view last caught up
    bool pausing_ = false; // the half second after a search, before its outcome shows
    int pauseId_ = 0;
    // Tasks posted to the window's thread or timers hold a weak copy; it expires with the window.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

    void changed(Change c)
    {
        if (onChanged)
            onChanged(c);
    }
    void setCaption(const QString &caption);
    void setText(const QString &text);
    void setRunning(bool running);
    void setStatus(const QString &status);
    void setFocus(Control control);
    void computeLayout();
    void applySettings();
    void buildMenu();
    void selectProgramFolderDrive();
    void startWalk(std::unique_ptr<SearchEngine> engine);
    void stopWalk();
    void batchArrived(const SearchBatch &batch, bool last);
    void applyBatch(const SearchBatch &batch);
    void walkEnded();
    void endPause();
    void finishSearch();
    void emptyList(); // beep and focus back to the text, for actions on no rows
    void launch(const QString &target);
};

// The desktop's side of the window: shows it modally and returns when it has closed.
class FileSearchDisplay
{
public:
    virtual ~FileSearchDisplay() = default;
    virtual void showFileSearch(FileSearch &search) = 0;
};

} // namespace corvanta
