#pragma once

#include "support/FakeUi.h"
#include "support/TempFolder.h"

#include <map>
#include <source_location>
#include <string>

namespace corvanta::test {

// A data folder written as data. Each entry is "relative/path: row, row, ..." and lays down one
// file, each row ending in CRLF as the program writes it; "Name -> target" is a row of a pointer
// list (name TAB target); "path:" alone is an empty file and "path/" a folder. "path:= bytes"
// writes the bytes exactly, with no row ends added. Rows are trimmed of spaces; escapes give
// everything else: \t TAB, \s space, \r CR, \n LF, \, comma, \- a hyphen (so "\->" is no arrow),
// \\ backslash, \xHH any byte. An empty row (", ,") is a blank line.
//   layDown(data.path(), {"Project.List: Alpha, Beta", "Projects/Alpha/Alpha.List: Plans",
//                         "Projects/Alpha/Plans.Files: Deed -> /tmp/deed.pdf"});
using Description = std::initializer_list<const char *>;

namespace built {

inline QByteArray unescape(const std::string &text)
{
    QByteArray out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (const char c = text[++i]) {
        case 't': out += '\t'; break;
        case 's': out += ' '; break;
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        case 'x': out += char(std::stoi(text.substr(i + 1, 2), nullptr, 16)); i += 2; break;
        default: out += c; break; // \, \- \\ and any other character stand for themselves
        }
    }
    return out;
}

inline std::string trimmed(const std::string &s)
{
    const size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// One row: "Name -> target" becomes name TAB target; escapes decoded in each half.
inline QByteArray row(const std::string &text)
{
    for (size_t i = 0; i + 3 < text.size(); ++i) {
        if (text[i] == '\\') { ++i; continue; }
        if (text.compare(i, 4, " -> ") == 0)
            return unescape(trimmed(text.substr(0, i))) + '\t' + unescape(trimmed(text.substr(i + 4)));
    }
    return unescape(trimmed(text));
}

// The rows of a file's description, each ending in CRLF.
inline QByteArray rows(const std::string &text)
{
    if (trimmed(text).empty())
        return {};
    QByteArray out;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] == '\\') { ++i; continue; }
        if (i == text.size() || text[i] == ',') {
            out += row(text.substr(start, i - start)) + "\r\n";
            start = i + 1;
        }
    }
    return out;
}

// "path: rows" or "path:= bytes" split into the path and the file's bytes.
inline std::pair<QString, QByteArray> entry(const std::string &text)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos)
        return {QString::fromStdString(trimmed(text)), {}};
    const QString path = QString::fromStdString(trimmed(text.substr(0, colon)));
    if (text.compare(colon, 2, ":=") == 0)
        return {path, unescape(trimmed(text.substr(colon + 2)))};
    return {path, rows(text.substr(colon + 1))};
}

// Bytes made readable: TAB, CR, LF and anything outside printable ASCII shown escaped.
inline std::string shown(const QByteArray &bytes)
{
    std::string out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\t') out += "\\t";
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (u < 0x20 || u >= 0x7f) { char hex[5]; std::snprintf(hex, sizeof hex, "\\x%02x", u); out += hex; }
        else out += c;
    }
    return out;
}

// Two files' bytes side by side, made readable.
inline std::string diff(const QByteArray &expected, const QByteArray &actual)
{
    return "  expected: " + shown(expected) + "\n     found: " + shown(actual) + '\n';
}

} // namespace built

// Lays the described files and folders down under folder, over whatever is there.
inline void layDown(const QString &folder, Description description)
{
    for (const char *text : description) {
        const auto [relative, bytes] = built::entry(text);
        const QString path = folder + u'/' + relative;
        if (relative.endsWith(u'/')) {
            EXPECT_TRUE(QDir().mkpath(path)) << path.toStdString();
            continue;
        }
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeBytes(path, bytes);
    }
}

// Every file under folder with its bytes, by relative path (folders end in '/').
inline std::map<QString, QByteArray> snapshot(const QString &folder)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(folder.size() + 1);
        files[QFileInfo(path).isDir() && !QFileInfo(path).isSymLink() ? relative + u'/' : relative] =
            QFileInfo(path).isDir() ? QByteArray() : bytesOf(path);
    }
    return files;
}

// The folder holds exactly the described files and folders (the folders along a file's path
// count as described), with their bytes.
inline void expectFolder(const QString &folder, Description description,
                         std::source_location where = std::source_location::current())
{
    std::map<QString, QByteArray> expected;
    for (const char *text : description) {
        auto [relative, bytes] = built::entry(text);
        expected[relative] = bytes;
        for (qsizetype slash = relative.indexOf(u'/'); slash > 0 && slash + 1 < relative.size();
             slash = relative.indexOf(u'/', slash + 1))
            expected.try_emplace(relative.left(slash + 1));
    }
    const auto actual = snapshot(folder);
    std::string failure;
    for (const auto &[path, bytes] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end())
            failure += "missing: " + path.toStdString() + '\n';
        else if (found->second != bytes)
            failure += path.toStdString() + " differs:\n" + built::diff(bytes, found->second);
    }
    for (const auto &[path, bytes] : actual)
        if (!expected.count(path))
            failure += "unexpected: " + path.toStdString() + '\n';
    if (!failure.empty())
        ADD_FAILURE_AT(where.file_name(), int(where.line())) << failure;
}

// An expected message box as one row: its title, its text (empty: any text; a text ending in
// "..." : one starting so) and the answer the user gives (0: none scripted, the default button).
struct Box {
    QString title;
    QString text;
    int answer = 0;
};

// The boxes shown were exactly these, in this order.
inline ::testing::AssertionResult boxesShown(const FakeUi &ui, std::initializer_list<Box> boxes)
{
    auto failure = ::testing::AssertionFailure();
    bool same = ui.boxes.size() == boxes.size();
    size_t i = 0;
    for (const Box &box : boxes) {
        const ShownBox *seen = i < ui.boxes.size() ? &ui.boxes[i] : nullptr;
        const bool prefix = box.text.endsWith(QStringLiteral("..."));
        const bool textOk = seen && (box.text.isEmpty() || seen->text == box.text
                                     || (prefix && seen->text.startsWith(box.text.chopped(3))));
        if (!seen || seen->title != box.title || !textOk) {
            same = false;
            failure << "box " << i << ": expected [" << box.title.toStdString() << "] "
                    << built::shown(box.text.toUtf8()) << "\n       shown ["
                    << (seen ? seen->title.toStdString() + "] " + built::shown(seen->text.toUtf8()) : "none]") << '\n';
        }
        ++i;
    }
    for (; i < ui.boxes.size(); ++i)
        failure << "box " << i << " not expected: [" << ui.boxes[i].title.toStdString() << "] "
                << built::shown(ui.boxes[i].text.toUtf8()) << '\n';
    return same ? ::testing::AssertionSuccess() : failure;
}

inline void expectBoxes(const FakeUi &ui, std::initializer_list<Box> boxes,
                        std::source_location where = std::source_location::current())
{
    if (auto held = boxesShown(ui, boxes); !held)
        ADD_FAILURE_AT(where.file_name(), int(where.line())) << held.message();
}

} // namespace corvanta::test
