// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/GnomeLayoutPlatform.h"
#include "layout/HyprlandLayoutPlatform.h"
#include "layout/KdeLayoutPlatform.h"
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
    // the layouts, each its own way. Another compositor gives programs no
    // way to switch them.
    if (const std::string sway = Environment("SWAYSOCK"); !sway.empty())
        return std::make_unique<TSwayLayoutPlatform>(sway);
    if (!Environment("HYPRLAND_INSTANCE_SIGNATURE").empty())
        return std::make_unique<THyprlandLayoutPlatform>();
    // "KDE", "GNOME", "ubuntu:GNOME", ...
    const std::string desktops = ":" + Environment("XDG_CURRENT_DESKTOP") + ":";
    if (desktops.find(":KDE:") != std::string::npos)
        return std::make_unique<TKdeLayoutPlatform>();
    if (desktops.find(":GNOME:") != std::string::npos) {
        auto gnome = std::make_unique<TGnomeLayoutPlatform>();
        if (gnome->HasSettings())
            return gnome;
    }
    return std::make_unique<TNoSwitchLayoutPlatform>();
}
