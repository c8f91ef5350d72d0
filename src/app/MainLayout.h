#pragma once

namespace corvanta {

struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// Where the main window's controls sit for an outer window size W x H (twips): the three lists
// share the width in thirds and follow the height.
struct MainLayout {
    static constexpr float MinHeight = 6500;
    static constexpr float MinWidth = 10250;

    TwipsRect lists[3];   // Project, Topic, File List
    TwipsRect labels[3];  // their captions
    float optOpenLeft = 0;
    float optPrintLeft = 0;
    float lineRight = 0;

    static MainLayout compute(float width, float height);
};

} // namespace corvanta
