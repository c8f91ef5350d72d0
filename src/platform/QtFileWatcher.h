#pragma once

#include "platform/FileWatcher.h"

#include <QFileSystemWatcher>

namespace corvanta {

// The files watched through the system's notifications. A save that renames a new file over the
// old one ends the watch on the old file, so each file's folder is watched too and the file is
// watched again whenever it is back.
class QtFileWatcher final : public FileWatcher {
public:
    QtFileWatcher();
    void watchFiles(const QStringList &paths) override;
    QStringList watchedFiles() const override { return wanted_; }

private:
    void fileChanged(const QString &path);
    void folderChanged(const QString &folder);
    // Watches path again when it exists and is not watched; true when it did.
    bool rearm(const QString &path);

    QFileSystemWatcher watcher_;
    QStringList wanted_;
};

} // namespace corvanta
