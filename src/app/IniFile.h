#pragma once

#include "store/OwnFiles.h"

#include <QString>
#include <QStringList>

namespace corvanta {

// The settings file: "[Section]" lines and key=value lines. Section and key names match without
// regard to case; a write creates what is missing and replaces an existing key in place; a read
// gives at most 254 characters; CR and LF in a written value become spaces. Writes are atomic.
QString ReadIniString(Store &store, const QString &file, const QString &section, const QString &key,
                      const QString &defaultValue);
// On failure the old file is whole and the result says why; a settings file that could not be
// read is never replaced. Callers report failures through writeSetting (Settings.h).
[[nodiscard]] SaveResult WriteIniString(Store &store, const QString &file, const QString &section,
                                        const QString &key, const QString &value);

// The same on a file's lines: iniValue gives what a read gives ("" when the key is missing, which
// found tells apart from an empty value); setIniValue writes a value into them.
QString iniValue(const QStringList &lines, const QString &section, const QString &key,
                 bool *found = nullptr);
void setIniValue(QStringList &lines, const QString &section, const QString &key,
                 const QString &value);

} // namespace corvanta
