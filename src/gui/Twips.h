#pragma once

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace corvanta {

// Twips are 1/1440 inch: 15 to a pixel at 96 dots per inch, scaled by the screen's logical DPI.
inline double twipsPerPixel()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

inline int toPixels(double twips) { return int(std::lround(twips / twipsPerPixel())); }
inline float toTwips(int pixels) { return float(pixels * twipsPerPixel()); }

} // namespace corvanta
