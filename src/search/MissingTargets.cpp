#include "search/MissingTargets.h"

#include "app/Operations.h"
#include "app/SharedState.h"
#include "app/UndoHistory.h"
#include "platform/DesktopEntries.h"
#include "platform/FileDialogs.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "search/Drives.h"
#include "search/MountTable.h"
#include "search/SearchEngine.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

#include <QDir>
#include <QFile>
#include <QDateTime>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

namespace corvanta {

// --- TargetChecker ---

TargetChecker::TargetChecker(
    const QString &dataFolder, QStringList mountPoints, QStringList mediaRoots)
    : dataFolder_(dataFolder), mountPoints_(std::move(mountPoints)),
      mediaRoots_(std::move(mediaRoots))
{
}

TargetChecker::TargetChecker(const QString &dataFolder)
    : TargetChecker(dataFolder, [] {
          QStringList points;
          for (const MountEntry &entry : readMountTable())
              points.append(QString::fromStdString(entry.mountPoint));
          return points;
      }())
{
}

QStringList TargetChecker::defaultMediaRoots()
{
    return {QStringLiteral("/media"), QStringLiteral("/run/media"), QStringLiteral("/mnt"),
        QStringLiteral("/net"), QStringLiteral("/smb")};
}

QString TargetChecker::absolute(const QString &target) const
{
    return QDir::isRelativePath(target) ? dataFolder_ + u'/' + target : target;
}

TargetState TargetChecker::state(const QString &target) const
{
    const QString path = absolute(target);
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        return TargetState::Exists;
    return stateAfter(errno, path);
}

TargetState TargetChecker::stateAfter(int error, const QString &path) const
{
    // Only "no such file" is an answer; anything else means we could not look.
    if (error != ENOENT && error != ENOTDIR)
        return TargetState::NotReachable;
    return unmountedMedia(QDir::cleanPath(path)) ? TargetState::NotReachable
                                                 : TargetState::Missing;
}

bool TargetChecker::unmountedMedia(const QString &path) const
{
    auto below = [](const QString &p, const QString &folder) {
        return folder == u"/" || (p.startsWith(folder) && p.size() > folder.size()
                                     && p.at(folder.size()) == u'/');
    };
    for (const QString &root : mediaRoots_) {
        if (!below(path, root))
            continue;
        // The file system the path lies on: is it one mounted below the media folder?
        qsizetype longest = -1;
        for (const QString &point : mountPoints_) {
            if ((path == point || below(path, point)) && point.size() > longest)
                longest = point.size();
        }
        return longest <= root.size();
    }
    return false;
}

// --- TargetStatter ---

TargetStatter::~TargetStatter()
{
    if (fd_ >= 0)
        ::close(fd_);
}

TargetState TargetStatter::look(const QString &target, struct stat &st)
{
    const QString path = checker_.absolute(target);
    const QByteArray encoded = QFile::encodeName(path);
    const qsizetype slash = encoded.lastIndexOf('/');
    if (slash <= 0 || slash == encoded.size() - 1) {
        // The root's own names and paths ending in '/': as they are.
        if (::stat(encoded.constData(), &st) == 0)
            return TargetState::Exists;
        return checker_.stateAfter(errno, path);
    }
    const QByteArrayView folder(encoded.constData(), slash);
    if (folder != QByteArrayView(folder_)) {
        if (fd_ >= 0)
            ::close(fd_);
        folder_ = folder.toByteArray();
        fd_ = ::open(folder_.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        folderError_ = fd_ < 0 ? errno : 0;
    }
    if (fd_ < 0)
        return checker_.stateAfter(folderError_, path);
    if (::fstatat(fd_, encoded.constData() + slash + 1, &st, 0) == 0)
        return TargetState::Exists;
    return checker_.stateAfter(errno, path);
}

// --- MissingTargets ---

// What the checking thread owns with the window: the targets, its own copy of the check and the
// states found so far. The last of the two to let go frees it.
struct MissingTargets::Check
{
    TargetCheck check;
    QStringList targets;
    std::atomic<bool> stop {false};
    std::mutex mutex;
    std::condition_variable found;
    std::vector<TargetState> states; // guarded by mutex

    // The window is woken for a batch of states, not for each: a wake costs more than a stat.
    // Every state is there for it to take at once, and a waiting window looks every few
    // milliseconds, so a target that hangs holds nothing back.
    static constexpr std::size_t WakeEvery = 256;
    static constexpr std::chrono::milliseconds LookInterval {5};

    void run()
    {
        // The system's own check looks folder by folder; one given for a test target by target.
        std::optional<TargetStatter> statter;
        if (const TargetChecker *checker = check.target<TargetChecker>())
            statter.emplace(*checker);
        std::size_t unannounced = 0;
        struct stat st;
        for (const QString &target : std::as_const(targets)) {
            if (stop.load())
                return;
            const TargetState state = statter ? statter->look(target, st) : check(target);
            {
                const std::lock_guard lock(mutex);
                states.push_back(state);
            }
            if (++unannounced == WakeEvery) {
                unannounced = 0;
                found.notify_all();
            }
        }
        found.notify_all();
    }
};

MissingTargets::MissingTargets(Store &store, const QString &dataFolder, TargetCheck check, Ui &ui,
    UndoHistory *undo)
    : files_(pointerFiles(store, dataFolder)), check_(std::move(check)), store_(store), ui_(ui), undo_(undo),
      dataFolder_(dataFolder), job_(std::make_shared<Check>())
{
    job_->check = check_;
    for (PointerPlace &place : readPointers(store, files_, blocks_)) {
        QString target = place.target();
        if (!isFileTarget(target))
            continue;
        job_->targets.append(std::move(target));
        pending_.push_back(std::move(place));
    }
    // Detached: a target on a stopped mount may keep it in the system for ever, and the window
    // must close without waiting for it.
    std::thread([job = job_] { job->run(); }).detach();
}

MissingTargets::~MissingTargets()
{
    job_->stop = true;
}

bool MissingTargets::update(std::chrono::milliseconds wait)
{
    if (!checking())
        return false;
    std::vector<TargetState> states;
    {
        const auto until = std::chrono::steady_clock::now() + wait;
        const auto more = [this] { return job_->states.size() > size_t(checked_); };
        std::unique_lock lock(job_->mutex);
        for (auto now = std::chrono::steady_clock::now(); !more() && now < until;
             now = std::chrono::steady_clock::now())
            job_->found.wait_for(lock,
                std::min<std::chrono::steady_clock::duration>(until - now, Check::LookInterval));
        states.assign(job_->states.begin() + checked_, job_->states.end());
    }
    if (states.empty())
        return false;
    for (const TargetState state : states) {
        if (state != TargetState::Exists)
            rows_.push_back({pending_[size_t(checked_)], state});
        ++checked_;
    }
    changed(Change::Checked);
    return true;
}

QString MissingTargets::stateText(TargetState state)
{
    switch (state) {
    case TargetState::Missing:
        return QStringLiteral("missing");
    case TargetState::NotReachable:
        return QStringLiteral("not reachable");
    case TargetState::Exists:
        break;
    }
    return QString();
}

void MissingTargets::setSelected(int row, bool selected)
{
    if (row >= 0 && row < int(rows_.size()))
        rows_[size_t(row)].selected = selected;
}

void MissingTargets::goTo(int row)
{
    if (row < 0 || row >= int(rows_.size()))
        return;
    chosen_ = rows_[size_t(row)].place;
    close();
}

void MissingTargets::close()
{
    if (closed_)
        return;
    closed_ = true;
    job_->stop = true;
    changed(Change::Close);
}

QStringList MissingTargets::removeSelected()
{
    std::vector<size_t> missing, unreachable;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].selected)
            (rows_[i].state == TargetState::Missing ? missing : unreachable).push_back(i);
    }
    // Targets that may come back are never removed along with ones that are gone.
    const bool gone = !missing.empty();
    const std::vector<size_t> &chosen = gone ? missing : unreachable;
    if (chosen.empty()) {
        ui_.beep();
        return {};
    }
    const QString count = QString::number(chosen.size());
    const bool one = chosen.size() == 1;
    const QString pointers = one ? QStringLiteral("Pointer") : count + QStringLiteral(" Pointers");
    const QString text = gone
        ? QStringLiteral("Do You Want To Remove The Selected ") + pointers
            + QStringLiteral("\rWhose Target") + (one ? QStringLiteral(" Is") : QStringLiteral("s Are"))
            + QStringLiteral(" Missing From ") + (one ? QStringLiteral("Its") : QStringLiteral("Their"))
            + QStringLiteral(" File List?") + fiveSpaces() + u'\r'
        : QStringLiteral("The Selected ") + pointers + (one ? QStringLiteral(" Points") : QStringLiteral(" Point"))
            + QStringLiteral(" To A Drive That Is Not Reachable Now.\rDo You Want To Remove ")
            + (one ? QStringLiteral("It") : QStringLiteral("Them")) + QStringLiteral(" Anyway?")
            + fiveSpaces() + u'\r';
    const QString title = gone ? QStringLiteral(" Remove Missing Pointers")
                               : QStringLiteral(" Remove Unreachable Pointers");
    if (ui_.msgBox(text, title, MsgBox::YesNo | MsgBox::Question | MsgBox::DefaultButton2)
        != MsgBox::Yes)
        return {};

    std::map<const PointerFile *, std::vector<size_t>> byFile;
    for (size_t i : chosen)
        byFile[rows_[i].place.file].push_back(i);
    int removed = 0;
    QStringList written;
    std::vector<bool> drop(rows_.size(), false);
    std::optional<PointerChange> change;
    if (undo_)
        change.emplace(*undo_, QString());
    for (const auto &[file, rows] : byFile) {
        if (change)
            change->touch(file->path);
        const std::vector<size_t> gone = removeFrom(*file, rows);
        if (gone.empty())
            continue;
        written.append(file->path);
        written_.append(file->path);
        removed += int(gone.size());
        for (size_t i : gone)
            drop[i] = true;
    }
    std::vector<Row> kept;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (!drop[i])
            kept.push_back(std::move(rows_[i]));
    }
    rows_ = std::move(kept);
    if (change)
        change->setLabel(QStringLiteral("Remove ") + pointerCount(removed));
    changed(Change::Rows);
    ui_.msgBox(QString::number(removed)
            + (removed == 1 ? QStringLiteral(" Pointer Was") : QStringLiteral(" Pointers Were"))
            + QStringLiteral(" Removed.") + fiveSpaces() + u'\r',
        QStringLiteral(" Pointers Removed"), MsgBox::OkOnly | MsgBox::Information);
    return written;
}

