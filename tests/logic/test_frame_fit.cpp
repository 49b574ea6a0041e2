// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FrameFit.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameFit, TheWholeWindowLiesInTheArea)
{
    const TScreenRect screen{0, 0, 1280, 1024};
    const TFrameMargins openbox{1, 20, 1, 5};
    struct Case
    {
        const char* what;
        TScreenRect area;
        TFrameMargins frame;
        TScreenRect whole;
        TScreenRect inside;
    };
    const Case cases[] = {
        {"the whole screen", screen, openbox, {0, 0, 1280, 1024}, {1, 20, 1278, 999}},
        {"no frame", screen, {}, {0, 0, 1280, 1024}, {0, 0, 1280, 1024}},
        {"a window that fits stays", screen, openbox, {100, 50, 600, 255}, {101, 70, 598, 230}},
        {"as wide as the screen, one pixel in",
         screen,
         openbox,
         {1, 1, 1280, 999},
         {1, 21, 1278, 974}},
        {"wider and taller than the screen",
         screen,
         openbox,
         {-30, -40, 2000, 1500},
         {1, 20, 1278, 999}},
        {"title bar above the top edge",
         screen,
         openbox,
         {200, -10, 400, 300},
         {201, 20, 398, 275}},
        {"off the bottom right corner",
         screen,
         openbox,
         {1100, 900, 400, 300},
         {881, 744, 398, 275}},
        {"off the left edge", screen, openbox, {-50, 300, 400, 300}, {1, 320, 398, 275}},
        {"an area below a panel",
         {0, 30, 1280, 994},
         openbox,
         {0, 0, 1280, 1024},
         {1, 50, 1278, 969}},
        {"an area on a second screen",
         {1280, 0, 1024, 768},
         openbox,
         {1280, 0, 1024, 768},
         {1281, 20, 1022, 743}},
        {"a frame larger than the area",
         {0, 0, 10, 10},
         {8, 8, 8, 8},
         {0, 0, 10, 10},
         {8, 8, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitFramed(c.area, c.frame, c.whole), c.inside) << c.what;
}

} // namespace
