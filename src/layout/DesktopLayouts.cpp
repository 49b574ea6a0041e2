// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/LayoutPlatform.h"
#include "layout/ListLayoutPlatform.h"
#include "layout/SwayLayoutPlatform.h"
#include "layout/XkbLayoutPlatform.h"

#include <cstdlib>
#include <string>

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

} // namespace

std::unique_ptr<TKeyboardLayoutPlatform> DesktopLayoutPlatform()
{
    if (Environment("WAYLAND_DISPLAY").empty())
        return std::make_unique<TXkbLayoutPlatform>(std::string());
    // Under Wayland the X server is a compatibility layer whose keymap
    // changes nothing for the desktop's own windows: the compositor keeps
    // the layouts.
    if (const std::string sway = Environment("SWAYSOCK"); !sway.empty())
        return std::make_unique<TSwayLayoutPlatform>(sway);
    return std::make_unique<TNoSwitchLayoutPlatform>();
}
