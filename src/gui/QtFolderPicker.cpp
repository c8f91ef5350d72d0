#include "gui/QtFolderPicker.h"

#include <QApplication>
#include <QFileDialog>

namespace corvanta {

QString QtFolderPicker::chooseFolder(const QString &title, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, startFolder,
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

} // namespace corvanta
