#include "FileSearchFixture.h"
#include "support/DataBuilder.h"

#include "search/FileSearchTexts.h"
#include "search/GlobalFileSearch.h"

#include <QDir>

#include <condition_variable>
#include <mutex>

namespace corvanta::test {
namespace {

using Change = FileSearch::Change;
using Control = FileSearch::Control;

class FileSearchTest : public FileSearchFixture
{ };

// Missing settings read as True; what the options and the lines item set is stored at once.
TEST_F(FileSearchTest, opening_appliesTheStoredSettingsAndClicksStoreThem)
{
    const QString currentFolder = QDir::currentPath();
    for (const bool stored : {true, false}) {
        if (!stored) {
            setIni(u"File Search"_s, u"MultiSearch"_s, u"False"_s);
            setIni(u"File Search"_s, u"DisplayLines"_s, u"no"_s);
        }
        open();
        EXPECT_EQ(search->optMultiple(), stored);
        EXPECT_EQ(results().gridLines(), stored ? GridLines::Shown : GridLines::Hidden);
        EXPECT_EQ(search->menuItem(u"mnuDisplayLinesInFileSearch"_s)->checked, stored);
        EXPECT_EQ(search->focus(), Control::TxtFileSearch);
    }
    search->optMultiple_Click();
    EXPECT_EQ(ini(u"File Search"_s, u"MultiSearch"_s), u"True"_s);
    search->optSingle_Click();
    EXPECT_EQ(ini(u"File Search"_s, u"MultiSearch"_s), u"False"_s);
    for (const QString &stored : {u"True"_s, u"False"_s}) {
        search->menuClick(u"mnuDisplayLinesInFileSearch"_s);
        EXPECT_EQ(ini(u"File Search"_s, u"DisplayLines"_s), stored);
        EXPECT_EQ(results().gridLines(), stored == u"True" ? GridLines::Shown : GridLines::Hidden);
    }
    // Paths are built from the data folder; the process's current folder is left alone.
    EXPECT_EQ(QDir::currentPath(), currentFolder);
}

TEST_F(FileSearchTest, emptyText_isRefusedWithItsMessage)
{
    open();
    searchFor(QString());

    expectBoxes(ui, {{u" No Filename To Search"_s, u"Input A Filename To Search For.     "_s}});
    EXPECT_EQ(search->focus(), Control::TxtFileSearch);
}

TEST_F(FileSearchTest, emptyOrUnreadableRoot_showsTheEmptyDriveMessageAndKeepsTheCaption)
{
    const QString missing = tree.path() + u"/gone"_s;
    open({{tree.path(), tree.path()}, {missing, missing}});
    searchFor(u"*.txt"_s);

    ASSERT_TRUE(boxesShown(ui, {{u" Drive "_s + tree.path().toUpper() + u" Is Empty"_s, u"No Folders In Drive "_s + tree.path().toUpper() + u" To Search.     "_s}}));
    EXPECT_EQ(ui.boxes[0].flags, MsgBox::OkOnly | MsgBox::Exclamation);
    EXPECT_EQ(search->caption(), u" Global File Search"_s);
    EXPECT_EQ(captions.first(), u"Searching "_s + tree.path().toUpper() + u" Drive For *.txt"_s);
    EXPECT_EQ(ui.busyDepth, 0);

    search->Drive1_Change(1);
    searchFor(u"*.txt"_s);
    EXPECT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1].title, u" Drive "_s + missing.toUpper() + u" Is Empty"_s);
}

