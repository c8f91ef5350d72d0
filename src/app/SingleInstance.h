#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace corvanta {

// Keeps a second copy of the program away from a data folder already in use: two copies writing
// the same lists would lose each other's changes. The lock goes with the object.
class SingleInstance {
public:
    explicit SingleInstance(const QString &dataFolder);
    // False when another running copy holds the folder; nothing is written then.
    bool acquire();

    static QString refusalTitle();
    static QString refusalText(const QString &dataFolder);
    static QString lockFileName();

private:
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace corvanta
