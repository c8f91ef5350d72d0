#include "store/ListFiles.h"

#include "store/FileFingerprint.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/ListControl.h"
#include "store/NameRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringView>
#include <QtEndian>

#include <bit>
#include <cstring>

namespace corvanta {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; its five unassigned bytes map to the C1
// controls of the same value, as the Windows converter does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeCp1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b <= 0x9F) ? kCp1252High[b - 0x80] : char16_t(b);
    }
    return text;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    auto inRange = [&](qsizetype at, unsigned char lo, unsigned char hi) {
        return at < n && p[at] >= lo && p[at] <= hi;
    };
    qsizetype i = 0;
    while (i < n) {
        // Most list text is ASCII: step over it eight bytes at a time.
        while (i + 8 <= n) {
            quint64 word;
            std::memcpy(&word, p + i, 8);
            if (word & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
        } else if (b < 0xC2) {
            return false;
        } else if (b < 0xE0) {
            if (!inRange(i + 1, 0x80, 0xBF))
                return false;
            i += 2;
        } else if (b < 0xF0) {
            const unsigned char lo = b == 0xE0 ? 0xA0 : 0x80;
            const unsigned char hi = b == 0xED ? 0x9F : 0xBF;
            if (!inRange(i + 1, lo, hi) || !inRange(i + 2, 0x80, 0xBF))
                return false;
            i += 3;
        } else if (b < 0xF5) {
            const unsigned char lo = b == 0xF0 ? 0x90 : 0x80;
            const unsigned char hi = b == 0xF4 ? 0x8F : 0xBF;
            if (!inRange(i + 1, lo, hi) || !inRange(i + 2, 0x80, 0xBF) || !inRange(i + 3, 0x80, 0xBF))
                return false;
            i += 4;
        } else {
            return false;
        }
    }
    return true;
}

// Branch-free, so the compiler may take many bytes a step.
bool isAscii(QByteArrayView bytes)
{
    unsigned char seen = 0;
    for (const char c : bytes)
        seen |= static_cast<unsigned char>(c);
    return seen < 0x80;
}

QByteArrayView withoutBom(QByteArrayView bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
}

const char16_t *unitsOf(QStringView text) { return text.utf16(); }
const char *unitsOf(QByteArrayView text) { return text.data(); }

// The first CR or LF of text at or after from; text.size() when there is none.
qsizetype nextLineEnd(QStringView text, qsizetype from)
{
    const char16_t *data = text.utf16();
    while (from < text.size() && data[from] != u'\n' && data[from] != u'\r')
        ++from;
    return from;
}

// The same for bytes, eight at a time: a file read into a list is scanned whole, and a line of
// megabytes byte by byte would cost more than reading it. A byte equal to b turns to zero in
// word ^ b...b, and the lowest byte the zero test flags is always a real zero.
qsizetype nextLineEnd(QByteArrayView text, qsizetype from)
{
    constexpr quint64 ones = 0x0101010101010101ULL;
    constexpr quint64 highs = 0x8080808080808080ULL;
    auto zeroBytes = [](quint64 x) { return (x - ones) & ~x & highs; };
    const char *data = text.data();
    const qsizetype size = text.size();
    for (; from + 8 <= size; from += 8) {
        const quint64 word = qFromLittleEndian<quint64>(data + from); // byte 0 lowest
        if (const quint64 ends = zeroBytes(word ^ (ones * '\n')) | zeroBytes(word ^ (ones * '\r')))
            return from + std::countr_zero(ends) / 8;
    }
    while (from < size && data[from] != '\n' && data[from] != '\r')
        ++from;
    return from;
}

// Calls f with every line of text, without the line ends; a final line end adds no empty line.
// CR, LF and space are the same single bytes in UTF-8 and Windows-1252, so raw bytes split alike.
template <typename View, typename F>
void forEachLine(View text, F &&f)
{
    const auto *data = unitsOf(text);
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype end; (end = nextLineEnd(text, start)) < size;) {
        f(text.sliced(start, end - start));
        start = end + (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? 2 : 1);
    }
    if (start < size)
        f(text.sliced(start));
}

