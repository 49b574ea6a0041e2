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

} // namespace
