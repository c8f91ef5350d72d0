#pragma once

#include <QColor>
#include <QIcon>
#include <QPalette>

namespace corvanta {

// Colours and icons taken from the palette, so that light, dark and custom palettes all read.

// amount 0 gives from, 1 gives to.
QColor mixColours(const QColor &from, const QColor &to, double amount);
// The contrast ratio of two colours (1 to 21) by their relative luminance.
double contrastRatio(const QColor &a, const QColor &b);

// A row colour (0xRRGGBB) as a tint of the palette: how far the colour lies from white is how far
// the row leans from the base colour towards the text colour. On white with black text that is
// the colour's own grey.
QColor rowTint(const QPalette &palette, int rgb);

struct SelectionColours {
    QColor background;
    QColor text;
};
// The selection of the list that has the keyboard in the active highlight, of the others in the
// inactive one; where a palette has the two alike, the others get a paler highlight.
SelectionColours selectionColours(const QPalette &palette, bool focused);

// An SVG icon drawn in the application palette's colours each time it is painted: the words
// currentColor (button text), accentColor (highlight) and accentTextColor (highlighted text)
// in the SVG take them.
QIcon paletteIcon(const QString &svgResource);

} // namespace corvanta
