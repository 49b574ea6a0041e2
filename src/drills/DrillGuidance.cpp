// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/DrillGuidance.h"

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