// Only spaces carry no meaning in a list line: a TAB at either end is a column boundary (an empty
// display name or target) and must survive.
template <typename View>
View trimSpaces(View line)
{
    const auto *data = unitsOf(line);
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && data[begin] == ' ')
        ++begin;
    while (end > begin && data[end - 1] == ' ')
        --end;
    return line.sliced(begin, end - begin);
}

enum class Record { Yes, No };

// A read for a list shown is recorded, so a later save can tell whether the file changed since.
bool readBytes(Store &store, const QString &path, QByteArray &bytes, Record record = Record::Yes, QString *notRead = nullptr)
{
    const ReadOutcome outcome = readOwnFile(store, path, bytes, notRead);
    if (record == Record::Yes && outcome == ReadOutcome::Missing)
        store.recordMissing(path);
    if (outcome != ReadOutcome::Read)
        return false;
    if (record == Record::Yes)
        store.record(path, bytes);
    return true;
}

// QString::fromUtf8 drops a byte-order mark at the start; past the file's first bytes one is text
// like any other (files joined together) and stays.
QString fromUtf8KeepingBom(QByteArrayView text)
{
    qsizetype marks = 0;
    while (text.sliced(marks * 3).startsWith("\xEF\xBB\xBF"))
        ++marks;
    const QString rest = QString::fromUtf8(text.sliced(marks * 3));
    return marks == 0 ? rest : QString(marks, QChar(0xFEFF)) + rest;
}

QString decodeLine(QByteArrayView line)
{
    return isValidUtf8(line) ? fromUtf8KeepingBom(line) : decodeCp1252(line);
}

// Adds the file's lines as rows, each trimmed or not; lines then empty are skipped. Each line is
// decoded on its own, so no decoded copy of the whole file is ever held.
int addRows(Store &store, const QString &path, ListControl &list, bool trim, const std::function<void()> &yield,
            QString *notRead = nullptr)
{
    QByteArray bytes;
    QString reason;
    if (!readBytes(store, path, bytes, Record::Yes, &reason)) {
        if (notRead)
            *notRead = reason; // empty for a missing file
        return 0;
    }
    if (bytes.isEmpty())
        return 0;
    const QByteArrayView text = withoutBom(bytes);
    // Nearly every list is ASCII: one pass over the file tells, and its lines then need neither
    // the check nor the decoder line by line.
    const bool ascii = isAscii(text);

    const bool redrawWas = list.redraw();
    list.setRedraw(false);
    int added = 0;
    forEachLine(text, [&](QByteArrayView line) {
        if (trim)
            line = trimSpaces(line);
        if (line.isEmpty())
            return;
        list.addRow(ascii ? QString::fromLatin1(line) : decodeLine(line));
        if (++added % 1000 == 0 && yield)
            yield();
    });
    list.setRedraw(redrawWas);
    return added;
}

SaveResult failure(const QString &reason)
{
    return SaveResult{false, reason};
}

} // namespace

QString decodeListText(const QByteArray &bytes)
{
    const QByteArrayView text = withoutBom(bytes);
    if (isValidUtf8(text))
        return fromUtf8KeepingBom(text);
    // Line by line, keeping the line ends as they are.
    QString decoded;
    decoded.reserve(text.size());
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\n' && text[i] != '\r')
            continue;
        decoded += decodeLine(text.sliced(start, i - start));
        if (i < text.size())
            decoded += QChar(QLatin1Char(text[i]));
        start = i + 1;
    }
    return decoded;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    forEachLine(QStringView(text), [&](QStringView line) { lines.append(line.toString()); });
    return lines;
}

QString trimSpaces(const QString &line)
{
    return trimSpaces(QStringView(line)).toString();
}

