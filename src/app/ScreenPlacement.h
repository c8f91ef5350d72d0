#pragma once

#include "app/MainLayout.h"
#include "app/WindowGeometry.h"

#include <vector>

namespace corvanta {

// The screens a window may stand on: each screen's available area (without panels and docks)
// in twips, in the desktop's coordinates, the primary screen first.
using ScreenAreas = std::vector<TwipsRect>;

// The screen a window lands on: the one it overlaps most; a window that touches none lands on
// the first. -1 when there are no screens.
int landingScreen(const WindowGeometry &g, const ScreenAreas &screens);

// No larger than the screen, then moved inside it.
WindowGeometry fitToScreen(WindowGeometry g, const TwipsRect &screen);

// A stored geometry put on the screens: a left or top that lies beyond every screen (a hand-
// edited 2147483647, say) gives way to the default one, then the window is fitted to the screen
// it lands on. Without screens the geometry stays as it is.
WindowGeometry placeOnScreens(WindowGeometry g, const ScreenAreas &screens, float defaultLeft,
                              float defaultTop);

} // namespace corvanta
