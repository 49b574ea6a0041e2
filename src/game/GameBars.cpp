// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/GameBars.h"

#include <algorithm>

namespace {

// A position beyond the range stays at the nearer end colour's limits
// instead of wrapping round into another colour.
int Blend(int from, int to, int position, int maximum)
{
    return std::clamp(from + ((to - from) / maximum) * position, 0, 255);
}

int Percent(int part, int whole)
{
    return whole > 0 ? static_cast<int>(static_cast<long long>(part) * 100 / whole) : 0;
}

} // namespace

TColor BlendColor(TColor from, TColor to, int position, int maximum)
{
    if (maximum <= 0)
        return from;
    return RGBColor(Blend(RedOf(from), RedOf(to), position, maximum),
                    Blend(GreenOf(from), GreenOf(to), position, maximum),
                    Blend(BlueOf(from), BlueOf(to), position, maximum));
}

TGameBars GameBars(int quota, int totalBricks, int bricksLeft, int hits, int lost)
{
    TGameBars bars;
    bars.CityLife = Percent(bricksLeft, totalBricks);
    bars.TotalLeft = Percent(hits + lost, quota);
    bars.CityLifeColor = BlendColor(BarLowColor, CityBarHighColor, bars.CityLife, 100);
    bars.HitLost = Percent(quota - hits, quota);
    bars.HitLostColor = BlendColor(BarLowColor, HitLostBarHighColor, bars.HitLost, 100);
    return bars;
}
