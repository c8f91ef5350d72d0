#pragma once

#include "platform/FolderPicker.h"

namespace corvanta {

// The desktop's folder chooser, over the window that is active when it is asked.
class QtFolderPicker : public FolderPicker
{
public:
    QString chooseFolder(const QString &title, const QString &startFolder) override;
};

} // namespace corvanta
