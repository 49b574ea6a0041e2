// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A window manager draws a frame, title bar included, around each window,
// while the toolkit places and sizes the inside. These rules say where the
// inside goes so that the whole window is where it is wanted.

struct TScreenRect
{
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool operator==(const TScreenRect&) const = default;
};

// How far the frame reaches beyond the inside on each side.
struct TFrameMargins
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool operator==(const TFrameMargins&) const = default;
};

// The inside of a window whose whole, frame included, is wanted at `whole`:
// the whole made no larger than `area` and moved into it, so that no part of
// the frame, the title bar least of all, lies off the area.
TScreenRect FitFramed(const TScreenRect& area, const TFrameMargins& frame,
                      const TScreenRect& whole);
