#include "model/ReferenceModel.h"

#include "store/ListFiles.h"
#include "store/NameRules.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace corvanta::test {

namespace {

QStringList storedLines(Store &store, const QString &file)
{
    QStringList out;
    for (const QString &line : readLines(store, file)) {
        const QString trimmed = trimSpaces(line);
        if (!trimmed.isEmpty())
            out << trimmed;
    }
    return out;
}

bool isListFile(const QString &relative)
{
    return relative.endsWith(u".List") || relative.endsWith(u".Files") || relative == u"Project.Topics"
        || relative == u"Paste.Lst";
}

QString parentOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash);
}

} // namespace

QString topicListPath(const QString &project)
{
    return project.isEmpty() ? QStringLiteral("Project.Topics")
                             : QStringLiteral("Projects/") + project + u'/' + project + QStringLiteral(".List");
}

QString fileListPath(const QString &project, const QString &rowName)
{
    const bool own = isProjectRow(rowName);
    if (project.isEmpty())
        return own ? QStringLiteral("Project.Files") : QStringLiteral("Projects/") + rowName + QStringLiteral(".Files");
    return QStringLiteral("Projects/") + project + u'/' + (own ? project : rowName) + QStringLiteral(".Files");
}

QStringList ReferenceModel::lines(const QString &path) const
{
    const auto it = lists.find(path);
    return it == lists.end() ? QStringList() : it->second;
}

bool ReferenceModel::existsIgnoringCase(const QString &path) const
{
    const QString folder = parentOf(path);
    const QString name = path.mid(folder.size() + (folder.isEmpty() ? 0 : 1));
    // Every entry the model knows of, and every folder above one.
    std::set<QString> entries(folders.begin(), folders.end());
    for (const auto &[file, lines] : lists)
        entries.insert(file);
    for (const auto &[file, bytes] : userFiles) {
        for (QString p = file; !p.isEmpty(); p = parentOf(p))
            entries.insert(p);
    }
    for (const QString &entry : entries) {
        if (parentOf(entry) == folder && entry.mid(folder.size() + (folder.isEmpty() ? 0 : 1)).compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void ReferenceModel::move(const QString &from, const QString &to)
{
    const auto it = lists.find(from);
    if (it == lists.end())
        return;
    lists[to] = it->second;
    lists.erase(from);
}

void ReferenceModel::copy(const QString &from, const QString &to)
{
    if (exists(from))
        lists[to] = lists[from];
}

void ReferenceModel::renameProject(const QString &from, const QString &to)
{
    const QString oldFolder = QStringLiteral("Projects/") + from;
    const QString newFolder = QStringLiteral("Projects/") + to;
    move(oldFolder + u'/' + from + QStringLiteral(".List"), oldFolder + u'/' + to + QStringLiteral(".List"));
    move(oldFolder + u'/' + from + QStringLiteral(".Files"), oldFolder + u'/' + to + QStringLiteral(".Files"));
    const auto moveAll = [&](auto &map) {
        std::remove_reference_t<decltype(map)> moved;
        for (auto &[path, value] : map)
            moved[path.startsWith(oldFolder + u'/') ? newFolder + path.mid(oldFolder.size()) : path] = value;
        map.swap(moved);
    };
    moveAll(lists);
    moveAll(userFiles);
    folders.erase(oldFolder);
    folders.insert(newFolder);
}

void ReferenceModel::removeProjectFolder(const QString &name)
{
    const QString folder = QStringLiteral("Projects/") + name;
    const QString own = folder + u'/' + name + QStringLiteral(".List");
    bool othersLeft = false;
    for (auto it = lists.begin(); it != lists.end();) {
        const bool inFolder = parentOf(it->first) == folder;
        if (inFolder && (it->first == own || it->first.endsWith(u".Files"))) {
            it = lists.erase(it);
            continue;
        }
        othersLeft = othersLeft || it->first.startsWith(folder + u'/');
        ++it;
    }
    for (const auto &[path, bytes] : userFiles)
        othersLeft = othersLeft || path.startsWith(folder + u'/');
    if (!othersLeft)
        folders.erase(folder);
}

bool ReferenceModel::holdsProgramFilesOrNothing(const QString &name) const
{
    const QString folder = QStringLiteral("Projects/") + name;
    bool anything = false;
    for (const auto &[path, lines] : lists) {
        if (parentOf(path) != folder)
            continue;
        if (path == folder + u'/' + name + QStringLiteral(".List") || path.endsWith(u".Files"))
            return true;
        anything = true;
    }
    for (const auto &[path, bytes] : userFiles)
        anything = anything || path.startsWith(folder + u'/');
    return !anything;
}

QStringList ReferenceModel::compare(const TempFolder &data)
{
    Store store; // the model's own look at the files, apart from the program's
    QStringList differences;
    std::set<QString> seen;
    const QString top = data.path() + u'/';
    QDirIterator it(data.path(), QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString full = it.next();
        const QString relative = full.mid(top.size());
        seen.insert(relative);
        if (userFiles.count(relative)) {
            QFile file(full);
            if (!file.open(QIODevice::ReadOnly) || file.readAll() != userFiles.at(relative))
                differences << QStringLiteral("the user's file changed: ") + relative;
            continue;
        }
        if (relative == u"Corvanta.Ini")
            continue;
        if (!isListFile(relative)) {
            differences << QStringLiteral("a file nobody made: ") + relative;
            continue;
        }
        const QStringList disk = storedLines(store, full);
        if (!exists(relative) && disk.isEmpty()) {
            lists[relative]; // an empty list the program made on its own
            continue;
        }
        if (disk != lines(relative))
            differences << relative + QStringLiteral(": disk {") + disk.join(u" | ") + QStringLiteral("} model {")
                    + lines(relative).join(u" | ") + u'}';
    }
    for (const auto &[path, lines] : lists) {
        if (!seen.count(path))
            differences << QStringLiteral("gone: ") + path + QStringLiteral(" {") + lines.join(u" | ") + u'}';
    }
    for (const auto &[path, bytes] : userFiles) {
        if (!seen.count(path))
            differences << QStringLiteral("the user's file vanished: ") + path;
    }
    std::set<QString> disk;
    for (const QString &name : QDir(data.file(QStringLiteral("Projects")))
                                   .entryList(QDir::Dirs | QDir::NoSymLinks | QDir::Hidden | QDir::NoDotAndDotDot))
        disk.insert(QStringLiteral("Projects/") + name);
    if (disk != folders) {
        const auto join = [](const std::set<QString> &set) { return QStringList(set.begin(), set.end()).join(u" | "); };
        differences << QStringLiteral("folders: disk {") + join(disk) + QStringLiteral("} model {") + join(folders) + u'}';
    }
    for (const QString &stray : data.stray())
        differences << QStringLiteral("written outside the data folder: ") + stray;
    return differences;
}

} // namespace corvanta::test
