#include "search/PointerPlaces.h"

#include "app/Operations.h"
#include "app/SharedState.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

#include <QSet>

namespace corvanta {

namespace {

const QString MarkerRow = QStringLiteral("...");

// The usable names of a name list, each once (names differing in case name the same file).
QStringList namesIn(const QString &path)
{
    QStringList names;
    QSet<QString> seen;
    for (const QString &line : readLines(path)) {
        const QString name = trimSpaces(line);
        if (name.isEmpty() || name == MarkerRow || !isUsableFileName(name))
            continue;
        const QString key = name.toCaseFolded();
        if (seen.contains(key))
            continue;
        seen.insert(key);
        names.append(name);
    }
    return names;
}

} // namespace

QString PointerPlace::name() const
{
    const QStringView line = view();
    const qsizetype tab = line.indexOf(u'\t');
    return trimSpaces((tab < 0 ? line : line.first(tab)).toString());
}

QString PointerPlace::target() const
{
    const QStringView line = view();
    const qsizetype tab = line.indexOf(u'\t');
    return tab < 0 ? QString() : trimSpaces(line.sliced(tab + 1).toString());
}

QString PointerPlace::where() const
{
    const QString project =
        file->project.isEmpty() ? QStringLiteral("Entry Screen") : file->project;
    return file->topic.isEmpty() ? project : project + QStringLiteral(" / ") + file->topic;
}

std::vector<PointerFile> pointerFiles(const QString &dataFolder)
{
    std::vector<PointerFile> files;
    const QString projects = dataFolder + QStringLiteral("/Projects/");
    files.push_back({QString(), QString(), dataFolder + QStringLiteral("/Project.Files"), QString()});
    for (const QString &topic : namesIn(dataFolder + QStringLiteral("/Project.Topics")))
        files.push_back({QString(), topic, projects + topic + QStringLiteral(".Files"), QString()});
    for (const QString &project : namesIn(dataFolder + QStringLiteral("/Project.List"))) {
        const QString folder = projects + project + u'/';
        files.push_back({project, QString(), folder + project + QStringLiteral(".Files"), QString()});
        for (const QString &topic : namesIn(folder + project + QStringLiteral(".List"))) {
            // A topic named as its project would be the project's own list a second time.
            if (topic.compare(project, Qt::CaseInsensitive) != 0)
                files.push_back({project, topic, folder + topic + QStringLiteral(".Files"), QString()});
        }
    }
    return files;
}

std::vector<PointerPlace> readPointers(std::vector<PointerFile> &files)
{
    std::vector<PointerPlace> places;
    for (PointerFile &file : files) {
        file.text = readListText(file.path);
        const QChar *start = file.text.constData();
        forEachRecord(file.text, [&](QStringView line) {
            places.push_back({&file, line.data() - start, line.size()});
        });
    }
    return places;
}

bool openPlace(Operations &operations, SharedState &state, const PointerPlace &place)
{
    state.PlaceProject = place.file->project;
    state.PlaceTopic = place.file->topic;
    state.PlacePointer = place.record();
    state.PlaceFound = false;
    operations.run(QStringLiteral("OpenPlace"));
    return state.PlaceFound;
}

} // namespace corvanta
