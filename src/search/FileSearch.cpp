#include "search/FileSearch.h"

#include "app/IniFile.h"
#include "app/Settings.h"
#include "app/SharedState.h"
#include "platform/Clock.h"
#include "platform/FolderPicker.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "search/FileSearchTexts.h"
#include "search/SearchWorker.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace corvanta {

namespace {

const QString section = QStringLiteral("File Search");

// The pause after a multiple search, the full bar shown, before its outcome replaces it.
constexpr int ClosingPauseMs = 500;
// How often the results list on screen follows the rows added meanwhile.
constexpr std::chrono::milliseconds ViewInterval(250);

// The walk's threads: "Threads" of the section when it holds a whole number from 1 on, else one
// per core (at most 8).
int walkThreads(Store &store, const QString &iniFile)
{
    bool ok = false;
    const int threads =
        ReadIniString(store, iniFile, section, QStringLiteral("Threads"), QString()).toInt(&ok);
    return ok && threads > 0 ? threads : SearchEngine::defaultThreads();
}

} // namespace

// Routes the results list's events to the window's handlers of the same names.
class FileSearch::ListEvents : public ListControlEvents
{
public:
    explicit ListEvents(FileSearch &search) : search_(search) { }
    void Click(ListControl &) override { search_.lstFileSearch_Click(); }
    void DblClick(ListControl &) override { search_.lstFileSearch_DblClick(); }
    void GotFocus(ListControl &) override { search_.focus_ = Control::LstFileSearch; }
    void KeyDown(ListControl &, int &keyCode, int &shift) override
    {
        search_.lstFileSearch_KeyDown(keyCode, shift);
    }
    void MouseDown(ListControl &, int button, int shift, int row) override
    {
        search_.lstFileSearch_MouseDown(button, shift, row);
    }
    void MouseMove(ListControl &, int button, int shift, int row) override
    {
        search_.lstFileSearch_MouseMove(button, shift, row);
    }

private:
    FileSearch &search_;
};

FileSearch::FileSearch(
    const FeatureContext &context, std::vector<DriveEntry> drives, FolderPicker *folderPicker,
    Editors *editors)
    : c(context),
      s(context.state),
      folderPicker_(folderPicker),
      editors_(editors),
      listEvents_(std::make_unique<ListEvents>(*this)),
      drives_(std::move(drives)),
      caption_(FileSearchText::windowCaption())
{
    lstFileSearch.setEvents(listEvents_.get());
    buildMenu();
}

FileSearch::~FileSearch()
{
    worker_.reset(); // stops and joins the walk; what it posted meanwhile finds no window
    lstFileSearch.setEvents(nullptr);
}

QStringList FileSearch::driveTexts() const
{
    QStringList texts;
    for (const DriveEntry &d : drives_)
        texts << d.text;
    texts << FileSearchText::otherFolderEntry();
    return texts;
}

const DriveEntry *FileSearch::currentDrive() const
{
    return driveIndex_ >= 0 && driveIndex_ < int(drives_.size()) ? &drives_[size_t(driveIndex_)]
                                                                 : nullptr;
}

void FileSearch::setCaption(const QString &caption)
{
    if (caption_ == caption)
        return;
    caption_ = caption;
    changed(Change::Caption);
}

void FileSearch::setText(const QString &text)
{
    if (text_ == text)
        return;
    text_ = text;
    changed(Change::Text);
}

void FileSearch::setFocus(Control control)
{
    focus_ = control;
    if (control == Control::LstFileSearch)
        lstFileSearch.setFocus();
    changed(Change::Focus);
}

void FileSearch::focusMovedTo(Control control)
{
    focus_ = control;
}

// --- opening ---

void FileSearch::Form_Load()
{
    selectProgramFolderDrive();
    computeLayout();
    applySettings();
}

void FileSearch::selectProgramFolderDrive()
{
    driveIndex_ = driveHolding(drives_, s.ProgramFolder);
    changed(Change::Drives);
}

void FileSearch::computeLayout()
{
    const WindowGeometry main = c.window.geometry();
    Layout &l = layout_;
    l.window.top = main.top + 400;
    l.window.width = main.width - 1700;
    l.window.left = main.left + (main.width - l.window.width) / 2;
    l.window.height = main.height - 500;
    const float w = l.window.width;
    const float h = l.window.height;
    l.txtFileSearch = {120, 120, w - 4140, 315};
    l.optMultiple = {
        l.txtFileSearch.left + l.txtFileSearch.width + 150, l.txtFileSearch.top + 75, 855, 240};
    l.optSingle = {l.optMultiple.left + 875, l.optMultiple.top, 855, 240};
    l.lstFileSearch = {120, 540, w - 330, h - 1260};
    const float driveLeft = l.optSingle.left + 875;
    l.Drive1 = {driveLeft, l.txtFileSearch.top,
        std::max(600.0f, l.lstFileSearch.left + l.lstFileSearch.width - driveLeft), 315};
    l.ProgressBar1 = {
        120, l.lstFileSearch.top + l.lstFileSearch.height + 30, l.lstFileSearch.width, 180};
    l.cmdStop = {l.txtFileSearch.left + l.txtFileSearch.width - 900, l.txtFileSearch.top, 900,
        l.txtFileSearch.height};
    l.lblStatus = {120, l.ProgressBar1.top, l.lstFileSearch.width, 255};
}

