// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/DrillGuidance.h"

#include <algorithm>
#include <cstdlib>

std::pair<THandCall, THandCall> HandCalls(int f)
{
    constexpr THandCall clear{THandCall::Clear, 0};
    if (f >= 0 && f <= 4)
        return {{THandCall::Set, f + 1}, clear};
    if (f > 9)
        return {clear, clear};
    // 5 to 9 counts from the right thumb outward; a negative number gives a
    // right-hand finger above 5, which the window ignores.
    return {clear, {THandCall::Set, 10 - f}};
}

TGuidancePlaces PlaceGuidance(int drillLeft, int drillTop, int drillWidth, int drillHeight,
                              int keyboardWidth, int leftHandWidth)
{
    TGuidancePlaces places{};
    places.KeyboardTop = drillTop + drillHeight + 10;
    places.KeyboardLeft = drillLeft + (drillWidth - keyboardWidth) / 2;
    places.LeftHandLeft = places.KeyboardLeft - leftHandWidth - 5;
    places.RightHandLeft = places.KeyboardLeft + keyboardWidth + 5;
    return places;
}

namespace {

// Space between the band's edges and what it holds, and between the
// keyboard and a hand.
constexpr int BandMargin = 10;
constexpr int HandGap = 5;
// A window manager may move a window by a few pixels to snap it to an edge;
// one that places windows itself moves them much further.
constexpr int LandingTolerance = 16;

} // namespace

TEmbeddedPlaces PlaceEmbeddedGuidance(int bandWidth, int keyboardWidth, int keyboardHeight,
                                      int handWidth, int handHeight)
{
    TEmbeddedPlaces places{};
    places.MinimumWidth = keyboardWidth + 2 * (handWidth + HandGap + BandMargin);
    places.KeyboardLeft =
        std::max((bandWidth - keyboardWidth) / 2, BandMargin + handWidth + HandGap);
    places.LeftHandLeft = places.KeyboardLeft - handWidth - HandGap;
    places.RightHandLeft = places.KeyboardLeft + keyboardWidth + HandGap;
    places.Top = BandMargin;
    places.Height = std::max(keyboardHeight, handHeight) + 2 * BandMargin;
    return places;
}

TGuidancePlacement::TGuidancePlacement(std::string_view platformName)
    : embedded_(platformName.substr(0, 7) == "wayland")
{}

bool TGuidancePlacement::Landed(const TScreenRect& placed, const TScreenRect& actual)
{
    if (!ChecksLanding())
        return false;
    checked_ = true;
    embedded_ = std::abs(placed.Left - actual.Left) > LandingTolerance ||
                std::abs(placed.Top - actual.Top) > LandingTolerance;
    return embedded_;
}