ListContent readListContent(Store &store, const QString &path)
{
    ListContent content;
    QByteArray bytes;
    if (!readBytes(store, path, bytes, Record::No))
        return content;
    if (isAscii(bytes)) {
        content.ascii = std::move(bytes);
    } else {
        content.isAscii = false;
        content.text = decodeListText(bytes);
    }
    return content;
}

void forEachRecord(QStringView text, const std::function<void(QStringView)> &f)
{
    forEachLine(text, [&](QStringView line) {
        line = trimSpaces(line);
        if (!line.isEmpty())
            f(line);
    });
}

void forEachRecord(QByteArrayView text, const std::function<void(QByteArrayView)> &f)
{
    forEachLine(text, [&](QByteArrayView line) {
        line = trimSpaces(line);
        if (!line.isEmpty())
            f(line);
    });
}

QStringList readLines(Store &store, const QString &path)
{
    QByteArray bytes;
    if (!readBytes(store, path, bytes))
        return {};
    return splitLines(decodeListText(bytes));
}

bool readLinesForRewrite(Store &store, const QString &path, QStringList &lines, QString *reason)
{
    QByteArray bytes;
    const ReadOutcome outcome =
        store.isMarkedUnreadable(path) ? ReadOutcome::Unreadable : readOwnFile(store, path, bytes);
    if (outcome == ReadOutcome::Unreadable) {
        if (reason)
            *reason = unreadableFileReason();
        return false;
    }
    if (outcome == ReadOutcome::Missing)
        store.recordMissing(path);
    else
        store.record(path, bytes);
    lines = splitLines(decodeListText(bytes));
    return true;
}

SaveResult saveLines(Store &store, const QString &path, const QStringList &lines)
{
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    QString text;
    text.reserve(size + 1);
    // The reader drops one byte-order mark at the start: a first line that begins with one
    // keeps it only behind another.
    if (!lines.isEmpty() && lines.first().startsWith(QChar(0xFEFF)))
        text += QChar(0xFEFF);
    for (const QString &line : lines) {
        text += line;
        text += u"\r\n";
    }
    return saveListBytes(store, path, text.toUtf8());
}

SaveResult saveListBytes(Store &store, const QString &path, const QByteArray &bytes)
{
    // Checked first so that a changed file costs no write; the save checks again what it really
    // replaced, closing the moment between this check and the swap.
    const SaveResult changed{false, listChangedTitle().trimmed(), true};
    if (!store.unchanged(path))
        return changed;
    const SaveResult result =
        saveOwnFile(store, path, bytes, [&](const QString &replaced) { return store.matchesRecord(path, replaced); });
    if (result)
        store.record(path, bytes);
    return result.changedOnDisk && result.reason.isEmpty() ? changed : result;
}

QString fileNotSavedTitle()
{
    return QStringLiteral(" File Not Saved");
}

QString fileNotSavedText(const QString &path, const QString &reason)
{
    return QStringLiteral("The File  [") + userText(path) + QStringLiteral("]  Could Not Be Saved.     \r")
           + reason + QStringLiteral("\r");
}

QString fileNotReadTitle() { return QStringLiteral(" File Not Read"); }

QString fileNotReadText(const QString &path, const QString &reason)
{
    return QStringLiteral("The File  [") + userText(path) + QStringLiteral("]  Could Not Be Read.     \r")
           + reason + QStringLiteral("\r");
}

QString listChangedTitle()
{
    return QStringLiteral(" List Changed On Disk");
}

QString listChangedText(const QString &path)
{
    return QStringLiteral("The File  [") + path
           + QStringLiteral("]  Was Changed By Another Program.     \r"
                            "Your Change Was Not Saved; The List Now Shows The File As It Is.\r"
                            "Please Make Your Change Again.\r");
}

