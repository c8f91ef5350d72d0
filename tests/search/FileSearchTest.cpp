#include "platform/Keys.h"
#include "search/FileSearch.h"
#include "search/FileSearchTexts.h"
#include "search/GlobalFileSearch.h"
#include "support/DataBuilder.h"
#include "support/FakeFolderPicker.h"
#include "support/FakePrinter.h"
#include "support/FormFixture.h"

#include <QDir>
#include <QLocale>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

namespace corvanta::test {
namespace {

using Change = FileSearch::Change;
using Control = FileSearch::Control;
using Outcome = EditorResult::Outcome;

// A search window over the program and a folder tree of its own; the pointer editor is played:
// it saves the file as a pointer or hands back the next scripted outcome.
class FileSearchTest : public FormFixture, public Editors
{
protected:
    FakePrinter printer;
    FakeFolderPicker picker;
    TempFolder tree;
    std::unique_ptr<FileSearch> search;
    std::vector<Change> changes;
    QStringList texts;    // every text the text box was given, in order
    QStringList captions; // every window caption, in order
    struct EditorCall
    {
        QString path;
        int resultsSelected; // as the editor sees them, to offer "Cancel All Selections"
    };
    std::vector<EditorCall> editorCalls;
    std::deque<Outcome> editorAnswers; // none left: Saved

    EditorResult showEditor(const EditorRequest &request) override
    {
        EXPECT_EQ(request.mode, EditorMode::AddFile);
        editorCalls.push_back({request.addFilePath, request.addSelections});
        const Outcome answer = editorAnswers.empty() ? Outcome::Saved : editorAnswers.front();
        if (!editorAnswers.empty())
            editorAnswers.pop_front();
        if (answer == Outcome::Saved)
            files().addRow(u"name\t"_s + request.addFilePath);
        EditorResult result;
        result.outcome = answer;
        result.name = u"name"_s;
        return result;
    }

