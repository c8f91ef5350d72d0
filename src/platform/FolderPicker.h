#pragma once

#include <QString>

namespace corvanta {

// The desktop's folder chooser.
class FolderPicker
{
public:
    virtual ~FolderPicker() = default;
    // A modal dialog that starts in startFolder; the chosen folder, or "" when cancelled.
    virtual QString chooseFolder(const QString &title, const QString &startFolder) = 0;
};

} // namespace corvanta
