#pragma once

#include "app/FeatureContext.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvanta {

struct SharedState;

// Files handed in from the desktop (`corvanta --add FILE... [--topic "Project/Topic"]`): each
// becomes a pointer named after the file's name, with the add-file loop's checks (duplicates
// skipped, names the list format cannot hold refused). A running copy gets the request over a
// local socket; without one the command writes the topic's file itself.
struct HandInRequest {
    enum class Kind { Add, Raise };
    Kind kind = Kind::Add;
    QString topic; // "" (the File List shown, or the entry screen's), "Project/Topic" or "Topic"
    QStringList files; // absolute paths
    // When the command stops waiting for the answer, in ms of the system's monotonic clock
    // (QDeadlineTimer::deadline()); 0 for no limit. A request read later is refused unread.
    qint64 answerBy = 0;
};

// What the command reports and exits with: 0 all added or skipped as duplicates, 1 a file could
// not be added, 2 no such topic.
struct HandInAnswer {
    int exitCode = 0;
    int added = 0;
    QStringList messages; // one line each, for standard error
    QString summary;      // for standard output
};

QByteArray encodeRequest(const HandInRequest &request);
std::optional<HandInRequest> decodeRequest(const QByteArray &bytes);
QByteArray encodeAnswer(const HandInAnswer &answer);
HandInAnswer decodeAnswer(const QByteArray &bytes);

// The socket of the copy running on dataFolder, in runtimeDir; "" when there is no runtime dir.
QString handInSocketName(const QString &dataFolder, const QString &runtimeDir);

// The pointer file a topic names in dataFolder, or why there is none. "" is the entry screen's
// File List.
struct HandInTarget {
    QString path;
    QString error;
};
HandInTarget handInTarget(Store &store, const QString &dataFolder, const QString &topic);

// Adds a pointer line to lines for each file, in order; answer says what was added or skipped.
HandInAnswer addHandedInFiles(QStringList &lines, const QStringList &files);
// The command without a running copy: the topic's file read, added to and saved atomically,
// with a store of its own.
HandInAnswer handInDirectly(const QString &dataFolder, const HandInRequest &request);

// The running copy's side: a request read from the socket becomes an answer; files handed in
// without a topic go to the File List it shows.
class HandInReceiver
{
public:
    explicit HandInReceiver(const FeatureContext &context);
    HandInAnswer receive(const HandInRequest &request);

private:
    void addFiles();

    FeatureContext c;
    SharedState &s;
    HandInRequest request_;
    HandInAnswer answer_;
};

} // namespace corvanta