    void SetUp() override
    {
        QLocale::setDefault(QLocale::c()); // "," between thousands
        printService = &printer;
        start();
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    void open(std::vector<DriveEntry> drives = {})
    {
        if (drives.empty())
            drives.push_back({tree.path(), tree.path()});
        search = std::make_unique<FileSearch>(form->context(), drives, &picker, this);
        search->onChanged = [this](Change c) {
            changes.push_back(c);
            if (c == Change::Text)
                texts << search->txtFileSearch();
            if (c == Change::Caption)
                captions << search->caption();
        };
        search->Form_Load();
    }
    void file(const QString &relative) { tree.write(relative, "x"); }
    // The user types text and presses Enter.
    void enter(const QString &text)
    {
        search->txtFileSearch_Change(text);
        int key = Key::Return;
        search->txtFileSearch_KeyDown(key, 0);
    }
    // ... and the window's events run until the search has ended, its closing pause included.
    void searchFor(const QString &text)
    {
        enter(text);
        ui.runEvents([this] { return !search->SearchRunning; });
        clock.runTimers();
    }
    ListControl &results() { return search->lstFileSearch; }
    // An open window with rows as a finished search leaves them, the given ones selected.
    void fill(int count, std::initializer_list<int> selected = {})
    {
        open();
        for (int i = 0; i < count; ++i)
            results().addRow(u"/data/file%1.txt"_s.arg(i));
        for (int row : selected) {
            results().setRow(row);
            results().setSelected(true);
        }
    }
    int count(Change c) const { return int(std::count(changes.begin(), changes.end(), c)); }
};

// Missing settings read as True; what the options and the lines item set is stored at once.
TEST_F(FileSearchTest, opening_appliesTheStoredSettingsAndClicksStoreThem)
{
    for (const char *stored : {"", "no"}) {
        for (const QString &key : {u"MultiSearch"_s, u"DisplayLines"_s}) {
            if (*stored)
                setIni(u"File Search"_s, key, QString::fromLatin1(stored));
        }
        open();
        EXPECT_EQ(search->optMultiple(), !*stored);
        EXPECT_EQ(results().gridLines(), *stored ? GridLines::Hidden : GridLines::Shown);
        EXPECT_EQ(search->menuItem(u"mnuDisplayLinesInFileSearch"_s)->checked, !*stored);
        EXPECT_EQ(search->focus(), Control::TxtFileSearch);
    }
    search->optMultiple_Click();
    EXPECT_EQ(ini(u"File Search"_s, u"MultiSearch"_s), u"True"_s);
    search->optSingle_Click();
    EXPECT_EQ(ini(u"File Search"_s, u"MultiSearch"_s), u"False"_s);
    search->menuClick(u"mnuDisplayLinesInFileSearch"_s);
    EXPECT_EQ(ini(u"File Search"_s, u"DisplayLines"_s), u"True"_s);
}

// Each search as data: the tree, the option and the text; what it lists, deepest folder first and
// names equal but for case in one order whatever their making, its caption and the box it shows.
// "%1" stands for the root searched, in capitals; no text, an empty or unreadable root are refused.
TEST_F(FileSearchTest, searches_listTheirMatchesWithTheirCaptionOrBox)
{
    const QStringList tree = {u"top.txt"_s, u"A/a.txt"_s, u"A/deep/d.TXT"_s, u"B/b.log"_s,
        u"A/deep/top.txt"_s};
    const QString idle = u" Global File Search"_s;
    const Box noText {u" No Filename To Search"_s, u"Input A Filename To Search For.     "_s};
    const Box empty {u" Drive %1 Is Empty"_s, u"No Folders In Drive %1 To Search.     "_s};
    const struct
    {
        QStringList files;
        QString under; // the root below the tree's folder
        bool single;
        QString text;
        QStringList listed;
        QString caption;
        std::optional<Box> box;
    } cases[] = {
        {tree, {}, false, {}, {}, idle, noText},
        {{}, {}, false, u"*.txt"_s, {}, idle, empty},
        {{}, u"/gone"_s, false, u"*.txt"_s, {}, idle, empty},
        {tree, {}, false, u"*.txt"_s, {u"A/deep/d.TXT"_s, u"A/deep/top.txt"_s, u"A/a.txt"_s,
            u"top.txt"_s}, u"4 Files Found - 0.5 Seconds"_s, {}},
        {tree, {}, false, u"nothing.here"_s, {}, u"0 Files Found - 0.5 Seconds"_s, {}},
        {tree, {}, true, u"TOP.TXT"_s, {u"A/deep/top.txt"_s}, u"Single File Search"_s, {}},
        {tree, {}, true, u"absent.txt"_s, {}, u"Searching %1 Drive For absent.txt"_s, {}},
        {{u"c/aa"_s, u"c/aA"_s, u"c/Aa"_s, u"c/AA"_s}, {}, false, u"aa"_s,
            {u"c/AA"_s, u"c/Aa"_s, u"c/aA"_s, u"c/aa"_s}, u"4 Files Found - 0.5 Seconds"_s, {}},
        {{u"c/AA"_s, u"c/Aa"_s, u"c/aA"_s, u"c/aa"_s}, {}, false, u"aa"_s,
            {u"c/AA"_s, u"c/Aa"_s, u"c/aA"_s, u"c/aa"_s}, u"4 Files Found - 0.5 Seconds"_s, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.files.join(u' ').toStdString() + " / " + c.text.toStdString());
        TempFolder folder;
        for (const QString &f : c.files)
            folder.write(f, "x");
        const QString root = folder.path() + c.under;
        const auto shown = [&](QString text) { return text.replace(u"%1"_s, root.toUpper()); };
        open({{root, root}});
        c.single ? search->optSingle_Click() : search->optMultiple_Click();
        ui.boxes.clear();
        captions.clear();
        clock.timerMs = 0;
        searchFor(c.text);
        QStringList listed;
        for (const QString &f : c.listed)
            listed << folder.file(f);
        EXPECT_EQ(rows(results()), listed);
        EXPECT_EQ(search->caption(), shown(c.caption));
        EXPECT_EQ(clock.timerMs, c.caption.contains(u"Found"_s) ? 500 : 0);
        if (c.box) {
            expectBoxes(ui, {{shown(c.box->title), shown(c.box->text)}});
            if (!c.text.isEmpty()) {
                EXPECT_EQ(ui.boxes.at(0).flags, MsgBox::OkOnly | MsgBox::Exclamation);
            }
        } else {
            EXPECT_TRUE(ui.boxes.empty());
        }
        if (!c.text.isEmpty()) {
            EXPECT_EQ(captions.value(0), shown(u"Searching %1 Drive For "_s + c.text));
        }
        EXPECT_EQ(ui.busyDepth, 0);
    }
}

// The running count shows every ten files up to 200, then every hundred; the main window's
// caption counts the folders every ten.
TEST_F(FileSearchTest, runningCounts_showInStepsOfTenThenAHundred)
{
    for (int i = 0; i < 25; ++i)
        QDir().mkpath(tree.file(u"d%1"_s.arg(i)));
    open();
    QStringList mainCaptions;
    form->onChanged = [&](MainForm::Change c) {
        if (c == MainForm::Change::Caption)
            mainCaptions << form->caption();
    };
    // The last count a search shows before the search text returns, for trees of n files.
    const std::pair<int, QString> expected[] = {{9, QString()}, {10, u" 10 Files Found"_s},
        {200, u" 200 Files Found"_s}, {210, u" 200 Files Found"_s}, {300, u" 300 Files Found"_s},
        {310, u" 300 Files Found"_s}};
    int made = 0;
    for (const auto &[n, text] : expected) {
        for (; made < n; ++made)
            file(u"f%1.txt"_s.arg(made, 3, 10, QChar(u'0')));
        texts.clear();
        searchFor(u"*.txt"_s);
        ASSERT_EQ(results().ListCount(), n);
        EXPECT_EQ(search->txtFileSearch(), u"*.txt"_s);
        const QStringList counts = texts.filter(u"Files Found"_s);
        EXPECT_EQ(counts.isEmpty() ? QString() : counts.last(), text) << n;
    }
    EXPECT_EQ(mainCaptions.last(), u"20 Sub-Folders Searched"_s);
    EXPECT_EQ(search->SubFoldersSearched, 25);
}

TEST_F(FileSearchTest, escapeDuringASearch_endsItPromptlyKeepingWhatWasFoundThenASecondEscapeCloses)
{
    for (int d = 0; d < 30; ++d)
        for (int i = 0; i < 100; ++i)
            file(u"d%1/f%2.txt"_s.arg(d, 2, 10, QChar(u'0')).arg(i, 3, 10, QChar(u'0')));
    open();
    searchFor(u"*.txt"_s);
    const QStringList all = rows(results());
    ASSERT_EQ(all.size(), 3000);

    // The walk posts a batch only once the window has taken the one before, so it is at most a
    // batch ahead when Escape comes with the first rows listed.
    std::mutex m;
    std::condition_variable turn;
    int posted = 0, taken = 0, listedAtEscape = 0;
    bool pressed = false;
    const int pumpsBefore = ui.pumps;
    ui.onPost = [&] {
        std::unique_lock lock(m);
        ++posted;
        turn.wait(lock, [&] { return pressed || taken >= posted - 1; });
    };
    ui.onPump = [&] {
        {
            std::lock_guard lock(m);
            taken = ui.pumps - pumpsBefore - 1;
        }
        turn.notify_all();
        if (pressed || results().ListCount() == 0)
            return;
        listedAtEscape = results().ListCount();
        int key = Key::Escape;
        search->Form_KeyDown(key, 0);
        EXPECT_EQ(key, 0);
        EXPECT_TRUE(search->stopRequested());
        EXPECT_TRUE(search->SearchRunning); // the walk's last batch ends it
        {
            std::lock_guard lock(m);
            pressed = true;
        }
        turn.notify_all();
    };
    searchFor(u"*.txt"_s);
    ui.onPost = nullptr;

    const QStringList partial = rows(results());
    EXPECT_GT(listedAtEscape, 0);
    EXPECT_LE(partial.size(), listedAtEscape + 1030); // the walk went no further than it had got
    EXPECT_EQ(search->status(), search->caption()); // the outcome shows in the window too
    EXPECT_EQ(partial, all.mid(0, partial.size()));
    EXPECT_TRUE(search->caption().startsWith(
        FileSearchText::thousands(int(partial.size())) + u" Files Found - "_s));
    EXPECT_FALSE(search->stopRequested());
    EXPECT_FALSE(search->closed());
    EXPECT_EQ(ui.busyDepth, 0);

    int key = Key::Escape;
    search->Form_KeyDown(key, 0);
    EXPECT_TRUE(search->closed());
    EXPECT_EQ(count(Change::Close), 1);
    EXPECT_EQ(results().ListCount(), 0);
}

// While a search runs, a second Enter is ignored; closing the window stops the search.
TEST_F(FileSearchTest, duringASearch_aSecondEnterIsIgnoredAndClosingStopsIt)
{
    for (int i = 0; i < 600; ++i)
        file(u"d%1/f.txt"_s.arg(i));
    for (const bool close : {false, true}) {
        SCOPED_TRACE(close ? "close" : "enter");
        open();
        captions.clear();
        int nested = 0;
        ui.onPump = [&] {
            ++nested;
            if (close && !search->closed())
                search->Form_Unload();
            else if (!close)
                enter(u"other"_s);
        };
        clock.timerMs = 0;
        searchFor(u"f.txt"_s);
        EXPECT_GT(nested, 0);
        EXPECT_EQ(search->closed(), close);
        EXPECT_EQ(results().ListCount(), close ? 0 : 600);
        EXPECT_EQ(clock.timerMs, close ? 0 : 500);
        EXPECT_EQ(captions.filter(u" Drive For "_s),
            QStringList {u"Searching "_s + tree.path().toUpper() + u" Drive For f.txt"_s});
        EXPECT_FALSE(search->SearchRunning);
        EXPECT_EQ(ui.busyDepth, 0);
    }
}

// The data folder's own file system comes first, reached through links and whole names only;
// "Other Folder..." adds the folder picked.
TEST_F(FileSearchTest, startingDrive_isTheLongestListedMountPointOverTheDataFoldersRealPath)
{
    const QString real = QDir(tree.path()).canonicalPath();
    QDir().mkpath(real + u"/disk/data"_s);
    QDir().mkpath(real + u"/disk2"_s);
    ASSERT_TRUE(QFile::link(real + u"/disk"_s, real + u"/link"_s));
    const DriveEntry root {u"/"_s, u"/"_s};
    const DriveEntry disk {real + u"/disk"_s, real + u"/disk"_s};
    const DriveEntry diskSlash {u"disk"_s, real + u"/disk/"_s};
    const DriveEntry lookalike {real + u"/dis"_s, real + u"/dis"_s};
    const DriveEntry other {u"/nowhere"_s, u"/nowhere"_s};
    const DriveEntry dataFolder {u"data"_s, real + u"/disk/data"_s, true};
    const struct
    {
        const char *what;
        std::vector<DriveEntry> drives;
        QString programFolder;
        int expected;
    } cases[] = {
        {"deepest mount wins", {other, root, disk}, real + u"/disk/data"_s, 2},
        {"reached through a link", {root, disk}, real + u"/link/data"_s, 1},
        {"trailing slash", {root, diskSlash}, real + u"/link/data"_s, 1},
        {"whole names only", {lookalike, root}, real + u"/disk/data"_s, 1},
        {"folders are not mounts", {root, dataFolder}, real + u"/disk/data"_s, 0},
        {"no prefix: the first", {other, lookalike}, real + u"/disk2"_s, 0},
        {"missing folder", {other, root}, real + u"/gone"_s, 1},
        {"no drives", {}, real + u"/disk/data"_s, -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(driveHolding(c.drives, c.programFolder), c.expected) << c.what;

    form->state.ProgramFolder = real + u"/link/data"_s;
    open({other, root, disk, dataFolder});
    EXPECT_EQ(search->driveIndex(), 2);
    EXPECT_EQ(search->driveTexts().last(), u"Other Folder..."_s);
    picker.answer = tree.path();
    search->Drive1_Change(4);
    EXPECT_EQ(picker.startFolders, QStringList {disk.path});
    EXPECT_EQ(search->driveIndex(), 4);
    EXPECT_EQ(search->currentDrive()->path, tree.path());
    EXPECT_TRUE(search->currentDrive()->folderOnly);
    picker.answer.clear();
    search->Drive1_Change(5);
    EXPECT_EQ(search->driveIndex(), 4);
    EXPECT_EQ(search->driveTexts().size(), 6);
    EXPECT_EQ(mountedDrives(tree.path()).back(), (DriveEntry {tree.path(), tree.path(), true}));
}

TEST_F(FileSearchTest, openGlobalFileSearch_restoresTheCaptionAndReappliesTheFileSort)
{
    GlobalFileSearch *feature = &program->globalFileSearch();
    feature->setDriveSource(
        [this] { return std::vector<DriveEntry> {{tree.path(), tree.path()}}; });
    for (const char *row : {"b\t/x/b", "c\t/x/c", "a\t/x/a"})
        files().addRow(QString::fromLatin1(row));
    files().setListIndex(1);
    files().selectRow(1);
    form->state.FileSort = SortOrder::Ascending;
    const QString caption = form->caption();
    bool sawWindow = false;
    ui.onFileSearch = [&](FileSearch &s) {
        sawWindow = feature->openWindow() == &s;
        form->setCaption(u"20 Sub-Folders Searched"_s);
    };
    int key = Key::F9;
    form->Form_KeyDown(key, 0);
    EXPECT_TRUE(sawWindow);
    EXPECT_EQ(feature->openWindow(), nullptr);
    EXPECT_EQ(form->caption(), caption);
    EXPECT_EQ(rows(files()), (QStringList {u"a\t/x/a"_s, u"b\t/x/b"_s, u"c\t/x/c"_s}));
    EXPECT_EQ(selectedRows(files()), QList<int> {1});
    form->menuClick(u"mnuSearchAllDrives"_s); // "mnuSearchDrives": the main window test opens it
    form->toolbarButtonClick(u"FileSearch"_s);
    form->toolbarEntryClick(u"Global File Search"_s);
    EXPECT_EQ(ui.fileSearches, 4);
}

// Each selected result gets its own editor in list order; "Cancel All Selections" ends the run
// and unselects the rest, a cancel goes on; the current row ends selected again.
TEST_F(FileSearchTest, selectedResults_goToTheirEditorsInListOrderUntilCancelAll)
{
    const struct
    {
        std::deque<Outcome> answers;
        std::vector<int> asked, shownSelected;
        QStringList added;
    } cases[] = {
        {{Outcome::Saved, Outcome::CancelAll}, {0, 2}, {3, 2}, {u"name\t/data/file0.txt"_s}},
        {{Outcome::Saved, Outcome::Cancelled, Outcome::Saved}, {0, 1, 3}, {3, 2, 1},
            {u"name\t/data/file0.txt"_s, u"name\t/data/file3.txt"_s}},
    };
    for (const auto &c : cases) {
        files().clear();
        editorCalls.clear();
        fill(4, {3, 0, int(c.asked[1])});
        results().setListIndex(1);
        editorAnswers = c.answers;
        int key = Key::Return;
        results().userKeyDown(key, 0);
        ASSERT_EQ(editorCalls.size(), c.asked.size());
        for (size_t i = 0; i < c.asked.size(); ++i) {
            EXPECT_EQ(editorCalls[i].path, u"/data/file%1.txt"_s.arg(c.asked[i]));
            EXPECT_EQ(editorCalls[i].resultsSelected, c.shownSelected[i]);
        }
        EXPECT_EQ(rows(files()), c.added);
        EXPECT_EQ(selectedRows(results()), QList<int> {1});
        EXPECT_EQ(search->focus(), Control::LstFileSearch);
    }
}

// A found file whose name the list format cannot hold is listed, but refused when added; the
// other selected results go on to their editors.
TEST_F(FileSearchTest, resultsWithLineBreakOrNotText_areListedButRefusedWhenAdded)
{
    open();
    results().addRow(u"/data/two\rlines.txt"_s);
    results().addRow(u"/data/fine.txt"_s);
    results().addRow(u"/data/caf\uFFFD.txt"_s); // as a name of invalid bytes reaches the list
    results().selectAll();
    search->AddResultsToFileList();
    ASSERT_EQ(editorCalls.size(), 1u);
    EXPECT_EQ(editorCalls[0].path, u"/data/fine.txt"_s);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].title, u" Cannot Add File"_s);
    EXPECT_EQ(ui.boxes[0].text,
        u"The File  [/data/two lines.txt]  Cannot Be Added.     \rThe file name holds a line break.\r"_s);
    EXPECT_TRUE(ui.boxes[1].text.endsWith(u"The file name is not valid text.\r"_s));
    EXPECT_EQ(results().ListCount(), 3);
    EXPECT_EQ(rows(files()), QStringList {u"name\t/data/fine.txt"_s});
}

// On an empty list every action beeps; a right click adds its row to the selection (below the
// rows: the last) and the popup's items act on the rows.
TEST_F(FileSearchTest, rightClickAndPopupItems_actOnTheRowsAndBeepOnAnEmptyList)
{
    open();
    results().userDoubleClick(-1);
    results().userMouseDown(-1, Mouse::Right, 0);
    search->AddResultsToFileList();
    EXPECT_EQ(ui.beeps, 3);
    EXPECT_EQ(count(Change::Popup), 0);
    EXPECT_TRUE(editorCalls.empty());
    EXPECT_EQ(search->focus(), Control::TxtFileSearch);

    fill(3, {0});
    results().setListIndex(0);
    results().userMouseDown(-1, Mouse::Right, 0);
    EXPECT_EQ(results().Row(), 2);
    EXPECT_EQ(results().ListIndex(), 2);
    EXPECT_EQ(selectedRows(results()), (QList<int> {0, 2}));
    EXPECT_EQ(count(Change::Popup), 1);
    EXPECT_EQ(search->menuItem(u"mnuNameFile"_s)->caption, u"Add Files To File List"_s);
    // A selected row stays as it is, the current row too.
    results().userMouseDown(0, Mouse::Right, 0);
    EXPECT_EQ(results().Row(), 0);
    EXPECT_EQ(results().ListIndex(), 2);
    EXPECT_EQ(results().SelCount(), 2);
    search->menuClick(u"mnuCopyFile"_s); // the current row only
    EXPECT_EQ(clipboard.content, u"/data/file2.txt"_s);

    search->menuClick(u"mnuUnselectAll"_s);
    EXPECT_EQ(results().SelCount(), 0);
    results().userMouseDown(1, Mouse::Right, 0);
    EXPECT_EQ(search->menuItem(u"mnuNameFile"_s)->caption, u"Add File To File List"_s);
    search->menuClick(u"mnuFileLaunch"_s);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].target(), u"/data/file1.txt"_s);
}

TEST_F(FileSearchTest, removeSelected_asksThenTakesRowsOutOfTheListOnly)
{
    fill(4, {1, 2});
    ui.answers = {MsgBox::No};
    search->RemoveSearchResults();
    ASSERT_TRUE(boxesShown(ui, {{u" Remove Selected Files From This List?"_s, u"This Option Removes All Selected Files From This Search List.     \r"
        u"This Option Will NOT Delete, Move Or Alter Any File In Any Manner.     \r"
        u"The Selected Files Will Be Removed But Will Not Be Deleted Or Altered.     \r\r"
        u"Do You Want To Remove All Selected Files From This List?     \r"_s}}));
    EXPECT_EQ(ui.boxes[0].flags, MsgBox::YesNo | MsgBox::Question | MsgBox::DefaultButton2);
    EXPECT_EQ(results().ListCount(), 4);

    ui.answers = {MsgBox::Yes};
    search->RemoveSearchResults();
    EXPECT_EQ(rows(results()), (QStringList {u"/data/file0.txt"_s, u"/data/file3.txt"_s}));
    EXPECT_EQ(results().ListIndex(), 1);
    EXPECT_TRUE(results().isSelected(1));
    EXPECT_EQ(search->caption(), u"2 Files"_s);
}

// From 660 rows on the printout asks first; the rows print once per copy, or only the selection
// when the dialog leaves exactly the selection flag.
TEST_F(FileSearchTest, print_asksForLongListsAndPrintsTheRowsOrTheSelection)
{
    fill(659);
    search->PrintSearchResults();
    EXPECT_TRUE(ui.boxes.empty());
    results().addRow(u"/data/one-more.txt"_s);
    ui.answers = {MsgBox::No};
    search->PrintSearchResults();
    ASSERT_TRUE(boxesShown(ui, {{u" 11 Page Printout"_s, u"This Printout Will Print Approximately 11 Pages. It Is Recommended     \r"
        u"That You Set Your Printer Orientation To Landscape.\r"
        u"Do You Want To Print The Search Results?"_s}}));
    EXPECT_EQ(printer.dialogs, 1);

    fill(3, {0, 2});
    printer.documents.clear();
    printer.choice = {PrintFlags::HidePrintToFile, 2, PageOrientation::Landscape};
    search->menuClick(u"mnuPrintSearchResults"_s);
    ASSERT_EQ(printer.documents.size(), 2u);
    EXPECT_EQ(printer.texts().mid(0, 5), (QStringList {u"Corvanta Search Results"_s, QString(),
        u"/data/file0.txt"_s, u"/data/file1.txt"_s, u"/data/file2.txt"_s}));
    printer.documents.clear();
    printer.choice = {PrintFlags::Selection, 1, PageOrientation::Portrait};
    search->PrintSearchResults();
    EXPECT_EQ(printer.texts(), (QStringList {u"Corvanta Search Results"_s, QString(),
                                   u"/data/file0.txt"_s, u"/data/file2.txt"_s}));
}

} // namespace
} // namespace corvanta::test
