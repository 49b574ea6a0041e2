// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>

// What the finger number of the next key means for the two hands windows.
struct THandCall
{
    enum Kind
    {
        Clear,
        Set
    } Action = Clear;
    int Finger = 0; // 1 little .. 5 thumb, for Set
};

// Template finger numbers run 0 (left little) to 9 (right little); above 9
// means no finger. Returns the calls on the left and the right window.
std::pair<THandCall, THandCall> HandCalls(int templateFinger);

// Where the keyboard and the hands windows go around a drill window: the
// keyboard centred 10 pixels below it, a hand 5 pixels to either side.
struct TGuidancePlaces
{
    int KeyboardLeft, KeyboardTop, LeftHandLeft, RightHandLeft;
};
TGuidancePlaces PlaceGuidance(int drillLeft, int drillTop, int drillWidth, int drillHeight,
                              int keyboardWidth, int leftHandWidth);
