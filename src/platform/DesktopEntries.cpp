#include "platform/DesktopEntries.h"

#include "platform/RegularFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

#include <set>

namespace corvanta {

namespace {

QString homeFolder()
{
    const QString home = qEnvironmentVariable("HOME");
    return home.isEmpty() ? QDir::homePath() : home;
}

QString xdgHome(const char *variable, const QString &fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? value : homeFolder() + fallback;
}

QStringList xdgDirs(const char *variable, const QString &fallback)
{
    QStringList dirs;
    const QString value = qEnvironmentVariable(variable);
    for (const QString &dir :
        (value.isEmpty() ? fallback : value).split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir)) // relative entries are not allowed and are skipped
            dirs << dir;
    }
    return dirs;
}

// The escapes a desktop file's string values may carry.
QString unescapeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
        case 's':
            out += u' ';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        default:
            out += next;
            break; // "\\" and "\;" give the character itself
        }
    }
    return out;
}

QStringList splitList(const QString &value)
{
    QStringList items;
    QString current;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size() && value[i + 1] == u';') {
            current += u';';
            ++i;
        } else if (value[i] == u';') {
            items << current.trimmed();
            current.clear();
        } else {
            current += value[i];
        }
    }
    items << current.trimmed();
    items.removeAll(QString());
    return items;
}

bool isTrue(const QString &value)
{
    return value.trimmed().compare(u"true", Qt::CaseInsensitive) == 0;
}

// The groups and keys of an INI-like desktop or mimeapps file, values raw.
std::map<QString, std::map<QString, QString>> readGroups(const QString &text)
{
    std::map<QString, std::map<QString, QString>> groups;
    QString group;
    for (const QString &raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            group = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        const QString key = line.left(std::max<qsizetype>(eq, 0)).trimmed();
        if (key.isEmpty() || group.isEmpty())
            continue;
        auto &keys = groups[group];
        if (keys.count(key) == 0) // the first of a repeated key counts
            keys[key] = line.mid(eq + 1).trimmed();
    }
    return groups;
}

// A FIFO or device in place of a desktop or mimeapps file is skipped, never waited on.
QString readText(const QString &path)
{
    QByteArray bytes;
    return readRegularFile(path, bytes) == ReadOutcome::Read ? QString::fromUtf8(bytes) : QString();
}

} // namespace

QString addressScheme(const QString &target)
{
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]+):"));
    const auto match = scheme.match(target.trimmed());
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

bool isFileTarget(const QString &target)
{
    return !target.trimmed().isEmpty() && addressScheme(target).isEmpty();
}

// --- DesktopEntry ---

QString DesktopEntry::commandLine() const
{
    if (!terminal)
        return exec;
    static const char *const terminals[] = {"x-terminal-emulator", "xterm"};
    for (const char *name : terminals) {
        const QString program = DesktopEntries::findProgram(QString::fromLatin1(name));
        if (!program.isEmpty())
            return DesktopEntries::quoteArgument(program) + QStringLiteral(" -e ") + exec;
    }
    return QString();
}

bool DesktopEntry::launchable() const
{
    if (!tryExec.isEmpty() && DesktopEntries::findProgram(tryExec).isEmpty())
        return false;
    const QStringList words = DesktopEntries::splitCommand(commandLine());
    return !words.isEmpty() && !DesktopEntries::findProgram(words.first()).isEmpty();
}

// --- parsing ---

std::optional<DesktopEntry> DesktopEntries::parse(
    const QString &text, const QString &id, const QString &path)
{
    const auto groups = readGroups(text);
    const auto group = groups.find(QStringLiteral("Desktop Entry"));
    if (group == groups.end())
        return std::nullopt;
    const auto &keys = group->second;
    auto value = [&keys](const QString &key) {
        const auto it = keys.find(key);
        return it == keys.end() ? QString() : it->second;
    };
    DesktopEntry entry;
    entry.id = id;
    entry.path = path;
    entry.hidden = isTrue(value(QStringLiteral("Hidden")));
    if (value(QStringLiteral("Type")) != u"Application" && !entry.hidden)
        return std::nullopt;

    const QString locale = QLocale::system().name(); // "de_DE"
    for (const QString &key : {QStringLiteral("Name[%1]").arg(locale),
             QStringLiteral("Name[%1]").arg(locale.section(u'_', 0, 0)), QStringLiteral("Name")}) {
        entry.name = unescapeValue(value(key));
        if (!entry.name.isEmpty())
            break;
    }
    entry.exec = unescapeValue(value(QStringLiteral("Exec")));
    entry.tryExec = unescapeValue(value(QStringLiteral("TryExec")));
    entry.icon = unescapeValue(value(QStringLiteral("Icon")));
    entry.workingFolder = unescapeValue(value(QStringLiteral("Path")));
    entry.mimeTypes = splitList(value(QStringLiteral("MimeType")));
    entry.noDisplay = isTrue(value(QStringLiteral("NoDisplay")));
    entry.terminal = isTrue(value(QStringLiteral("Terminal")));
    if (entry.exec.isEmpty() && !entry.hidden)
        return std::nullopt; // nothing to start
    return entry;
}

