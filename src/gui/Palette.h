#pragma once

#include <QColor>
#include <QIcon>
#include <QIconEngine>
#include <QPalette>

class QWidget;

namespace corvanta {

// Colours and icons taken from the palette, so that light, dark and custom palettes all read.

// An icon engine that paints every size it is asked for, so icons stay sharp at any scale.
class PaintedIconEngine : public QIconEngine
{
public:
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }
};

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

// The outline that marks the current row of the list with the keyboard, drawn over a row painted
// behind: the palette's highlight, text or highlighted-text colour, the first that stands out from
// it by 3:1, else black or white (one of them always does).
QColor focusMarkColour(const QPalette &palette, const QColor &behind);

// wanted where it stands out from behind by ratio, else moved towards fallback until it does.
QColor readableColour(const QColor &wanted, const QColor &fallback, const QColor &behind, double ratio);

// An SVG icon drawn in the palette's colours each time it is painted: the words currentColor
// (button text), accentColor (highlight) and accentTextColor (highlighted text) in the SVG take
// them. The palette is source's while it lives (a style sheet's colours are in it), else the
// application's.
QIcon paletteIcon(const QString &svgResource, const QWidget *source = nullptr);

} // namespace corvanta