TEST_F(FileSearchTest, multipleSearch_listsEveryMatchDeepestFirstWithCountAndTime)
{
    file(u"top.txt"_s);
    file(u"A/a.txt"_s);
    file(u"A/deep/d.TXT"_s);
    file(u"B/b.log"_s);
    open();
    std::vector<FileSearch::ProgressBar> bars;
    auto record = search->onChanged;
    search->onChanged = [&](Change c) {
        record(c);
        if (c == Change::Progress)
            bars.push_back(search->ProgressBar1);
    };
    searchFor(u"*.txt"_s);

    EXPECT_EQ(rows(results()),
        (QStringList {path(u"A/deep/d.TXT"_s), path(u"A/a.txt"_s), path(u"top.txt"_s)}));
    // The walk takes no time on the test clock; the closing pause is the half second shown.
    EXPECT_EQ(search->caption(), u"3 Files Found - 0.5 Seconds"_s);
    EXPECT_EQ(clock.timerMs, 500);
    EXPECT_EQ(search->txtFileSearch(), u"*.txt"_s);
    EXPECT_EQ(search->SubFoldersSearched, 3);
    ASSERT_FALSE(bars.empty());
    EXPECT_TRUE(bars.front().Visible);
    EXPECT_EQ(bars.front().Max, 2); // the top folders
    EXPECT_FALSE(search->ProgressBar1.Visible);
    EXPECT_EQ(ui.busyDepth, 0);

    searchFor(u"nothing.here"_s);
    EXPECT_EQ(results().ListCount(), 0);
    EXPECT_EQ(search->caption(), u"0 Files Found - 0.5 Seconds"_s);
    EXPECT_TRUE(ui.boxes.empty());
}

// Names equal but for letter case come in one order, whichever was made first.
TEST_F(FileSearchTest, namesDifferingOnlyInCase_listInOneOrderWhateverTheirMaking)
{
    const QStringList made[] = {{u"aa"_s, u"aA"_s, u"Aa"_s, u"AA"_s}, {u"AA"_s, u"Aa"_s, u"aA"_s, u"aa"_s}};
    for (const QStringList &names : made) {
        for (const QString &name : names)
            file(u"case/"_s + name);
        open();
        searchFor(u"aa"_s);
        EXPECT_EQ(rows(results()), (QStringList {path(u"case/AA"_s), path(u"case/Aa"_s),
                                       path(u"case/aA"_s), path(u"case/aa"_s)}))
            << names.join(u' ').toStdString();
        QDir(path(u"case"_s)).removeRecursively();
    }
}

TEST_F(FileSearchTest, singleSearch_listsTheFirstMatchAndNamesItInTheCaption)
{
    file(u"x.txt"_s);
    file(u"A/x.txt"_s);
    file(u"A/B/x.txt"_s);
    open();
    search->optSingle_Click();
    searchFor(u"X.TXT"_s);

    EXPECT_EQ(rows(results()), QStringList {path(u"A/B/x.txt"_s)});
    EXPECT_EQ(search->caption(), u"Single File Search"_s);
    EXPECT_EQ(clock.timerMs, 0);

    searchFor(u"absent.txt"_s);
    EXPECT_EQ(results().ListCount(), 0);
    EXPECT_EQ(
        search->caption(), u"Searching "_s + tree.path().toUpper() + u" Drive For absent.txt"_s);
}

TEST_F(FileSearchTest, texts_captionsCountsAndElapsedTimes)
{
    EXPECT_EQ(FileSearchText::filesFoundCaption(0, 3.27), u"0 Files Found - 3.27 Seconds"_s);
    EXPECT_EQ(
        FileSearchText::filesFoundCaption(12345, 3.27), u"12,345 Files Found - 3.27 Seconds"_s);
    EXPECT_EQ(FileSearchText::elapsedText(12.3456), u"12.35 Seconds"_s);
    EXPECT_EQ(FileSearchText::elapsedText(7.0), u"7 Seconds"_s);
    EXPECT_EQ(FileSearchText::elapsedText(60.0), u"60 Seconds"_s);
    EXPECT_EQ(FileSearchText::elapsedText(90.0), u"1 Minutes 30 Seconds"_s);
    EXPECT_EQ(FileSearchText::elapsedText(155.6), u"2 Minutes 36 Seconds"_s);
    EXPECT_EQ(FileSearchText::subFoldersCaption(1230), u"1,230 Sub-Folders Searched"_s);
    EXPECT_EQ(FileSearchText::filesFoundText(1200), u" 1,200 Files Found"_s);
    // A result shows as its name, then its folder.
    const std::pair<QString, QString> split[] = {{u"/home/ann/a b.pdf"_s, u"/home/ann"_s},
        {u"/swap.img"_s, u"/"_s}, {u"/srv/dir/"_s, u"/srv/dir"_s}};
    for (const auto &[path, folder] : split) {
        EXPECT_EQ(FileSearchText::resultFolder(path), folder);
        EXPECT_EQ(folder + (folder == u"/" ? u""_s : u"/"_s) + FileSearchText::resultName(path), path);
    }
}

