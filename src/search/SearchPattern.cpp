#include "search/SearchPattern.h"

#include <QList>

#include <algorithm>

namespace corvanta {

namespace {

constexpr char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool isAscii(std::string_view s)
{
    return std::all_of(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
}

// Greedy wildcard match with backtracking to the last star: linear for the common patterns.
template<typename Char, typename Fold>
bool wildcardMatch(const Char *p, size_t pn, const Char *s, size_t sn, Fold fold)
{
    size_t pi = 0, si = 0;
    size_t starP = size_t(-1), starS = 0;
    while (si < sn) {
        if (pi < pn && p[pi] == Char('*')) {
            starP = pi++;
            starS = si;
        } else if (pi < pn && (p[pi] == Char('?') || p[pi] == fold(s[si]))) {
            ++pi;
            ++si;
        } else if (starP != size_t(-1)) {
            pi = starP + 1;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < pn && p[pi] == Char('*'))
        ++pi;
    return pi == pn;
}

std::u32string foldedCodePoints(const QString &text)
{
    const QList<uint> ucs4 = text.toCaseFolded().toUcs4();
    return std::u32string(ucs4.begin(), ucs4.end());
}

} // namespace

SearchPattern::SearchPattern(const QString &pattern)
{
    folded_ = foldedCodePoints(pattern);
    const QByteArray utf8 = pattern.toUtf8();
    ascii_ = isAscii(std::string_view(utf8.constData(), size_t(utf8.size())));
    const bool wild = pattern.contains(u'*') || pattern.contains(u'?');
    // "*.*" means every file, as users of file-search tools expect, dotless names included.
    if (pattern == u"*" || pattern == u"*.*") {
        kind_ = Kind::Everything;
    } else if (!wild) {
        kind_ = Kind::Exact;
    } else if (pattern.startsWith(u'*') && pattern.size() > 1 && !pattern.mid(1).contains(u'*')
        && !pattern.contains(u'?')) {
        kind_ = Kind::Suffix;
    }
    if (ascii_) {
        const QByteArray text = kind_ == Kind::Suffix ? utf8.mid(1) : utf8;
        lower_.reserve(size_t(text.size()));
        for (char c : text)
            lower_.push_back(asciiLower(c));
    }
}

bool SearchPattern::matches(std::string_view name) const
{
    switch (kind_) {
    case Kind::Everything:
        return true;
    case Kind::Exact:
        if (ascii_ && name.size() == lower_.size()
            && std::equal(name.begin(), name.end(), lower_.begin(),
                [](char a, char b) { return asciiLower(a) == b; }))
            return true;
        break;
    case Kind::Suffix:
        if (ascii_ && name.size() >= lower_.size()
            && std::equal(name.end() - std::ptrdiff_t(lower_.size()), name.end(), lower_.begin(),
                [](char a, char b) { return asciiLower(a) == b; }))
            return true;
        break;
    case Kind::General:
        if (ascii_ && isAscii(name))
            return wildcardMatch(
                lower_.data(), lower_.size(), name.data(), name.size(), asciiLower);
        break;
    }
    // An ASCII pattern decides an ASCII name on its own; anything else needs Unicode folding.
    if (ascii_ && isAscii(name))
        return false;
    return matchesFolded(name);
}

bool SearchPattern::matchesFolded(std::string_view name) const
{
    const std::u32string folded =
        foldedCodePoints(QString::fromUtf8(name.data(), qsizetype(name.size())));
    return wildcardMatch(
        folded_.data(), folded_.size(), folded.data(), folded.size(), [](char32_t c) { return c; });
}

} // namespace corvanta