std::optional<DesktopEntry> DesktopEntries::load(const QString &path, const QString &id)
{
    QByteArray bytes;
    if (readRegularFile(path, bytes) != ReadOutcome::Read)
        return std::nullopt;
    return parse(QString::fromUtf8(bytes), id, path);
}

QStringList DesktopEntries::splitCommand(const QString &commandLine)
{
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < commandLine.size(); ++i) {
        const QChar c = commandLine[i];
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < commandLine.size()
                && QStringView(u"\"`$\\").contains(commandLine[i + 1])) {
                word += commandLine[++i];
            } else {
                word += c;
            }
        } else if (c == u'"') {
            quoted = true;
            inWord = true;
        } else if (c == u' ' || c == u'\t') {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

QStringList DesktopEntries::expandCommand(const QString &commandLine, const QString &target)
{
    static const QString fileCodes = QStringLiteral("fFuU");
    QStringList out;
    bool tookTarget = false;
    for (const QString &word : splitCommand(commandLine)) {
        if (word.size() == 2 && word[0] == u'%' && word[1] != u'%') {
            // A field code standing alone: the target, or nothing.
            if (fileCodes.contains(word[1]) && !target.isEmpty()) {
                out << target;
                tookTarget = true;
            }
            continue;
        }
        QString expanded;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word[i] != u'%' || i + 1 == word.size()) {
                expanded += word[i];
                continue;
            }
            const QChar code = word[++i];
            if (code == u'%') {
                expanded += u'%';
            } else if (fileCodes.contains(code)) {
                expanded += target;
                tookTarget = true;
            }
        }
        out << expanded;
    }
    if (!tookTarget && !target.isEmpty() && !out.isEmpty())
        out << target;
    return out;
}

QString DesktopEntries::quoteArgument(const QString &argument)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./+:=@,-]+$"));
    if (plain.match(argument).hasMatch())
        return argument;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (QStringView(u"\"`$\\").contains(c))
            quoted += u'\\';
        quoted += c;
    }
    return quoted + u'"';
}

