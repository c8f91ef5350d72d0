#include "app/ScreenPlacement.h"

#include <gtest/gtest.h>

namespace corvanta::test {
namespace {

// A screen of w x h pixels at a scale factor, in twips (15 to a logical pixel).
TwipsRect screen(float x, float y, float w, float h, float scale = 1)
{
    const float t = 15 / scale;
    return {x * t, y * t, w * t, h * t};
}

TEST(ScreenPlacement, storedGeometryLandsWhollyOnItsScreenAtScaleOneAndTwo)
{
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char *what;
        ScreenAreas screens;
        WindowGeometry stored;
        WindowGeometry placed;
    };
    const Case cases[] = {
        {"on the screen: untouched", {screen(0, 0, 1600, 1200)}, {900, 600, 10250, 6500},
         {900, 600, 10250, 6500}},
        {"stored at scale 1, read at scale 2: pulled back from the right and lower edges",
         {screen(0, 0, 1600, 1200, 2)}, {9000, 6000, 10250, 6500}, {1750, 2500, 10250, 6500}},
        {"larger than the scaled screen: cut to it", {screen(0, 0, 1600, 1200, 2)},
         {0, 0, 19200, 14000}, {0, 0, 12000, 9000}},
        {"a panel at the top: below it", {{0, 600, 24000, 17400}}, {300, 0, 10250, 6500},
         {300, 600, 10250, 6500}},
        {"left beyond every screen: the default", {screen(0, 0, 1600, 1200)},
         {2147483647.0f, 600, 10250, 6500}, {-1, 600, 10250, 6500}},
        {"top beyond every screen: the default", {screen(0, 0, 1600, 1200)},
         {900, 2e9f, 10250, 6500}, {900, -2, 10250, 6500}},
        {"too large for a number: the default and the screen's width", {screen(0, 0, 1600, 1200)},
         {inf, inf, 1e30f, 6500}, {0, -2, 24000, 6500}},
        {"on the second of two screens: stays there", {screen(0, 0, 1600, 1200), screen(1600, 0, 1280, 1024)},
         {30000, 900, 10250, 6500}, {30000, 900, 10250, 6500}},
        {"hanging off the second screen's foot: moved up on it",
         {screen(0, 0, 1600, 1200), screen(1600, 0, 1280, 1024)}, {30000, 12000, 10250, 6500},
         {30000, 15360 - 6500, 10250, 6500}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        WindowGeometry expected = c.placed;
        // -1 and -2 stand for the default left and top handed in.
        if (expected.left == -1)
            expected.left = 4321;
        if (expected.top == -2)
            expected.top = 1234;
        EXPECT_EQ(placeOnScreens(c.stored, c.screens, 4321, 1234), expected);
    }
}

TEST(ScreenPlacement, theScreenOverlappedMostIsTheOneLandedOn)
{
    const ScreenAreas two = {screen(0, 0, 1600, 1200), screen(1600, 0, 1600, 1200)};
    EXPECT_EQ(landingScreen({20000, 0, 10000, 5000}, two), 1); // 4000 on the first, 6000 on the second
    EXPECT_EQ(landingScreen({18000, 0, 10000, 5000}, two), 0);
    EXPECT_EQ(landingScreen({-90000, -90000, 100, 100}, two), 0); // nowhere: the primary
    EXPECT_EQ(landingScreen({0, 0, 100, 100}, {}), -1);
}

} // namespace
} // namespace corvanta::test