QString MissingTargets::nearestFolder(int row) const
{
    if (row < 0 || row >= int(rows_.size()))
        return QString();
    return nearestExistingFolder(rows_[size_t(row)].place.target(), dataFolder_);
}

bool MissingTargets::locate(int row)
{
    if (row < 0 || row >= int(rows_.size()) || !dialogs_)
        return false;
    const QString name = QFileInfo(rows_[size_t(row)].place.target()).fileName();
    OpenFileRequest request;
    request.title = QStringLiteral("Locate ") + rows_[size_t(row)].place.name();
    request.filters = {{QStringLiteral("All Files (*.*)"), QStringLiteral("*")}};
    request.initialFolder = nearestFolder(row);
    request.fileName = request.initialFolder + u'/' + name;
    request.multiple = false;
    const QStringList chosen = dialogs_->getOpenFileNames(request);
    if (chosen.size() != 1)
        return false;
    return relink(row, chosen.constFirst());
}

// --- Find Moved ---

// What the walking thread shares with its MovedSearch; the last of the two to let go frees it.
struct MissingTargets::MovedSearch::Walk
{
    QString name;
    QStringList roots;
    std::atomic<bool> stop {false};
    std::mutex mutex;
    std::condition_variable news;
    SearchEngine *engine = nullptr;  // guarded by mutex: the walk under way, for stop()
    std::vector<MovedFile> found;    // guarded by mutex: not yet taken
    QString folder;                  // guarded by mutex
    bool folderChanged = false;      // guarded by mutex
    bool done = false;               // guarded by mutex