QString DesktopEntries::findProgram(const QString &program)
{
    if (program.isEmpty())
        return QString();
    if (program.contains(u'/')) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

QString DesktopEntries::mimeTypeOf(const QString &target)
{
    const QString scheme = addressScheme(target);
    if (!scheme.isEmpty() && scheme != u"file")
        return QStringLiteral("x-scheme-handler/") + scheme;
    QString path = target;
    if (scheme == u"file")
        path = QUrl(target).toLocalFile();
    return QMimeDatabase().mimeTypeForFile(path).name();
}

// --- the installed applications ---

DesktopEntries::DesktopEntries()
{
    const QString dataHome = xdgHome("XDG_DATA_HOME", QStringLiteral("/.local/share"));
    const QStringList dataDirs = QStringList {dataHome}
        + xdgDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    const QStringList configDirs =
        QStringList {xdgHome("XDG_CONFIG_HOME", QStringLiteral("/.config"))}
        + xdgDirs("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    const QStringList desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(u':', Qt::SkipEmptyParts);

    // An id found in an earlier folder hides the same id further down, hidden or not.
    std::set<QString> seen;
    for (const QString &data : dataDirs) {
        const QString root = data + QStringLiteral("/applications");
        QStringList files;
        QDirIterator it(
            root, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        for (const QString &file : files) {
            const QString id = QDir(root).relativeFilePath(file).replace(u'/', u'-');
            if (!seen.insert(id).second)
                continue;
            auto entry = load(file, id);
            if (!entry || entry->hidden)
                continue;
            byId_[id] = entries_.size();
            entries_.push_back(std::move(*entry));
        }
    }

    QStringList listFiles;
    auto addLists = [&](const QString &folder) {
        for (const QString &desktop : desktops)
            listFiles << folder + u'/' + desktop + QStringLiteral("-mimeapps.list");
        listFiles << folder + QStringLiteral("/mimeapps.list");
    };
    for (const QString &config : configDirs)
        addLists(config);
    for (const QString &data : dataDirs)
        addLists(data + QStringLiteral("/applications"));
    for (const QString &file : listFiles) {
        if (auto a = parseAssociations(readText(file)))
            lists_.push_back(std::move(*a));
    }
}

std::optional<DesktopEntries::Associations> DesktopEntries::parseAssociations(const QString &text)
{
    const auto groups = readGroups(text);
    if (groups.empty())
        return std::nullopt;
    Associations a;
    auto take = [&groups](const char *group, std::map<QString, QStringList> &into) {
        const auto it = groups.find(QString::fromLatin1(group));
        if (it == groups.end())
            return;
        for (const auto &[type, ids] : it->second)
            into[type] = splitList(ids);
    };
    take("Default Applications", a.defaults);
    take("Added Associations", a.added);
    take("Removed Associations", a.removed);
    return a;
}

const DesktopEntry *DesktopEntries::entry(const QString &id) const
{
    const auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : &entries_[it->second];
}

bool DesktopEntries::removed(const QString &mimeType, const QString &id) const
{
    for (const Associations &a : lists_) {
        const auto it = a.removed.find(mimeType);
        if (it != a.removed.end() && it->second.contains(id))
            return true;
    }
    return false;
}

QStringList DesktopEntries::typeAndAncestors(const QString &mimeType) const
{
    QStringList types {mimeType};
    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeType);
    if (type.isValid()) {
        // An application for "any file" would hide that nothing really opens this type.
        for (const QString &ancestor : type.allAncestors()) {
            if (ancestor != u"application/octet-stream" && !types.contains(ancestor))
                types << ancestor;
        }
    }
    return types;
}

// The applications for one type in their order of preference: defaults, added, registered.
std::vector<const DesktopEntry *> DesktopEntries::candidates(const QString &type) const
{
    std::vector<const DesktopEntry *> out;
    auto add = [&](const DesktopEntry *e) {
        if (e && std::find(out.begin(), out.end(), e) == out.end())
            out.push_back(e);
    };
    for (const Associations &a : lists_) {
        const auto it = a.defaults.find(type);
        if (it != a.defaults.end()) {
            for (const QString &id : it->second)
                add(entry(id));
        }
    }
    for (const Associations &a : lists_) {
        const auto it = a.added.find(type);
        if (it != a.added.end()) {
            for (const QString &id : it->second) {
                if (!removed(type, id))
                    add(entry(id));
            }
        }
    }
    for (const DesktopEntry &e : entries_) {
        if (e.mimeTypes.contains(type) && !removed(type, e.id))
            add(&e);
    }
    return out;
}

std::optional<DesktopEntry> DesktopEntries::defaultFor(const QString &mimeType) const
{
    for (const QString &type : typeAndAncestors(mimeType)) {
        for (const DesktopEntry *e : candidates(type)) {
            if (e->launchable())
                return *e;
        }
    }
    return std::nullopt;
}

std::vector<DesktopEntry> DesktopEntries::registeredFor(const QString &mimeType) const
{
    std::vector<DesktopEntry> out;
    std::set<QString> ids;
    for (const QString &type : typeAndAncestors(mimeType)) {
        for (const DesktopEntry *e : candidates(type)) {
            if (e->launchable() && ids.insert(e->id).second)
                out.push_back(*e);
        }
    }
    return out;
}

OpenWithOffer DesktopEntries::offerFor(const QString &target) const
{
    OpenWithOffer offer;
    const QString type = mimeTypeOf(target);
    offer.registered = registeredFor(type);
    const QString scheme = addressScheme(target);
    if (scheme.isEmpty() || scheme == u"file") {
        offer.others = otherApplications(type);
        offer.preselect = !offer.registered.empty();
        return offer;
    }
    offer.address = true;
    if (offer.registered.empty()) {
        offer.noneText = scheme == u"mailto"
            ? QStringLiteral("No Program Is Registered For E-Mail Addresses.")
            : QStringLiteral("No Program Is Registered For Web Addresses.");
    }
    return offer;
}

std::vector<DesktopEntry> DesktopEntries::otherApplications(const QString &mimeType) const
{
    std::set<QString> registered;
    for (const DesktopEntry &e : registeredFor(mimeType))
        registered.insert(e.id);
    std::vector<DesktopEntry> out;
    for (const DesktopEntry &e : entries_) {
        if (!e.noDisplay && registered.count(e.id) == 0 && e.launchable())
            out.push_back(e);
    }
    std::stable_sort(out.begin(), out.end(), [](const DesktopEntry &a, const DesktopEntry &b) {
        return QString::localeAwareCompare(a.name, b.name) < 0;
    });
    return out;
}

} // namespace corvanta
