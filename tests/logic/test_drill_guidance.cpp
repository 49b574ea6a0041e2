// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/DrillGuidance.h"

#include <gtest/gtest.h>

namespace {

TEST(DrillGuidance, FingerNumbersGoToTheirHand)
{
    using K = THandCall::Kind;
    struct Case
    {
        int finger;
        K left;
        int leftFinger;
        K right;
        int rightFinger;
    };
    const Case cases[] = {
        {0, K::Set, 1, K::Clear, 0},    {3, K::Set, 4, K::Clear, 0},   {4, K::Set, 5, K::Clear, 0},
        {5, K::Clear, 0, K::Set, 5},    {6, K::Clear, 0, K::Set, 4},   {9, K::Clear, 0, K::Set, 1},
        {10, K::Clear, 0, K::Clear, 0}, {-1, K::Clear, 0, K::Set, 11},
    };
    for (const Case& c : cases) {
        const auto [left, right] = HandCalls(c.finger);
        EXPECT_EQ(left.Action, c.left) << c.finger;
        EXPECT_EQ(right.Action, c.right) << c.finger;
        EXPECT_EQ(left.Finger, c.leftFinger) << c.finger;
        EXPECT_EQ(right.Finger, c.rightFinger) << c.finger;
    }
}

TEST(DrillGuidance, KeyboardCentredBelowTheDrillWithHandsBeside)
{
    const TGuidancePlaces places = PlaceGuidance(100, 50, 600, 230, 500, 63);
    EXPECT_EQ(places.KeyboardLeft, 150);
    EXPECT_EQ(places.KeyboardTop, 290);
    EXPECT_EQ(places.LeftHandLeft, 150 - 63 - 5);
    EXPECT_EQ(places.RightHandLeft, 150 + 500 + 5);
    // A keyboard wider than the drill: the division truncates toward zero.
    EXPECT_EQ(PlaceGuidance(0, 0, 600, 0, 601, 63).KeyboardLeft, 0);
}

TEST(DrillGuidance, EmbeddedKeyboardCentredWithHandsBesideIt)
{
    const TEmbeddedPlaces places = PlaceEmbeddedGuidance(1000, 437, 155, 63, 84);
    EXPECT_EQ(places.KeyboardLeft, (1000 - 437) / 2);
    EXPECT_EQ(places.LeftHandLeft + 63 + 5, places.KeyboardLeft);
    EXPECT_EQ(places.RightHandLeft, places.KeyboardLeft + 437 + 5);
    EXPECT_EQ(places.Height, places.Top + 155 + places.Top);
    // A band too narrow for all three keeps the left hand inside it and
    // asks for the width they need.
    const TEmbeddedPlaces narrow = PlaceEmbeddedGuidance(500, 437, 100, 63, 120);
    EXPECT_GE(narrow.LeftHandLeft, 0);
    EXPECT_EQ(narrow.Height, narrow.Top + 120 + narrow.Top);
    EXPECT_GE(narrow.MinimumWidth, narrow.RightHandLeft + 63);
}

TEST(DrillGuidance, PlacementEmbedsWhereWindowsCannotBePlaced)
{
    struct Case
    {
        const char* platform;
        TScreenRect landed; // where the window placed at (100, 300) landed
        bool embedded;
    };
    const Case cases[] = {
        {"wayland", {}, true},
        {"wayland-egl", {}, true},
        {"xcb", {100, 300, 400, 150}, false},
        {"xcb", {110, 290, 400, 150}, false}, // snapped by a few pixels
        {"xcb", {440, 437, 400, 150}, true},  // put in the middle by the desktop
        {"offscreen", {100, 300, 400, 150}, false},
    };
    for (const Case& c : cases) {
        TGuidancePlacement placement(c.platform);
        if (placement.ChecksLanding()) {
            EXPECT_EQ(placement.Landed({100, 300, 400, 150}, c.landed), c.embedded) << c.platform;
            EXPECT_FALSE(placement.ChecksLanding()) << "checked once a run";
        }
        EXPECT_EQ(placement.Embedded(), c.embedded) << c.platform;
    }
    // Later landings change nothing: the run keeps what the first one told.
    TGuidancePlacement placement("xcb");
    placement.Landed({0, 0, 10, 10}, {0, 0, 10, 10});
    EXPECT_FALSE(placement.Landed({0, 0, 10, 10}, {500, 500, 10, 10}));
    EXPECT_FALSE(placement.Embedded());
}

} // namespace