bool reportSaveFailure(Store &store, Ui &ui, const QString &path, const SaveResult &result)
{
    if (result.ok)
        return true;
    if (!result.changedOnDisk) {
        ui.msgBox(fileNotSavedText(path, result.reason), fileNotSavedTitle(),
                  MsgBox::OkOnly | MsgBox::Exclamation);
        return false;
    }
    ui.msgBox(listChangedText(path), listChangedTitle(), MsgBox::OkOnly | MsgBox::Exclamation);
    if (FileChangeListener *listener = store.listener())
        listener->listFileChangedOnDisk(path);
    return false;
}

bool ensureFileExists(Store &store, const QString &path)
{
    if (!QFileInfo::exists(path)) {
        // NewOnly: a file that appeared meanwhile is left alone, never truncated.
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            file.close();
            store.record(path, {});
        }
    }
    return QFileInfo(path).isFile();
}

int readNameList(Store &store, const QString &path, ListControl &list, const std::function<void()> &yield)
{
    return addRows(store, path, list, true, yield);
}

int readPointerListTrimmed(Store &store, const QString &path, ListControl &list, QString *notRead)
{
    return addRows(store, path, list, true, {}, notRead);
}

int readPointerList(Store &store, const QString &path, ListControl &list)
{
    return addRows(store, path, list, false, {});
}

SaveResult writeNameList(Store &store, const QString &path, const ListControl &list)
{
    QStringList lines;
    for (int row = 0; row < list.ListCount(); ++row) {
        const QString text = list.rowText(row);
        const QStringView name = trimSpaces(QStringView(text));
        if (!name.isEmpty() && !isProjectRow(text))
            lines.append(name.toString());
    }
    return saveLines(store, path, lines);
}

QStringList rowTexts(const ListControl &list)
{
    QStringList rows;
    rows.reserve(list.ListCount());
    for (int row = 0; row < list.ListCount(); ++row)
        rows.append(list.rowText(row));
    return rows;
}

SaveResult writePointerList(Store &store, const QString &path, const ListControl &list)
{
    return writePointerList(store, path, rowTexts(list));
}

SaveResult writePointerList(Store &store, const QString &path, const QStringList &rows)
{
    QStringList lines;
    lines.reserve(rows.size());
    for (const QString &text : rows) {
        const QStringView record = trimSpaces(QStringView(text));
        if (!record.isEmpty())
            lines.append(record.toString());
    }
    return saveLines(store, path, lines);
}

SaveResult appendName(Store &store, const QString &path, const QString &name)
{
    QStringList lines;
    QString reason;
    if (!readLinesForRewrite(store, path, lines, &reason))
        return failure(reason);
    lines.append(name);
    return saveLines(store, path, lines);
}

SaveResult editPointerList(Store &store, const QString &path, const QStringList &removed, const QStringList &added,
    const QString &addBefore)
{
    QByteArray bytes;
    QString reason;
    if (store.isMarkedUnreadable(path))
        return failure(unreadableFileReason());
    if (readRegularFile(path, bytes, &reason) == ReadOutcome::Unreadable)
        return failure(reason);
    QStringList lines = splitLines(decodeListText(bytes));
    QHash<QString, int> taking;
    for (const QString &record : removed)
        ++taking[trimSpaces(record)];
    QStringList kept;
    kept.reserve(lines.size());
    for (QString &line : lines) {
        const auto it = taking.find(trimSpaces(line));
        if (it != taking.end() && it.value() > 0)
            --it.value();
        else
            kept.append(std::move(line));
    }
    qsizetype at = kept.size();
    const QString before = trimSpaces(addBefore);
    if (!before.isEmpty()) {
        for (qsizetype i = 0; i < kept.size(); ++i) {
            if (trimSpaces(QStringView(kept[i])) == before) {
                at = i;
                break;
            }
        }
    }
    return saveLines(store, path, kept.first(at) + added + kept.sliced(at));
}

} // namespace corvanta
