#pragma once

#include <QString>

namespace corvanta {

// A font as the lists keep it and the font dialog shows it: face name, size in points, bold,
// italic.
struct FontSpec {
    QString name;
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool operator==(const FontSpec &) const = default;
};

// The desktop's font dialog.
class FontDialog
{
public:
    virtual ~FontDialog() = default;
    // Shows the dialog modally, opened on font. False when the user cancelled; otherwise font
    // holds the user's choice.
    virtual bool chooseFont(FontSpec &font) = 0;
};

} // namespace corvanta
