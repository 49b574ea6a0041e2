// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Colors.h"

// Per channel: from + ((to - from) / maximum) * position, the division
// truncated before the multiplication. A maximum of 0 or less gives from.
TColor BlendColor(TColor from, TColor to, int position, int maximum);

// The three bars above the play field, 0..100 each, and the colours of two.
struct TGameBars
{
    int TotalLeft = 0; // share of the quota played
    int HitLost = 100; // share of the quota not yet shot
    int CityLife = 100;
    TColor HitLostColor = 0;
    TColor CityLifeColor = 0;

    bool operator==(const TGameBars&) const = default;
};

constexpr TColor BarLowColor = clRed;
constexpr TColor CityBarHighColor = RGBColor(0, 255, 0);
constexpr TColor HitLostBarHighColor = RGBColor(0, 255, 255);

// The bars after a status change. A city built without a brick shows 0, and
// so does a share of a quota of 0.
TGameBars GameBars(int quota, int totalBricks, int bricksLeft, int hits, int lost);
