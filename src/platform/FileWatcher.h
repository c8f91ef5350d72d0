#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace corvanta {

// Tells the program when one of the files it shows may have changed on disk. A notice may come
// for the program's own saves too; the receiver compares the file with what it last saw.
class FileWatcher {
public:
    virtual ~FileWatcher() = default;
    // Replaces the set of watched files; a missing file is watched for its creation.
    virtual void watchFiles(const QStringList &paths) = 0;
    virtual QStringList watchedFiles() const = 0;
    void setHandler(std::function<void(const QString &path)> handler) { handler_ = std::move(handler); }

protected:
    void notify(const QString &path)
    {
        if (handler_)
            handler_(path);
    }

private:
    std::function<void(const QString &)> handler_;
};

} // namespace corvanta
