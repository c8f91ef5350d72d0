#pragma once

#include <QString>

namespace corvanta {

// Whether a project or topic name can name a file or folder inside the data folder: not blank,
// not "." or "..", and without "/" or control characters, so no path built from it can leave
// its folder.
bool isUsableFileName(const QString &name);

QString invalidNameTitle();
QString blankNameText();
// Why a new or renamed project or topic name cannot be used, or "" when it can: blank, "." or
// "..", holding "..." (the lists' marker, which a rebuild drops), "/", "\" or a control
// character.
QString newNameRefusal(const QString &name);
// "The Name  [NAME]  Cannot Be Used As A File Name." with the advice line.
QString invalidNameText(const QString &name);

} // namespace corvanta
