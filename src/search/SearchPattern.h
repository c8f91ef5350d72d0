#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace corvanta {

// A file name or a wildcard pattern ("*" any run of characters, "?" one character), compiled
// once and matched without regard to case against names as the file system stores them
// (UTF-8 bytes). Plain names, "*.ext" and match-everything patterns take a byte-level path;
// only names outside ASCII that the fast path cannot decide are decoded and case-folded.
class SearchPattern
{
public:
    enum class Kind { Everything, Exact, Suffix, General };

    explicit SearchPattern(const QString &pattern);

    bool matches(std::string_view name) const;
    Kind kind() const { return kind_; }

private:
    Kind kind_ = Kind::General;
    bool ascii_ = true; // the pattern holds only ASCII characters
    std::string lower_; // ASCII pattern in lower case; for Suffix only the suffix
    std::u32string folded_; // the whole pattern case-folded, for the slow path

    bool matchesFolded(std::string_view name) const;
};

} // namespace corvanta
