#pragma once

#include "platform/FileWatcher.h"

namespace corvanta::test {

// Records what the program watches; a test announces a change as the system would.
class FakeFileWatcher : public FileWatcher {
public:
    QStringList watched;
    void watchFiles(const QStringList &paths) override { watched = paths; }
    QStringList watchedFiles() const override { return watched; }
    void announce(const QString &path) { notify(path); }
};

} // namespace corvanta::test