TwipsRect FileSearch::txtFileSearchPlace() const
{
    TwipsRect r = layout_.txtFileSearch;
    if (SearchRunning)
        r.width = std::max(300.0f, layout_.cmdStop.left - r.left - 60);
    return r;
}

void FileSearch::setRunning(bool running)
{
    SearchRunning = running;
    changed(Change::Running);
}

void FileSearch::setStatus(const QString &status)
{
    if (status_ == status)
        return;
    status_ = status;
    changed(Change::Status);
}

void FileSearch::applySettings()
{
    const QString multi =
        ReadIniString(c.store, s.IniFile, section, QStringLiteral("MultiSearch"), QStringLiteral("True"));
    if (multi == u"True")
        optMultiple_Click();
    else
        optSingle_Click();
    const QString lines =
        ReadIniString(c.store, s.IniFile, section, QStringLiteral("DisplayLines"), QStringLiteral("True"));
    const bool show = lines == u"True";
    lstFileSearch.setGridLines(show ? GridLines::Shown : GridLines::Hidden);
    for (MenuItem &item : mnuNamePointers) {
        if (item.name == u"mnuDisplayLinesInFileSearch")
            item.checked = show;
    }
    changed(Change::Menu);
}

// --- events ---

void FileSearch::optMultiple_Click()
{
    MultiSearch = true;
    writeSetting(c.store, s, c.ui, section, QStringLiteral("MultiSearch"), QStringLiteral("True"));
    changed(Change::Options);
    setFocus(Control::TxtFileSearch);
}

void FileSearch::optSingle_Click()
{
    MultiSearch = false;
    writeSetting(c.store, s, c.ui, section, QStringLiteral("MultiSearch"), QStringLiteral("False"));
    changed(Change::Options);
    setFocus(Control::TxtFileSearch);
}

void FileSearch::Drive1_Change(int index)
{
    if (index >= 0 && index < int(drives_.size())) {
        driveIndex_ = index;
        return;
    }
    if (index != int(drives_.size()))
        return;
    // "Other Folder...": a folder of the user's choice becomes an entry of its own.
    const DriveEntry *current = currentDrive();
    const QString start = current ? current->path : QDir::homePath();
    const QString folder = folderPicker_
        ? QDir::cleanPath(folderPicker_->chooseFolder(FileSearchText::otherFolderTitle(), start))
        : QString();
    if (folder.isEmpty() || folder == u".") {
        changed(Change::Drives); // the list shows the previous choice again
        return;
    }
    const auto it = std::find_if(
        drives_.begin(), drives_.end(), [&](const DriveEntry &d) { return d.path == folder; });
    if (it != drives_.end()) {
        driveIndex_ = int(it - drives_.begin());
    } else {
        drives_.push_back({folder, folder, true});
        driveIndex_ = int(drives_.size()) - 1;
    }
    changed(Change::Drives);
}

void FileSearch::txtFileSearch_Change(const QString &text)
{
    text_ = text;
}

void FileSearch::txtFileSearch_KeyDown(int &keyCode, int /*shift*/)
{
    if (keyCode != Key::Return)
        return;
    keyCode = 0;
    SearchDrive();
}

void FileSearch::txtFileSearch_DblClick()
{
    SearchDrive();
}

void FileSearch::cmdStop_Click()
{
    if (SearchRunning)
        stopWalk();
}

void FileSearch::Form_KeyDown(int &keyCode, int /*shift*/)
{
    if (keyCode != Key::Escape)
        return;
    keyCode = 0;
    if (SearchRunning) {
        stopWalk();
        return;
    }
    endPause();
    Form_Unload();
    changed(Change::Close);
}

void FileSearch::Form_Unload()
{
    if (closed_)
        return;
    endPause();
    closed_ = true;
    // The window goes: a running walk ends here, not in an event loop that may not run again.
    stopWalk();
    if (worker_)
        walkEnded();
    lstFileSearch.clear();
}

void FileSearch::stopWalk()
{
    if (!worker_)
        return;
    stopRequested_ = true;
    worker_->cancel(); // the walk ends at its next entry and posts its last batch
}

// --- the search ---

