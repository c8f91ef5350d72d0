#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <set>

namespace corvanta::test {

class TempFolder;

// What the data folder must hold, as the user's actions say: the lines of every list file (paths
// relative to the data folder; a file holds its lines trimmed, blank ones never count), the
// project folders, and the user's own files, which must never vanish. A list file that exists
// empty is as good as a missing one, so the model takes in empty files the program makes on its
// own (opening a topic does), but nothing else.
class ReferenceModel
{
public:
    std::map<QString, QStringList> lists; // every list file that exists
    std::set<QString> folders;            // "Projects/NAME", real folders only
    std::map<QString, QByteArray> userFiles;

    // A list file's stored lines: the Project List, a Topic List or a File List.
    QStringList &list(const QString &path) { return lists[path]; }
    QStringList lines(const QString &path) const;
    bool exists(const QString &path) const { return lists.count(path) != 0; }
    // Whether path exists, its last part matched without regard to letter case.
    bool existsIgnoringCase(const QString &path) const;

    void move(const QString &from, const QString &to);
    void copy(const QString &from, const QString &to);
    void remove(const QString &path) { lists.erase(path); }
    // Renames a project's folder and its own .List and .Files.
    void renameProject(const QString &from, const QString &to);
    // Deletes a project folder's own files, and the folder when nothing of the user's is left.
    void removeProjectFolder(const QString &name);
    // Whether a project folder holds any of the program's files, or nothing at all.
    bool holdsProgramFilesOrNothing(const QString &name) const;

    // Compares the data folder with the model: every difference, one a line. Takes in the empty
    // list files the program made on its own.
    QStringList compare(const TempFolder &data);
};

// The paths of the lists of a level: the entry screen (project "") or a project.
QString topicListPath(const QString &project);
// The File List file of a Topic List row at a level (the project row's own for " ...").
QString fileListPath(const QString &project, const QString &rowName);

} // namespace corvanta::test
