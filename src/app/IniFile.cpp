#include "app/IniFile.h"

#include "store/ListFiles.h"

#include <QStringList>
#include <QStringView>

namespace corvanta {

namespace {

// The classic reader returned at most 254 characters (a 256-character buffer).
constexpr qsizetype kMaxValue = 254;

QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isSectionLine(QStringView line)
{
    return trimBlanks(line).startsWith(u'[');
}

QStringView sectionNameOf(QStringView line)
{
    QStringView name = trimBlanks(line).sliced(1);
    const qsizetype close = name.indexOf(u']');
    if (close >= 0)
        name = name.first(close);
    return trimBlanks(name);
}

// The key name of a "key=value" line, or an empty view for anything else (comments included).
QStringView keyNameOf(QStringView line)
{
    const QStringView trimmed = trimBlanks(line);
    if (trimmed.startsWith(u';'))
        return {};
    const qsizetype eq = trimmed.indexOf(u'=');
    return eq < 0 ? QStringView() : trimBlanks(trimmed.first(eq));
}

QStringView valueOf(QStringView line)
{
    return trimBlanks(line.sliced(line.indexOf(u'=') + 1));
}

QString cutToMax(const QString &text)
{
    if (text.size() <= kMaxValue)
        return text;
    // Never leave half of a surrogate pair at the end.
    const qsizetype keep = text.at(kMaxValue - 1).isHighSurrogate() ? kMaxValue - 1 : kMaxValue;
    return text.left(keep);
}

int findSection(const QStringList &lines, QStringView section)
{
    const QStringView wanted = trimBlanks(section);
    for (int i = 0; i < lines.size(); ++i) {
        if (isSectionLine(lines[i]) && sameName(sectionNameOf(lines[i]), wanted))
            return i;
    }
    return -1;
}

// One past the last line of the section whose header is at header.
int sectionEnd(const QStringList &lines, int header)
{
    int i = header + 1;
    while (i < lines.size() && !isSectionLine(lines[i]))
        ++i;
    return i;
}

int findKey(const QStringList &lines, int header, int end, QStringView key)
{
    const QStringView wanted = trimBlanks(key);
    for (int i = header + 1; i < end; ++i) {
        const QStringView name = keyNameOf(lines[i]);
        if (!name.isEmpty() && sameName(name, wanted))
            return i;
    }
    return -1;
}

} // namespace

QString iniValue(const QStringList &lines, const QString &section, const QString &key, bool *found)
{
    const int header = findSection(lines, section);
    const int keyLine = header < 0 ? -1 : findKey(lines, header, sectionEnd(lines, header), key);
    if (found)
        *found = keyLine >= 0;
    return keyLine < 0 ? QString() : cutToMax(valueOf(lines[keyLine]).toString());
}

void setIniValue(QStringList &lines, const QString &section, const QString &key, const QString &value)
{
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');

    const int header = findSection(lines, section);
    if (header < 0) {
        lines.append(u'[' + section + u']');
        lines.append(key + u'=' + clean);
        return;
    }
    const int end = sectionEnd(lines, header);
    const int at = findKey(lines, header, end, key);
    if (at >= 0) {
        // Keep the key as spelled in the file; only this line changes.
        lines[at] = keyNameOf(lines[at]).toString() + u'=' + clean;
    } else {
        // After the section's last non-blank line, so blank separators stay between sections.
        int insertAt = end;
        while (insertAt > header + 1 && trimBlanks(lines[insertAt - 1]).isEmpty())
            --insertAt;
        lines.insert(insertAt, key + u'=' + clean);
    }
}

QString ReadIniString(Store &store, const QString &file, const QString &section, const QString &key,
                      const QString &defaultValue)
{
    bool found = false;
    const QString value = iniValue(readLines(store, file), section, key, &found);
    return found ? value : cutToMax(defaultValue);
}

SaveResult WriteIniString(Store &store, const QString &file, const QString &section, const QString &key,
                          const QString &value)
{
    QStringList lines;
    QString reason;
    if (!readLinesForRewrite(store, file, lines, &reason))
        return SaveResult{false, reason};
    setIniValue(lines, section, key, value);
    return saveLines(store, file, lines);
}

} // namespace corvanta
