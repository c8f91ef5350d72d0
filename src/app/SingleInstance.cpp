#include "app/SingleInstance.h"

namespace corvanta {

SingleInstance::SingleInstance(const QString &dataFolder) : folder_(dataFolder) {}

QString SingleInstance::lockFileName() { return QStringLiteral(".corvanta.lock"); }

bool SingleInstance::acquire()
{
    lock_ = std::make_unique<QLockFile>(folder_ + u'/' + lockFileName());
    // A lock left by a copy that crashed is recognised by its process id and taken over.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return true;
    lock_.reset();
    return false;
}

QString SingleInstance::refusalTitle() { return QStringLiteral(" Corvanta Is Already Running"); }

QString SingleInstance::refusalText(const QString &dataFolder)
{
    return QStringLiteral("Corvanta Is Already Running With This Data Folder:\r") + dataFolder + u'\r';
}

} // namespace corvanta
