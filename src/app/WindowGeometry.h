#pragma once

namespace corvanta {

// Outer window position and size in twips, held as single-precision numbers like every stored
// geometry value.
struct WindowGeometry {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool operator==(const WindowGeometry &) const = default;
};

enum class WindowState { Normal, Minimised, Maximised };

} // namespace corvanta
