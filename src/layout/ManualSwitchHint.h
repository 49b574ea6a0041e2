// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class TKeyboardLayoutAgent;

// Where the desktop cannot switch keyboard layouts, the user switches them by
// hand: the drills' status line says once which layout the course is for.
class TManualSwitchHint
{
public:
    // The hint for the layout of that identifier (UTF-8), the first time it
    // is asked for after the layout changed; empty when the agent switches
    // layouts itself or the hint was given already.
    std::string Take(const TKeyboardLayoutAgent& agent, const std::string& layoutId);

private:
    std::string told_;
};
