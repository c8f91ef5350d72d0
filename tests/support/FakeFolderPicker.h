#pragma once

#include "platform/FolderPicker.h"

#include <QStringList>

namespace corvanta::test {

// Answers folder choosers with a scripted folder ("" cancels) and records where each started.
class FakeFolderPicker : public FolderPicker
{
public:
    QString answer;
    QStringList startFolders;
    QString chooseFolder(const QString &, const QString &startFolder) override
    {
        startFolders << startFolder;
        return answer;
    }
};

} // namespace corvanta::test
