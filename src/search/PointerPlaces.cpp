#include "search/PointerPlaces.h"

#include "app/FeatureCalls.h"
#include "app/SharedState.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

#include <QSet>

namespace corvanta {

namespace {

const QString MarkerRow = QStringLiteral("...");

// The usable names of a name list, each once (names differing in case name the same file).
QStringList namesIn(Store &store, const QString &path)
{
    QStringList names;
    QSet<QString> seen;
    forEachRecord(readListContent(store, path).toText(), [&](QStringView line) {
        const QString name = line.toString();
        if (name == MarkerRow || !isUsableFileName(name))
            return;
        const QString key = name.toCaseFolded();
        if (seen.contains(key))
            return;
        seen.insert(key);
        names.append(name);
    });
    return names;
}

template <typename View>
qsizetype countLineEnds(View text)
{
    qsizetype count = 0;
    for (const auto c : text)
        count += (c == u'\n') | (c == u'\r');
    return count;
}

} // namespace

QString PointerPlace::record() const
{
    const ListContent &content = file->content;
    return content.isAscii ? QString::fromLatin1(QByteArrayView(content.ascii).sliced(offset, length))
                           : content.text.sliced(offset, length);
}

QString PointerPlace::name() const
{
    const QString line = record();
    const qsizetype tab = line.indexOf(u'\t');
    return trimSpaces(tab < 0 ? line : line.first(tab));
}

QString PointerPlace::target() const
{
    const QString line = record();
    const qsizetype tab = line.indexOf(u'\t');
    return tab < 0 ? QString() : trimSpaces(line.sliced(tab + 1));
}

QString PointerPlace::where() const
{
    const QString project =
        file->project.isEmpty() ? QStringLiteral("Entry Screen") : file->project;
    return file->topic.isEmpty() ? project : project + QStringLiteral(" / ") + file->topic;
}

std::vector<PointerFile> pointerFiles(Store &store, const QString &dataFolder)
{
    std::vector<PointerFile> files;
    const QString projects = dataFolder + QStringLiteral("/Projects/");
    files.push_back({QString(), QString(), dataFolder + QStringLiteral("/Project.Files"), {}});
    for (const QString &topic : namesIn(store, dataFolder + QStringLiteral("/Project.Topics")))
        files.push_back({QString(), topic, projects + topic + QStringLiteral(".Files"), {}});
    for (const QString &project : namesIn(store, dataFolder + QStringLiteral("/Project.List"))) {
        const QString folder = projects + project + u'/';
        files.push_back({project, QString(), folder + project + QStringLiteral(".Files"), {}});
        for (const QString &topic : namesIn(store, folder + project + QStringLiteral(".List"))) {
            // A topic named as its project would be the project's own list a second time.
            if (topic.compare(project, Qt::CaseInsensitive) != 0)
                files.push_back({project, topic, folder + topic + QStringLiteral(".Files"), {}});
        }
    }
    return files;
}

std::vector<PointerPlace> readPointers(Store &store, std::vector<PointerFile> &files, TextBlocks &blocks)
{
    // Every file first, so the places are made once at their full size: each line end bounds a
    // pointer, and room reserved but not filled costs no memory.
    qsizetype lineEnds = 0;
    for (PointerFile &file : files) {
        file.content = readListContent(store, file.path);
        if (file.content.isAscii)
            file.content.ascii = blocks.keep(file.content.ascii);
        lineEnds += file.content.isAscii ? countLineEnds(QByteArrayView(file.content.ascii))
                                         : countLineEnds(QStringView(file.content.text));
    }
    std::vector<PointerPlace> places;
    places.reserve(size_t(lineEnds + qsizetype(files.size())));
    for (PointerFile &file : files) {
        const ListContent &content = file.content;
        if (content.isAscii) {
            const char *start = content.ascii.constData();
            forEachRecord(QByteArrayView(content.ascii), [&](QByteArrayView line) {
                places.push_back({&file, line.data() - start, line.size()});
            });
        } else {
            const QChar *start = content.text.constData();
            forEachRecord(QStringView(content.text), [&](QStringView line) {
                places.push_back({&file, line.data() - start, line.size()});
            });
        }
    }
    return places;
}

bool openPlace(ListNavigation &navigation, const PointerPlace &place)
{
    return navigation.openPlace({place.file->project, place.file->topic, place.record()});
}

} // namespace corvanta
