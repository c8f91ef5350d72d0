#pragma once

#include <QString>

namespace corvanta {

// Where the lists and settings live: the folder given on the command line; else the program's
// own folder when it already holds Corvanta.Ini or Project.List (a portable install); else
// $XDG_DATA_HOME/corvanta (~/.local/share/corvanta). The folder is created when missing.
struct DataFolderChoice {
    QString path;      // absolute, cleaned; empty on failure
    QString error;     // why no folder could be had
};

DataFolderChoice resolveDataFolder(const QString &commandLineDir, const QString &executableDir,
                                   const QString &xdgDataHome, const QString &home);

} // namespace corvanta
