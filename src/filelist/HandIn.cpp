#include "filelist/HandIn.h"

#include "app/Operations.h"
#include "app/SharedState.h"
#include "app/UndoHistory.h"
#include "platform/Ui.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace corvanta {

namespace {

QString storedName(const QString &listPath, const QString &name)
{
    for (const QString &line : readLines(listPath)) {
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

} // namespace

QByteArray encodeRequest(const HandInRequest &request)
{
    QJsonObject o;
    o[u"command"] = request.kind == HandInRequest::Kind::Raise ? QStringLiteral("raise") : QStringLiteral("add");
    o[u"topic"] = request.topic;
    o[u"files"] = QJsonArray::fromStringList(request.files);
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

HandInTarget handInTarget(const QString &dataFolder, const QString &topic)
{
    if (topic.isEmpty())
        return {dataFolder + QStringLiteral("/Project.Files"), {}};
    const QString missing = QStringLiteral("no topic \"%1\" in %2 (give it as \"Project/Topic\")")
                                .arg(topic, dataFolder);
    const qsizetype slash = topic.indexOf(u'/');
    if (slash < 0) {
        // A topic of the entry screen.
        const QString name = storedName(dataFolder + QStringLiteral("/Project.Topics"), topic);
        if (name.isEmpty() || !isUsableFileName(name))
            return {{}, missing};
        return {dataFolder + QStringLiteral("/Projects/") + name + QStringLiteral(".Files"), {}};
    }
    const QString project = storedName(dataFolder + QStringLiteral("/Project.List"), topic.left(slash));
    if (project.isEmpty() || !isUsableFileName(project))
        return {{}, missing};
    const QString folder = dataFolder + QStringLiteral("/Projects/") + project + u'/';
    const QString name = storedName(folder + project + QStringLiteral(".List"), topic.mid(slash + 1));
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
        if (!info.exists()) {
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

// The file read, the files added and the file saved atomically; ui, when given, shows a failed
// save's box.
HandInAnswer addToFile(const QString &path, const QStringList &files, Ui *ui)
{
    HandInAnswer answer;
    QStringList lines;
    QString reason;
    if (!readLinesForRewrite(path, lines, &reason)) {
        answer.exitCode = 1;
        answer.messages << QStringLiteral("%1: %2").arg(path, reason);
        return answer;
    }
    answer = addHandedInFiles(lines, files);
    if (answer.added > 0) {
        const SaveResult saved = saveLines(path, lines);
        if (ui)
            reportSaveFailure(*ui, path, saved);
        if (!saved) {
            answer.messages << QStringLiteral("%1 could not be saved: %2").arg(path, saved.reason);
            answer.exitCode = 1;
            answer.added = 0;
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
    const HandInTarget target = handInTarget(dataFolder, request.topic);
    if (target.path.isEmpty())
        return noTopic(target);
    return addToFile(target.path, request.files, nullptr);
}

HandInReceiver::HandInReceiver(const FeatureContext &context) : c(context), s(context.state)
{
    c.operations.add(QStringLiteral("AddHandedInFiles"), [this] { addFiles(); });
}

HandInAnswer HandInReceiver::receive(const HandInRequest &request)
{
    request_ = request;
    answer_ = {};
    if (request.kind == HandInRequest::Kind::Add)
        c.operations.run(QStringLiteral("AddHandedInFiles"));
    return answer_;
}

void HandInReceiver::addFiles()
{
    // The File List on show is where files without a topic go.
    const QString shown = s.FileListPath;
    QString path = shown;
    if (!request_.topic.isEmpty() || shown.isEmpty()) {
        const HandInTarget target = handInTarget(s.ProgramFolder, request_.topic);
        if (target.path.isEmpty()) {
            answer_ = noTopic(target);
            return;
        }
        path = target.path;
    }
    PointerChange change(c.undo, QString());
    change.touch(path);
    answer_ = addToFile(path, request_.files, &c.ui);
    change.setLabel(QStringLiteral("Add ") + pointerCount(answer_.added));
    if (answer_.added > 0 && QDir::cleanPath(path) == QDir::cleanPath(shown))
        c.operations.run(QStringLiteral("ReloadFileList"));
}

} // namespace corvanta
