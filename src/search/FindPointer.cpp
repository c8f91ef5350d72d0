#include "search/FindPointer.h"

#include "app/Launcher.h"
#include "app/Operations.h"
#include "app/SharedState.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"

#include <QByteArrayList>

#include <algorithm>

namespace corvanta {

namespace {

// Letter case folded one UTF-16 unit for one, so offsets into the text hold in the result; ASCII
// (nearly all of a pointer file) without a table look-up. Characters beyond the BMP stay as they
// are.
QString foldCase(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    char16_t *to = reinterpret_cast<char16_t *>(out.data());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x80) {
            *to++ = c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
        } else if (ch.isSurrogate()) {
            *to++ = c;
        } else {
            const char32_t folded = QChar::toCaseFolded(char32_t(c));
            *to++ = folded > 0xFFFF ? c : char16_t(folded);
        }
    }
    return out;
}

// Whether ASCII line holds word, an ASCII word already folded, in any letter case.
bool containsFolded(QByteArrayView line, QByteArrayView word)
{
    auto fold = [](char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); };
    const char first = word.front();
    const char other = first >= 'a' && first <= 'z' ? char(first - 32) : first;
    const char *text = line.data();
    const qsizetype last = line.size() - word.size();
    for (qsizetype i = 0; i <= last; ++i) {
        if (text[i] != first && text[i] != other)
            continue;
        qsizetype j = 1;
        while (j < word.size() && fold(text[i + j]) == word[j])
            ++j;
        if (j == word.size())
            return true;
    }
    return false;
}

} // namespace

PointerFinder::PointerFinder(Store &store, const QString &dataFolder)
    : files_(pointerFiles(store, dataFolder)), places_(readPointers(store, files_, blocks_))
{
    // Folded a file at a time: one string per file, not per pointer, at the same offsets.
    folded_.resize(files_.size());
    for (size_t i = 0; i < files_.size(); ++i) {
        if (!files_[i].content.isAscii)
            folded_[i] = foldCase(files_[i].content.text);
    }
    results_.reserve(places_.size());
    setFilter(QString());
}

void PointerFinder::setFilter(const QString &text)
{
    // Typing on narrows: what matches the longer text matched the shorter one, so only the
    // results so far are looked at again.
    const bool narrowing = !filter_.isEmpty() && text.startsWith(filter_);
    filter_ = text;
    QStringList words;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        // A TAB typed into the box separates words as a space does.
        for (const QString &part : word.split(u'\t', Qt::SkipEmptyParts))
            words.append(foldCase(part));
    }
    // The same words for the ASCII files; one that folds to anything else is in none of them.
    QByteArrayList asciiWords;
    bool asciiCanMatch = true;
    for (const QString &word : words) {
        asciiCanMatch = asciiCanMatch && QtPrivate::isAscii(QStringView(word));
        asciiWords.append(word.toLatin1());
    }
    auto matches = [&](const PointerPlace &place) {
        const ListContent &content = place.file->content;
        if (content.isAscii) {
            const QByteArrayView line = QByteArrayView(content.ascii).sliced(place.offset, place.length);
            return asciiCanMatch && std::all_of(asciiWords.cbegin(), asciiWords.cend(),
                [&](const QByteArray &word) { return containsFolded(line, word); });
        }
        const QStringView line =
            QStringView(folded_[size_t(place.file - files_.data())]).sliced(place.offset, place.length);
        return std::all_of(words.cbegin(), words.cend(),
            [&](const QString &word) { return line.contains(word); });
    };
    std::vector<int> candidates;
    if (narrowing)
        candidates.swap(results_);
    results_.clear();
    const size_t count = narrowing ? candidates.size() : places_.size();
    for (size_t n = 0; n < count; ++n) {
        const size_t i = narrowing ? size_t(candidates[n]) : n;
        if (matches(places_[i]))
            results_.push_back(int(i));
    }
    changed(Change::Results);
}

void PointerFinder::openResult(int row)
{
    if (!validRow(row))
        return;
    chosen_ = results_[size_t(row)];
    close();
}

void PointerFinder::launchResult(int row)
{
    if (validRow(row) && onLaunch)
        onLaunch(result(row));
}

void PointerFinder::close()
{
    if (closed_)
        return;
    closed_ = true;
    changed(Change::Close);
}

FindPointer::FindPointer(const FeatureContext &context, FindPointerDisplay &display)
    : c(context), display_(display)
{
    for (const char *name : {"OpenFindPointer", "mnuFindPointer", "entry:Find Pointer"})
        c.operations.add(QString::fromLatin1(name), [this] { OpenFindPointer(); });
}

void FindPointer::OpenFindPointer()
{
    if (open_)
        return; // modal: one at a time
    open_ = true;
    c.ui.setBusy(true);
    PointerFinder finder(c.store, c.state.ProgramFolder);
    c.ui.setBusy(false);
    finder.onLaunch = [this](const PointerPlace &place) { launch(place); };
    display_.showFindPointer(finder);
    open_ = false;
    const PointerPlace *place = finder.chosen();
    if (!place)
        return;
    if (!openPlace(c.navigation, *place))
        c.ui.beep(); // its topic is no longer in the lists
}

void FindPointer::launch(const PointerPlace &place)
{
    const QString target = place.target();
    const LaunchResult launched = Launcher(c.ui, c.platform.shell, c.state).LaunchTarget(target, QStringLiteral("open"));
    // Launching here offers no removal: the place is not on screen, so say what happened.
    if (launched.outcome == LaunchResult::Outcome::NotFound) {
        c.ui.msgBox(QStringLiteral("The File  [") + target + QStringLiteral("]  Was Not Found.")
                + fiveSpaces() + u'\r',
            u' ' + target + QStringLiteral("  Not Found"), MsgBox::OkOnly | MsgBox::Exclamation);
    }
}

} // namespace corvanta