    // Gathers the matches whose names are the very name sought (the pattern ignores case and
    // takes '*' and '?' as wildcards).
    class Sink : public SearchSink
    {
    public:
        explicit Sink(Walk &walk) : walk_(walk) { }
        void fileFound(std::string_view path) override
        {
            const QString file = QFile::decodeName(QByteArray(path.data(), qsizetype(path.size())));
            const qsizetype slash = file.lastIndexOf(u'/');
            if (file.mid(slash + 1) != walk_.name || seen_.contains(file))
                return;
            seen_.insert(file);
            struct stat st;
            const qint64 modified = ::stat(path.data(), &st) == 0 ? qint64(st.st_mtime) : 0;
            const std::lock_guard lock(walk_.mutex);
            walk_.found.push_back({file, file.left(std::max<qsizetype>(slash, 1)), modified});
            walk_.news.notify_all();
        }

    private:
        Walk &walk_;
        QSet<QString> seen_;
    };

    void run()
    {
        Sink sink(*this);
        for (const QString &root : std::as_const(roots)) {
            SearchEngine walker(QFile::encodeName(root).toStdString(), SearchPattern(name),
                SearchEngine::Mode::Multiple);
            {
                const std::lock_guard lock(mutex);
                if (stop.load())
                    break;
                engine = &walker;
                folder = root;
                folderChanged = true;
                news.notify_all();
            }
            if (walker.inspectRoot().readable)
                walker.walk(sink);
            const std::lock_guard lock(mutex);
            engine = nullptr;
        }
        const std::lock_guard lock(mutex);
        done = true;
        news.notify_all();
    }
};