void FileSearch::SearchDrive()
{
    // An Enter in the pause after a search is taken once the pause is over.
    endPause();
    // A second Enter while the walk runs starts nothing.
    if (SearchRunning || closed_)
        return;
    if (!currentDrive())
        selectProgramFolderDrive();
    if (text_.isEmpty()) {
        c.ui.msgBox(FileSearchText::noFilenameText(), FileSearchText::noFilenameTitle(),
            MsgBox::OkOnly | MsgBox::Exclamation);
        setFocus(Control::TxtFileSearch);
        return;
    }
    const DriveEntry drive = currentDrive() ? *currentDrive() : DriveEntry();
    lstFileSearch.clear();
    setStatus(QString());
    SearchText = text_;
    stopRequested_ = false;
    setCaption(FileSearchText::searchingCaption(drive.text, SearchText));
    c.ui.setBusy(true);
    started_ = c.clock.seconds();

    walkMulti_ = MultiSearch;
    auto engine = std::make_unique<SearchEngine>(QFile::encodeName(drive.path).toStdString(),
        SearchPattern(SearchText),
        walkMulti_ ? SearchEngine::Mode::Multiple : SearchEngine::Mode::Single);
    engine->setThreads(walkThreads(c.store, s.IniFile));
    const RootInfo info = engine->inspectRoot();
    if (!info.readable || info.entries == 0) {
        c.ui.setBusy(false);
        c.ui.msgBox(FileSearchText::emptyDriveText(drive.path),
            FileSearchText::emptyDriveTitle(drive.path), MsgBox::OkOnly | MsgBox::Exclamation);
        setCaption(FileSearchText::windowCaption());
        return;
    }
    TopFolderCount = info.topFolders;
    startWalk(std::move(engine));
}

void FileSearch::startWalk(std::unique_ptr<SearchEngine> engine)
{
    if (walkMulti_) {
        ProgressBar1 = {0, TopFolderCount, 0, true, layout_.lstFileSearch.width};
        changed(Change::Progress);
    }
    SubFoldersSearched = 0;
    FilesFound = 0;
    singleFound_ = false;
    setRunning(true);
    // The view catches up with the new rows a few times a second, not after every batch: each
    // catch-up costs it time in proportion to the rows already listed.
    lstFileSearch.setRedraw(false);
    shown_ = std::chrono::steady_clock::now();

    Ui &ui = c.ui;
    worker_ = std::make_unique<SearchWorker>(std::move(engine),
        [this, &ui, alive = std::weak_ptr<bool>(alive_)](SearchBatch &&batch, bool last) {
            ui.post([this, alive, batch = std::move(batch), last] {
                if (!alive.expired())
                    batchArrived(batch, last);
            });
        });
    worker_->start();
}

void FileSearch::batchArrived(const SearchBatch &batch, bool last)
{
    if (!worker_)
        return;
    applyBatch(batch);
    if (last) {
        walkEnded();
        return;
    }
    if (std::chrono::steady_clock::now() - shown_ >= ViewInterval) {
        lstFileSearch.setRedraw(true);
        lstFileSearch.setRedraw(false);
        shown_ = std::chrono::steady_clock::now();
    }
}

void FileSearch::walkEnded()
{
    worker_.reset(); // its thread has posted its last batch and is ending
    lstFileSearch.setRedraw(true);
    if (walkMulti_) {
        ProgressBar1.Value = ProgressBar1.Max;
        changed(Change::Progress);
    }
    setRunning(false);
    if (!walkMulti_ || closed_) {
        finishSearch();
        return;
    }
    // The last rows and the full bar show for half a second before the outcome.
    pausing_ = true;
    const int id = ++pauseId_;
    c.clock.singleShot(ClosingPauseMs, [this, id, alive = std::weak_ptr<bool>(alive_)] {
        if (!alive.expired() && id == pauseId_)
            endPause();
    });
}

void FileSearch::endPause()
{
    if (!pausing_)
        return;
    pausing_ = false;
    finishSearch();
}

void FileSearch::finishSearch()
{
    if (walkMulti_) {
        ProgressBar1.Visible = false;
        changed(Change::Progress);
    }
    const double elapsed = c.clock.seconds() - started_;
    c.ui.setBusy(false);
    stopRequested_ = false;
    setText(SearchText);
    const QString found = FileSearchText::filesFoundCaption(lstFileSearch.ListCount(), elapsed);
    if (walkMulti_)
        setCaption(found);
    setStatus(found);
}

void FileSearch::applyBatch(const SearchBatch &batch)
{
    if (batch.foldersEntered / 10 > SubFoldersSearched / 10)
        c.window.setCaption(FileSearchText::subFoldersCaption(batch.foldersEntered / 10 * 10));
    SubFoldersSearched = batch.foldersEntered;
    if (walkMulti_ && ProgressBar1.Value != std::min(ProgressBar1.Max, batch.topFoldersDone)) {
        // Folders that appeared after the root was listed must not push the bar past its end.
        ProgressBar1.Value = std::min(ProgressBar1.Max, batch.topFoldersDone);
        changed(Change::Progress);
    }
    if (closed_ || batch.files.isEmpty())
        return;
    if (!walkMulti_) {
        if (singleFound_)
            return;
        singleFound_ = true;
        setCaption(FileSearchText::singleFoundCaption());
        lstFileSearch.setRow(0);
        lstFileSearch.insertRow(batch.files.first());
        stopWalk();
        return;
    }
    QString text = text_;
    for (const QString &file : batch.files) {
        lstFileSearch.setRow(FilesFound);
        lstFileSearch.insertRow(file);
        ++FilesFound;
        if (FilesFound % (FilesFound <= 200 ? 10 : 100) == 0)
            text = FileSearchText::filesFoundText(FilesFound);
    }
    setText(text);
}

} // namespace corvanta