TEST_F(FileSearchTest, runningCount_showsEveryTenFilesUpTo200ThenEveryHundred)
{
    open();
    // The last count a search shows before the search text returns, for trees of n files.
    const std::vector<std::pair<int, QString>> expected = {{9, QString()},
        {10, u" 10 Files Found"_s}, {200, u" 200 Files Found"_s}, {210, u" 200 Files Found"_s},
        {300, u" 300 Files Found"_s}, {310, u" 300 Files Found"_s}};
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
}

TEST_F(FileSearchTest, subFolderCount_showsInTheMainWindowsCaptionEveryTenFolders)
{
    for (int i = 0; i < 25; ++i)
        QDir().mkpath(path(u"d%1"_s.arg(i)));
    open();
    QStringList mainCaptions;
    form->onChanged = [&](MainForm::Change c) {
        if (c == MainForm::Change::Caption)
            mainCaptions << form->caption();
    };
    searchFor(u"*.txt"_s);

    ASSERT_FALSE(mainCaptions.isEmpty());
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
    int posted = 0;
    int taken = 0;
    bool pressed = false;
    int listedAtEscape = 0;
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

TEST_F(FileSearchTest, secondEnterWhileSearching_isIgnored)
{
    for (int i = 0; i < 600; ++i)
        file(u"d%1/f.txt"_s.arg(i));
    open();
    int nested = 0;
    ui.onPump = [&] {
        ++nested;
        enter(u"other"_s);
    };
    searchFor(u"f.txt"_s);

    EXPECT_GT(nested, 0);
    EXPECT_EQ(results().ListCount(), 600);
    EXPECT_EQ(captions.count(u"Searching "_s + tree.path().toUpper() + u" Drive For f.txt"_s), 1);
    EXPECT_EQ(captions.count(u"Searching "_s + tree.path().toUpper() + u" Drive For other"_s), 0);
    EXPECT_EQ(search->caption(), u"600 Files Found - 0.5 Seconds"_s);
}

TEST_F(FileSearchTest, closingDuringASearch_stopsItAndLeavesTheListEmpty)
{
    for (int i = 0; i < 300; ++i)
        file(u"d%1/f.txt"_s.arg(i));
    open();
    ui.onPump = [&] {
        if (!search->closed())
            search->Form_Unload();
    };
    searchFor(u"f.txt"_s);

    EXPECT_TRUE(search->closed());
    EXPECT_EQ(results().ListCount(), 0);
    EXPECT_EQ(clock.timerMs, 0);
    EXPECT_FALSE(search->SearchRunning);
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(FileSearchTest, driveList_startsOnTheDataFoldersFileSystemAndOffersOtherFolders)
{
    // The data folder is offered as a folder of its own, not as a file system: the listed mount
    // that holds it is chosen, whatever this machine's mount table says.
    open({{u"/nowhere"_s, u"/nowhere"_s}, {u"/"_s, u"/"_s}, {data.path(), data.path(), true}});
    EXPECT_EQ(search->driveIndex(), 1);
    EXPECT_EQ(search->driveTexts().last(), u"Other Folder..."_s);

    picker.answer = tree.path();
    search->Drive1_Change(3);
    EXPECT_EQ(picker.startFolders, QStringList {u"/"_s});
    EXPECT_EQ(search->driveIndex(), 3);
    EXPECT_EQ(search->currentDrive()->path, tree.path());
    EXPECT_TRUE(search->currentDrive()->folderOnly);
    EXPECT_EQ(search->driveTexts().size(), 5);

    picker.answer.clear();
    search->Drive1_Change(4);
    EXPECT_EQ(search->driveIndex(), 3);
    EXPECT_EQ(search->driveTexts().size(), 5);
}

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

    struct Case
    {
        const char *what;
        std::vector<DriveEntry> drives;
        QString programFolder;
        int expected;
    };
    const std::vector<Case> cases = {
        {"deepest mount wins", {other, root, disk}, real + u"/disk/data"_s, 2},
        {"reached through a link", {root, disk}, real + u"/link/data"_s, 1},
        {"trailing slash", {root, diskSlash}, real + u"/link/data"_s, 1},
        {"whole names only", {lookalike, root}, real + u"/disk/data"_s, 1},
        {"folders are not mounts", {root, dataFolder}, real + u"/disk/data"_s, 0},
        {"no prefix: the first", {other, lookalike}, real + u"/disk2"_s, 0},
        {"missing folder", {other, root}, real + u"/gone"_s, 1},
        {"no drives", {}, real + u"/disk/data"_s, -1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(driveHolding(c.drives, c.programFolder), c.expected) << c.what;
    }

    form->state.ProgramFolder = real + u"/link/data"_s;
    open({other, root, disk});
    EXPECT_EQ(search->driveIndex(), 2);
}

TEST_F(FileSearchTest, mountedDrives_listFileSystemsByMountPointThenTheHomeFolder)
{
    const std::vector<DriveEntry> drives = mountedDrives(tree.path());
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.back(), (DriveEntry {tree.path(), tree.path(), true}));
    for (const DriveEntry &d : drives) {
        EXPECT_NE(d.path, u"/proc"_s);
        EXPECT_NE(d.path, u"/sys"_s);
        EXPECT_TRUE(d.text.startsWith(d.path)) << qPrintable(d.text);
        EXPECT_EQ(d.folderOnly, &d == &drives.back()) << qPrintable(d.text);
    }
}

TEST_F(FileSearchTest, openGlobalFileSearch_restoresTheCaptionAndReappliesTheFileSort)
{
    GlobalFileSearch *feature = &program->globalFileSearch();
    feature->setDriveSource(
        [this] { return std::vector<DriveEntry> {{tree.path(), tree.path()}}; });
    for (const char *row : {"b\t/x/b", "c\t/x/c", "a\t/x/a"})
        files().addRow(QString::fromLatin1(row));
    files().setListIndex(1);
    files().setRow(1);
    files().setSelected(true);
    form->state.FileSort = SortOrder::Ascending;
    const QString caption = form->caption();
    bool sawWindow = false;
    ui.onFileSearch = [&](FileSearch &s) {
        sawWindow = feature->openWindow() == &s;
        form->setCaption(u"20 Sub-Folders Searched"_s);
    };

    int key = Key::F9;
    form->Form_KeyDown(key, 0);

    EXPECT_EQ(ui.fileSearches, 1);
    EXPECT_TRUE(sawWindow);
    EXPECT_EQ(feature->openWindow(), nullptr);
    EXPECT_EQ(form->caption(), caption);
    EXPECT_EQ(rows(files()), (QStringList {u"a\t/x/a"_s, u"b\t/x/b"_s, u"c\t/x/c"_s}));
    EXPECT_EQ(selectedRows(files()), QList<int> {1});

    for (const char *command : {"mnuSearchDrives", "mnuSearchAllDrives"})
        form->menuClick(QString::fromLatin1(command));
    form->toolbarButtonClick(u"FileSearch"_s);
    form->toolbarEntryClick(u"Global File Search"_s);
    EXPECT_EQ(ui.fileSearches, 5);
}

} // namespace
} // namespace corvanta::test
