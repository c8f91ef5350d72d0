#include "gui/QtFileDialogs.h"

#include "gui/Modal.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace corvanta {

QString QtFileDialogs::filterText(const FileFilter &filter)
{
    const QString own = QStringLiteral(" (") + filter.patterns + u')';
    return filter.name.endsWith(own) ? filter.name : filter.name + own;
}

QStringList QtFileDialogs::getOpenFileNames(const OpenFileRequest &request)
{
    QFileDialog dialog(parent ? parent : QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    // The names stay as the program words them; the patterns that really apply stay out of sight.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    QStringList filters;
    for (const FileFilter &filter : request.filters)
        filters << filterText(filter);
    dialog.setNameFilters(filters);
    const QFileInfo preset(request.fileName);
    if (!request.fileName.isEmpty() && preset.isAbsolute()) {
        dialog.setDirectory(preset.absolutePath());
        dialog.selectFile(preset.fileName());
    } else {
        dialog.setDirectory(request.initialFolder);
    }
    if (runModal(dialog, parent) != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

} // namespace corvanta
