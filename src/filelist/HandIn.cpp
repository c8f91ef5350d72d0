#include "filelist/HandIn.h"

#include "app/Operations.h"
#include "app/SharedState.h"
#include "app/UndoHistory.h"
#include "platform/RegularFile.h"
#include "store/FileFingerprint.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace corvanta {

namespace {

QString storedName(Store &store, const QString &listPath, const QString &name)
{
    for (const QString &line : readLines(store, listPath)) {
        const QString stored = trimSpaces(line).section(u'\t', 0, 0);
        if (stored.compare(name, Qt::CaseInsensitive) == 0)
            return stored;
    }
    return {};
}

bool holdable(const QString &text)
{
    return !text.contains(u'\t') && !text.contains(u'\r') && !text.contains(u'\n');
}

QString plural(int n) { return n == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(n); }

// Hand-ins take turns across processes: each holds this lock beside the lists while it reads a
// list file, adds to it and replaces it, so that no command saves over pointers another one has
// just added. Only the flock counts; the file stays.
class HandInLock
{
public:
    HandInLock(const QString &dataFolder, int waitMs)
    {
        const QString name = dataFolder + QStringLiteral("/.corvanta.hand-in.lock");
        const QByteArray path = QFile::encodeName(name);
        const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
        fd_ = ::open(path.constData(), O_RDWR | O_CREAT | flags, 0644);
        // A lock made earlier in a folder this user may no longer write still serves.
        if (fd_ < 0 && (errno == EACCES || errno == EROFS))
            fd_ = ::open(path.constData(), O_RDONLY | flags);
        if (fd_ < 0) {
            error_ = QStringLiteral("%1 could not be opened: %2").arg(name, systemReason(errno));
            return;
        }
        struct stat st {};
        if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
            error_ = QStringLiteral("%1 is not a plain file").arg(name);
            return;
        }
        const QDeadlineTimer deadline(waitMs);
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            // A file system without locks (some network shares): the save's own check for
            // another program's change is all there is.
            if (errno != EWOULDBLOCK)
                return;
            if (deadline.hasExpired()) {
                error_ = QStringLiteral("another command kept adding files to %1 for %2 seconds; "
                                        "nothing was added, try again").arg(dataFolder).arg(waitMs / 1000);
                return;
            }
            ::usleep(2000);
        }
    }
    ~HandInLock()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    HandInLock(const HandInLock &) = delete;
    HandInLock &operator=(const HandInLock &) = delete;

    // Why the lock is not held, "" when it is.
    QString error() const { return error_; }

private:
    int fd_ = -1;
    QString error_;
};

} // namespace

