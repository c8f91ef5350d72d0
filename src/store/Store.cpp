#include "store/Store.h"

#include <QDir>
#include <QFileInfo>

namespace corvanta {

namespace {

// Marks are kept by absolute path, so a relative name and its absolute one are one file.
QString markKey(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString printKey(const QString &path) { return QDir::cleanPath(path); }

} // namespace

Store::Store(const QString &dataFolder) : dataFolder_(dataFolder) {}

void Store::setDataFolder(const QString &folder)
{
    const std::lock_guard lock(mutex_);
    dataFolder_ = folder;
}

QString Store::dataFolder() const
{
    const std::lock_guard lock(mutex_);
    return dataFolder_;
}

void Store::markUnreadable(const QString &path)
{
    const QString key = markKey(path);
    const std::lock_guard lock(mutex_);
    unreadable_.insert(key);
}

bool Store::isMarkedUnreadable(const QString &path) const
{
    const QString key = markKey(path);
    const std::lock_guard lock(mutex_);
    return unreadable_.count(key) > 0;
}

void Store::moveUnreadableMarks(const QString &from, const QString &to)
{
    const QString oldKey = markKey(from);
    const QString newKey = markKey(to);
    const std::lock_guard lock(mutex_);
    std::set<QString> moved;
    for (auto it = unreadable_.begin(); it != unreadable_.end();) {
        if (*it == oldKey || it->startsWith(oldKey + u'/')) {
            moved.insert(newKey + it->mid(oldKey.size()));
            it = unreadable_.erase(it);
        } else {
            ++it;
        }
    }
    unreadable_.insert(moved.begin(), moved.end());
}

void Store::dropUnreadableMarks(const QString &path)
{
    const QString key = markKey(path);
    const std::lock_guard lock(mutex_);
    for (auto it = unreadable_.begin(); it != unreadable_.end();)
        it = (*it == key || it->startsWith(key + u'/')) ? unreadable_.erase(it) : std::next(it);
}

bool Store::firstNoticeOfUnreadable(const QString &path)
{
    const QString key = markKey(path);
    const std::lock_guard lock(mutex_);
    return told_.insert(key).second;
}

void Store::record(const QString &path, QByteArrayView bytes)
{
    const FileFingerprint print = fingerprintOf(path, bytes);
    const QString key = printKey(path);
    const std::lock_guard lock(mutex_);
    prints_.insert(key, print);
}

void Store::recordMissing(const QString &path)
{
    const QString key = printKey(path);
    const std::lock_guard lock(mutex_);
    prints_.insert(key, FileFingerprint{});
}

bool Store::unchanged(const QString &path) const
{
    return matchesRecord(path, path);
}

bool Store::matchesRecord(const QString &path, const QString &replaced) const
{
    FileFingerprint recorded;
    {
        const QString key = printKey(path);
        const std::lock_guard lock(mutex_);
        const auto it = prints_.constFind(key);
        if (it == prints_.cend())
            return true;
        recorded = *it;
    }
    return holdsFingerprint(replaced, recorded);
}

void Store::forget(const QString &path)
{
    const QString key = printKey(path);
    const std::lock_guard lock(mutex_);
    prints_.remove(key);
}

void Store::moveRecords(const QString &from, const QString &to)
{
    const QString oldKey = printKey(from);
    const QString newKey = printKey(to);
    auto under = [](const QString &key, const QString &folder) {
        return key == folder || key.startsWith(folder + u'/');
    };
    const std::lock_guard lock(mutex_);
    QHash<QString, FileFingerprint> moved;
    for (auto it = prints_.begin(); it != prints_.end();) {
        if (under(it.key(), oldKey)) {
            moved.insert(newKey + it.key().mid(oldKey.size()), it.value());
            it = prints_.erase(it);
        } else if (under(it.key(), newKey)) {
            it = prints_.erase(it);
        } else {
            ++it;
        }
    }
    prints_.insert(moved);
}

void Store::setListener(FileChangeListener *listener)
{
    const std::lock_guard lock(mutex_);
    listener_ = listener;
}

FileChangeListener *Store::listener() const
{
    const std::lock_guard lock(mutex_);
    return listener_;
}

void Store::useRenameExchange(bool use)
{
    const std::lock_guard lock(mutex_);
    exchange_ = use;
}

bool Store::renameExchange() const
{
    const std::lock_guard lock(mutex_);
    return exchange_;
}

} // namespace corvanta