MissingTargets::MovedSearch::MovedSearch(const QString &name, const QStringList &roots)
    : walk_(std::make_shared<Walk>())
{
    walk_->name = name;
    walk_->roots = roots;
    // Detached: a folder on a stopped mount may keep it in the system for ever.
    std::thread([walk = walk_] { walk->run(); }).detach();
}

MissingTargets::MovedSearch::~MovedSearch()
{
    stop();
}

void MissingTargets::MovedSearch::stop()
{
    const std::lock_guard lock(walk_->mutex);
    walk_->stop = true;
    if (walk_->engine)
        walk_->engine->cancel();
}

bool MissingTargets::MovedSearch::stopped() const
{
    return walk_->stop.load();
}

bool MissingTargets::MovedSearch::update(std::chrono::milliseconds wait)
{
    if (done_)
        return false;
    std::vector<MovedFile> found;
    bool changed = false;
    {
        std::unique_lock lock(walk_->mutex);
        const auto news = [this] { return !walk_->found.empty() || walk_->folderChanged || walk_->done; };
        walk_->news.wait_for(lock, wait, news);
        found.swap(walk_->found);
        if (walk_->folderChanged)
            folder_ = walk_->folder;
        changed = walk_->folderChanged || walk_->done || !found.empty();
        walk_->folderChanged = false;
        done_ = walk_->done;
    }
    for (MovedFile &file : found) {
        const auto at = std::upper_bound(found_.begin(), found_.end(), file,
            [](const MovedFile &a, const MovedFile &b) { return a.modified > b.modified; });
        found_.insert(at, std::move(file));
    }
    return changed;
}

bool MissingTargets::findMoved(int row)
{
    if (row < 0 || row >= int(rows_.size()))
        return false;
    const QString name = QFileInfo(rows_[size_t(row)].place.target()).fileName();
    if (name.isEmpty()) {
        ui_.beep();
        return false;
    }
    QStringList roots;
    if (movedRoots) {
        roots = movedRoots(nearestFolder(row));
    } else {
        const QString home = QDir::homePath();
        roots.append(home);
        const std::vector<DriveEntry> drives = mountedDrives(home);
        if (const int drive = driveHolding(drives, nearestFolder(row)); drive >= 0)
            roots.append(drives[size_t(drive)].path);
    }
    MovedSearch search(name, roots);
    const int chosen = chooseMoved ? chooseMoved(search) : -1;
    const bool walkedToTheEnd = !search.running() && !search.stopped();
    search.stop();
    if (walkedToTheEnd && search.found().empty()) {
        ui_.msgBox(QStringLiteral("No File Named ") + userText(name)
                + QStringLiteral(" Was Found.") + fiveSpaces() + u'\r',
            movedCaption(), MsgBox::OkOnly | MsgBox::Information);
        return false;
    }
    if (chosen < 0 || chosen >= int(search.found().size()))
        return false;
    return relink(row, search.found()[size_t(chosen)].path);
}

