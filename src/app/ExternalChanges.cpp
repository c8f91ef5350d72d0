#include "app/ExternalChanges.h"

#include "app/Operations.h"
#include "app/SharedState.h"
#include "platform/FileWatcher.h"
#include "store/Store.h"

#include <QDir>

namespace corvanta {

ExternalChanges::ExternalChanges(const FeatureContext &context) : c(context), s(context.state)
{
    c.operations.setWhenIdle([this] { reloadPending(); });
    c.store.setListener(this);
    if (c.platform.fileWatcher)
        c.platform.fileWatcher->setHandler([this](const QString &path) { fileNoticed(path); });
}

ExternalChanges::~ExternalChanges()
{
    if (c.store.listener() == this)
        c.store.setListener(nullptr);
    if (c.platform.fileWatcher)
        c.platform.fileWatcher->setHandler({});
    c.operations.setWhenIdle({});
}

QStringList ExternalChanges::shownFiles() const
{
    QStringList files;
    for (const QString &path : {s.ProjectListPath, s.TopicListPath, s.FileListPath}) {
        if (!path.isEmpty())
            files << QDir::cleanPath(path);
    }
    if (!s.ProgramFolder.isEmpty()) {
        files << s.ProgramFolder + QStringLiteral("/Paste.Lst");
        files << s.ProgramFolder + QStringLiteral("/Corvanta.Ini");
    }
    return files;
}

void ExternalChanges::WatchShownFiles()
{
    if (c.platform.fileWatcher)
        c.platform.fileWatcher->watchFiles(shownFiles());
}

void ExternalChanges::fileNoticed(const QString &path)
{
    // The program's own saves are noticed too; they left the file as recorded.
    if (c.store.unchanged(path))
        return;
    listFileChangedOnDisk(path);
    if (!c.operations.running())
        reloadPending();
}

void ExternalChanges::listFileChangedOnDisk(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    if (!pending_.contains(clean))
        pending_ << clean;
}

void ExternalChanges::reloadPending()
{
    // A list being filled, or a window over the main one, finishes first.
    if (reloading_ || s.ListLoading || !c.window.enabled())
        return;
    reloading_ = true;
    while (!pending_.isEmpty())
        reload(pending_.takeFirst());
    WatchShownFiles();
    reloading_ = false;
}

void ExternalChanges::reload(const QString &path)
{
    const struct {
        const QString &shown;
        ListControl &list;
    } lists[] = {{s.ProjectListPath, c.lstProjectList},
                 {s.TopicListPath, c.lstTopicList},
                 {s.FileListPath, c.lstFileList}};
    bool shown = false;
    for (const auto &list : lists) {
        if (!list.shown.isEmpty() && path == QDir::cleanPath(list.shown)) {
            c.operations.perform([&] { c.navigation.reloadList(list.list); });
            shown = true;
        }
    }
    // A file not shown (Paste.Lst, Corvanta.Ini, a list left meanwhile) is read afresh by
    // whatever uses it next.
    if (!shown) {
        c.store.forget(path);
        return;
    }
    // An empty or missing list is shown without reading its file; now it has been seen.
    if (!c.store.unchanged(path)) {
        const FileFingerprint now = fingerprintOnDisk(path);
        if (!now.exists)
            c.store.recordMissing(path);
        else if (now.size == 0)
            c.store.record(path, {});
    }
}

} // namespace corvanta
