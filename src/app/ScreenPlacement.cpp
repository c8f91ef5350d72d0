#include "app/ScreenPlacement.h"

#include <algorithm>
#include <cmath>

namespace corvanta {

namespace {

float overlap(float a0, float a1, float b0, float b1)
{
    return std::max(0.0f, std::min(a1, b1) - std::max(a0, b0));
}

} // namespace

int landingScreen(const WindowGeometry &g, const ScreenAreas &screens)
{
    int best = screens.empty() ? -1 : 0;
    float bestArea = 0;
    for (size_t i = 0; i < screens.size(); ++i) {
        const TwipsRect &s = screens[i];
        const float area = overlap(g.left, g.left + g.width, s.left, s.left + s.width)
            * overlap(g.top, g.top + g.height, s.top, s.top + s.height);
        if (area > bestArea) {
            bestArea = area;
            best = int(i);
        }
    }
    return best;
}

WindowGeometry fitToScreen(WindowGeometry g, const TwipsRect &screen)
{
    g.width = std::min(g.width, screen.width);
    g.height = std::min(g.height, screen.height);
    g.left = std::clamp(g.left, screen.left, screen.left + screen.width - g.width);
    g.top = std::clamp(g.top, screen.top, screen.top + screen.height - g.height);
    return g;
}

WindowGeometry placeOnScreens(WindowGeometry g, const ScreenAreas &screens, float defaultLeft,
                              float defaultTop)
{
    if (screens.empty())
        return g;
    float left = screens[0].left, top = screens[0].top;
    float right = left + screens[0].width, bottom = top + screens[0].height;
    for (const TwipsRect &s : screens) {
        left = std::min(left, s.left);
        top = std::min(top, s.top);
        right = std::max(right, s.left + s.width);
        bottom = std::max(bottom, s.top + s.height);
    }
    // A size beyond every screen (1e30) would make the positions below meaningless.
    g.width = std::min(g.width, right - left);
    g.height = std::min(g.height, bottom - top);
    if (!std::isfinite(g.left) || g.left >= right || g.left + g.width <= left)
        g.left = defaultLeft;
    if (!std::isfinite(g.top) || g.top >= bottom || g.top + g.height <= top)
        g.top = defaultTop;
    const int screen = landingScreen(g, screens);
    return fitToScreen(g, screens[size_t(screen)]);
}

} // namespace corvanta
