// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FrameFit.h"

#include <algorithm>

namespace {

// Where a span of `length` starts when wanted at `wanted` within the span of
// the area; a span as long as the area starts with it.
int Within(int wanted, int length, int areaStart, int areaLength)
{
    return std::clamp(wanted, areaStart, areaStart + areaLength - length);
}

} // namespace

TScreenRect FitFramed(const TScreenRect& area, const TFrameMargins& frame, const TScreenRect& whole)
{
    const int width = std::min(whole.Width, area.Width);
    const int height = std::min(whole.Height, area.Height);
    const int left = Within(whole.Left, width, area.Left, area.Width);
    const int top = Within(whole.Top, height, area.Top, area.Height);
    return {left + frame.Left, top + frame.Top, std::max(0, width - frame.Left - frame.Right),
            std::max(0, height - frame.Top - frame.Bottom)};
}
