#pragma once

#include <QString>

namespace corvanta {

// The settings file: "[Section]" lines and key=value lines. Section and key names match without
// regard to case; a write creates what is missing and replaces an existing key in place; a read
// gives at most 254 characters; CR and LF in a written value become spaces. Writes are atomic.
QString ReadIniString(const QString &file, const QString &section, const QString &key,
                      const QString &defaultValue);
// Returns false when the file could not be written (the old file is then whole).
bool WriteIniString(const QString &file, const QString &section, const QString &key,
                    const QString &value);

} // namespace corvanta