bool MissingTargets::relink(int row, const QString &target)
{
    if (row < 0 || row >= int(rows_.size()) || refuseUnstorableFile(ui_, target))
        return false;
    const PointerPlace place = rows_[size_t(row)].place;
    const QString path = place.file->path;
    const QString record = place.record();
    // Which of the file's lines with this very text it is: a pointer named twice relinks alone.
    int ordinal = 0;
    for (const PointerPlace &other : pending_) {
        if (other.file == place.file && other.offset < place.offset && other.record() == record)
            ++ordinal;
    }
    QStringList lines;
    QString reason;
    if (!readLinesForRewrite(store_, path, lines, &reason)) {
        reportSaveFailure(store_, ui_, path, SaveResult {false, reason});
        return false;
    }
    qsizetype line = -1;
    for (qsizetype i = 0; i < lines.size() && line < 0; ++i) {
        if (trimSpaces(lines[i]) == record && ordinal-- == 0)
            line = i;
    }
    if (line < 0) {
        ui_.beep(); // the pointer has gone from its file since the check
        return false;
    }
    // The name stays as the line has it, spaces and all.
    const QString &old = lines[line];
    lines[line] = old.left(old.indexOf(u'\t')) + u'\t' + target;
    std::optional<PointerChange> change;
    if (undo_) {
        change.emplace(*undo_, QStringLiteral("Relink Pointer"));
        change->touch(path);
    }
    if (!reportSaveFailure(store_, ui_, path, saveLines(store_, path, lines)))
        return false;
    written_.append(path);
    rows_.erase(rows_.begin() + row);
    changed(Change::Rows);
    return true;
}

std::vector<size_t> MissingTargets::removeFrom(const PointerFile &file, const std::vector<size_t> &rows)
{
    // Rewritten from the file itself, so lines changed since the check stay as they are.
    QStringList lines;
    QString reason;
    if (!readLinesForRewrite(store_, file.path, lines, &reason)) {
        reportSaveFailure(store_, ui_, file.path, SaveResult {false, reason});
        return {};
    }
    std::vector<size_t> removed;
    std::vector<bool> gone(size_t(lines.size()), false);
    for (size_t row : rows) {
        const PointerPlace &place = rows_[row].place;
        // A target that came back since the check stays.
        if (check_(place.target()) == TargetState::Exists)
            continue;
        const QString record = place.record();
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (!gone[size_t(i)] && trimSpaces(lines[i]) == record) {
                gone[size_t(i)] = true;
                removed.push_back(row);
                break;
            }
        }
    }
    if (removed.empty())
        return {};
    QStringList kept;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!gone[size_t(i)])
            kept.append(lines[i]);
    }
    if (!reportSaveFailure(store_, ui_, file.path, saveLines(store_, file.path, kept)))
        return {};
    return removed;
}

// --- CheckMissingTargets ---

CheckMissingTargets::CheckMissingTargets(const FeatureContext &context, MissingTargetsDisplay &display)
    : c(context), display_(display), make_([](const QString &folder) { return TargetChecker(folder); })
{
    for (const char *name : {"OpenCheckMissingTargets", "mnuCheckMissingTargets"})
        c.operations.add(QString::fromLatin1(name), [this] { OpenCheckMissingTargets(); });
}

void CheckMissingTargets::OpenCheckMissingTargets()
{
    if (open_)
        return;
    open_ = true;
    SharedState &s = c.state;
    c.ui.setBusy(true);
    MissingTargets window(c.store, s.ProgramFolder, make_(s.ProgramFolder), c.ui, &c.undo);
    window.setFileDialogs(c.platform.fileDialogs);
    c.ui.setBusy(false);
    display_.showMissingTargets(window);
    open_ = false;

    if (window.written().contains(s.FileListPath)) {
        // The File List shown lost pointers: show what its file now holds.
        c.navigation.rereadFileList();
    }
    if (const PointerPlace *place = window.chosen()) {
        if (!openPlace(c.navigation, *place))
            c.ui.beep(); // its topic is no longer in the lists
    }
}

} // namespace corvanta
