#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace corvanta {

// One entry of a file dialog's type list: the name the user sees and the patterns it lets
// through, separated by spaces ("*.htm *.html").
struct FileFilter
{
    QString name;
    QString patterns;
    bool operator==(const FileFilter &) const = default;
};

// What an open-file dialog is asked to show.
struct OpenFileRequest
{
    QString title;
    QList<FileFilter> filters; // the first one is chosen when the dialog opens
    QString initialFolder;
    QString fileName; // preset: a path whose folder and name the dialog starts on
    bool multiple = true; // the user may choose several files
};

// The desktop's file dialogs.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;

    // A modal open-file dialog; the chosen files as full paths, or none when the user cancelled.
    virtual QStringList getOpenFileNames(const OpenFileRequest &request) = 0;
};

// The folder a file dialog for path opens in: the folder holding it, or the nearest one above
// that plainly exists (the root at the last). A relative path is taken in baseFolder.
QString nearestExistingFolder(const QString &path, const QString &baseFolder);

} // namespace corvanta
