#pragma once

#include "app/FeatureContext.h"
#include "store/FileFingerprint.h"

#include <QStringList>

namespace corvanta {

// Lists changed on disk by another program (an editor, a sync service): the shown list files,
// Paste.Lst and Corvanta.Ini are watched, and a shown list that changed is read again at once,
// keeping its selection by name. A save the store refused because its file changed brings the
// same reload. Reloads wait until no operation runs, so none happens under a caller's feet.
class ExternalChanges final : public FileChangeListener, public ShownFilesWatch
{
public:
    explicit ExternalChanges(const FeatureContext &context);
    ~ExternalChanges();
    ExternalChanges(const ExternalChanges &) = delete;
    ExternalChanges &operator=(const ExternalChanges &) = delete;

    // The watcher's notice: path may have changed.
    void fileNoticed(const QString &path);
    void listFileChangedOnDisk(const QString &path) override;
    // Points the watcher at the files shown now.
    void WatchShownFiles();
    void watchShownFiles() override { WatchShownFiles(); }

private:
    void reloadPending();
    void reload(const QString &path);
    QStringList shownFiles() const;

    FeatureContext c;
    SharedState &s;
    QStringList pending_;
    bool reloading_ = false;
};

} // namespace corvanta