QByteArray encodeRequest(const HandInRequest &request)
{
    QJsonObject o;
    o[u"command"] = request.kind == HandInRequest::Kind::Raise ? QStringLiteral("raise") : QStringLiteral("add");
    o[u"topic"] = request.topic;
    o[u"files"] = QJsonArray::fromStringList(request.files);
    if (request.answerBy > 0)
        o[u"answerBy"] = request.answerBy;
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<HandInRequest> decodeRequest(const QByteArray &bytes)
{
    const QJsonDocument doc = QJsonDocument::fromJson(bytes.trimmed());
    if (!doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    HandInRequest request;
    const QString command = o[u"command"].toString();
    if (command == u"raise")
        request.kind = HandInRequest::Kind::Raise;
    else if (command != u"add")
        return std::nullopt;
    request.topic = o[u"topic"].toString();
    for (const QJsonValue &file : o[u"files"].toArray())
        request.files << file.toString();
    request.answerBy = o[u"answerBy"].toInteger();
    return request;
}

QByteArray encodeAnswer(const HandInAnswer &answer)
{
    QJsonObject o;
    o[u"exit"] = answer.exitCode;
    o[u"added"] = answer.added;
    o[u"messages"] = QJsonArray::fromStringList(answer.messages);
    o[u"summary"] = answer.summary;
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

HandInAnswer decodeAnswer(const QByteArray &bytes)
{
    const QJsonDocument doc = QJsonDocument::fromJson(bytes.trimmed());
    HandInAnswer answer;
    if (!doc.isObject()) {
        answer.exitCode = 1;
        answer.messages << QStringLiteral("the running copy gave no answer");
        return answer;
    }
    const QJsonObject o = doc.object();
    answer.exitCode = o[u"exit"].toInt(1);
    answer.added = o[u"added"].toInt();
    for (const QJsonValue &m : o[u"messages"].toArray())
        answer.messages << m.toString();
    answer.summary = o[u"summary"].toString();
    return answer;
}

QString handInSocketName(const QString &dataFolder, const QString &runtimeDir)
{
    if (!QDir::isAbsolutePath(runtimeDir))
        return {};
    const QByteArray id = QCryptographicHash::hash(QDir::cleanPath(dataFolder).toUtf8(),
                                                   QCryptographicHash::Sha256).toHex().left(16);
    return runtimeDir + QStringLiteral("/corvanta-") + QString::fromLatin1(id) + QStringLiteral(".socket");
}

HandInTarget handInTarget(Store &store, const QString &dataFolder, const QString &topic)
{
    if (topic.isEmpty())
        return {dataFolder + QStringLiteral("/Project.Files"), {}};
    const QString missing = QStringLiteral("no topic \"%1\" in %2 (give it as \"Project/Topic\")")
                                .arg(topic, dataFolder);
    const qsizetype slash = topic.indexOf(u'/');
    if (slash < 0) {
        // A topic of the entry screen.
        const QString name = storedName(store, dataFolder + QStringLiteral("/Project.Topics"), topic);
        if (name.isEmpty() || !isUsableFileName(name))
            return {{}, missing};
        return {dataFolder + QStringLiteral("/Projects/") + name + QStringLiteral(".Files"), {}};
    }
    const QString project = storedName(store, dataFolder + QStringLiteral("/Project.List"), topic.left(slash));
    if (project.isEmpty() || !isUsableFileName(project))
        return {{}, missing};
    const QString folder = dataFolder + QStringLiteral("/Projects/") + project + u'/';
    const QString name = storedName(store, folder + project + QStringLiteral(".List"), topic.mid(slash + 1));
    if (name.isEmpty() || !isUsableFileName(name))
        return {{}, missing};
    return {folder + name + QStringLiteral(".Files"), {}};
}

HandInAnswer addHandedInFiles(QStringList &lines, const QStringList &files)
{
    HandInAnswer answer;
    ListControl list(2);
    for (const QString &line : lines)
        list.addRow(trimSpaces(line));
    NameSet names(list, NameField::FirstColumn);
    for (const QString &file : files) {
        const QFileInfo info(file);
        const QString name = info.fileName();
        if (const QString reason = unstorableFileReason(file); !reason.isEmpty()) {
            answer.messages << QStringLiteral("%1: a list cannot hold this name. %2").arg(file, reason);
            answer.exitCode = 1;
        } else if (!info.exists()) {
            answer.messages << QStringLiteral("%1: no such file").arg(file);
            answer.exitCode = 1;
        } else if (!holdable(file) || trimSpaces(name) != name || name.isEmpty()) {
            answer.messages << QStringLiteral("%1: a list cannot hold this name (TAB, line break or "
                                              "spaces at either end)").arg(file);
            answer.exitCode = 1;
        } else if (names.contains(name)) {
            answer.messages << QStringLiteral("%1: skipped, \"%2\" is already in the list").arg(file, name);
        } else {
            names.insert(name);
            lines << name + u'\t' + info.absoluteFilePath();
            ++answer.added;
        }
    }
    return answer;
}

namespace {

// Under the hand-in lock, the file read afresh, the files added and the file saved atomically.
// changedOnDisk tells that another program changed the file between the read and the save.
HandInAnswer addToFile(Store &store, const QString &dataFolder, const QString &path, const QStringList &files,
                       int lockWaitMs, bool *changedOnDisk = nullptr)
{
    HandInAnswer answer;
    const HandInLock lock(dataFolder, lockWaitMs);
    if (!lock.error().isEmpty()) {
        answer.exitCode = 1;
        answer.messages << lock.error();
        return answer;
    }
    QStringList lines;
    QString reason;
    if (!readLinesForRewrite(store, path, lines, &reason)) {
        answer.exitCode = 1;
        answer.messages << QStringLiteral("%1: %2").arg(path, reason);
        return answer;
    }
    answer = addHandedInFiles(lines, files);
    if (answer.added > 0) {
        const SaveResult saved = saveLines(store, path, lines);
        if (!saved) {
            answer.messages << (saved.changedOnDisk
                ? QStringLiteral("%1 was changed by another program meanwhile; nothing was added, "
                                 "try again").arg(path)
                : QStringLiteral("%1 could not be saved: %2").arg(path, saved.reason));
            answer.exitCode = 1;
            answer.added = 0;
            if (changedOnDisk)
                *changedOnDisk = saved.changedOnDisk;
        }
    }
    answer.summary = QStringLiteral("Added %1 to %2.").arg(plural(answer.added), path);
    return answer;
}

HandInAnswer noTopic(const HandInTarget &target)
{
    HandInAnswer answer;
    answer.exitCode = 2;
    answer.messages << target.error;
    return answer;
}

} // namespace

HandInAnswer handInDirectly(const QString &dataFolder, const HandInRequest &request)
{
    Store store(dataFolder);
    const HandInTarget target = handInTarget(store, dataFolder, request.topic);
    if (target.path.isEmpty())
        return noTopic(target);
    // Many commands may run at once (a file manager starts one for each file).
    return addToFile(store, dataFolder, target.path, request.files, 20000);
}

HandInReceiver::HandInReceiver(const FeatureContext &context) : c(context), s(context.state) {}

HandInAnswer HandInReceiver::receive(const HandInRequest &request)
{
    request_ = request;
    answer_ = {};
    // The command has stopped waiting (this copy was hung or busy): doing it now would add what
    // the command reported as not added.
    if (request.answerBy > 0 && QDeadlineTimer::current().deadline() > request.answerBy) {
        answer_.exitCode = 1;
        answer_.messages << QStringLiteral("the request came after the command had stopped waiting");
        return answer_;
    }
    // A window or question of the running copy is open over an operation that has read the
    // lists already: its own save would write over what is added now.
    if (c.operations.running() || s.ListLoading) {
        answer_.exitCode = 1;
        answer_.messages << QStringLiteral(
            "Corvanta is busy with an open window or question; close it and try again.");
        return answer_;
    }
    if (request.kind == HandInRequest::Kind::Add)
        c.operations.perform([this] { addFiles(); }); // an operation, as the user's are
    return answer_;
}

void HandInReceiver::addFiles()
{
    // The File List on show is where files without a topic go.
    const QString shown = s.FileListPath;
    QString path = shown;
    if (!request_.topic.isEmpty() || shown.isEmpty()) {
        const HandInTarget target = handInTarget(c.store, s.ProgramFolder, request_.topic);
        if (target.path.isEmpty()) {
            answer_ = noTopic(target);
            return;
        }
        path = target.path;
    }
    PointerChange change(c.undo, QString());
    change.touch(path);
    // No box here: the command waits for the answer, and a box would hold it until the user
    // closes it. What went wrong is in the answer.
    bool changedOnDisk = false;
    answer_ = addToFile(c.store, s.ProgramFolder, path, request_.files, 2000, &changedOnDisk);
    if (changedOnDisk) {
        if (FileChangeListener *listener = c.store.listener())
            listener->listFileChangedOnDisk(path);
    }
    change.setLabel(QStringLiteral("Add ") + pointerCount(answer_.added));
    if (answer_.added > 0 && QDir::cleanPath(path) == QDir::cleanPath(shown))
        c.navigation.reloadList(c.lstFileList);
}

} // namespace corvanta
