// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/FrameFit.h"

#include <string_view>
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

// Where the keyboard and the hands go inside a drill window that holds them:
// a band below the input box, the keyboard centred in it, a hand 5 pixels to
// either side, all three at the band's top margin.
struct TEmbeddedPlaces
{
    int KeyboardLeft, LeftHandLeft, RightHandLeft, Top;
    int Height;       // of the band
    int MinimumWidth; // of the band, for the keyboard and both hands
};
TEmbeddedPlaces PlaceEmbeddedGuidance(int bandWidth, int keyboardWidth, int keyboardHeight,
                                      int handWidth, int handHeight);

// Whether the guidance shows in windows of its own around a drill window or
// inside it. A desktop that places the windows of programs itself (every
// Wayland compositor) has no room for the first: the drill window would open
// over the guidance. Elsewhere the first guidance window shown tells whether
// it landed where it was placed.
class TGuidancePlacement
{
public:
    // Qt's name of the windowing platform: "xcb", "wayland", "offscreen", ...
    explicit TGuidancePlacement(std::string_view platformName);

    bool Embedded() const { return embedded_; }
    // Whether a landing still needs to be checked.
    bool ChecksLanding() const { return !embedded_ && !checked_; }
    // Where a guidance window was placed and where the desktop has it; true
    // when this moves the guidance into the drill windows from now on.
    bool Landed(const TScreenRect& placed, const TScreenRect& actual);
    void Embed() { embedded_ = true; }

private:
    bool embedded_;
    bool checked_ = false;
};
