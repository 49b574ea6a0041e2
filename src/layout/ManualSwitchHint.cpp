// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/ManualSwitchHint.h"

#include "base/Errors.h"
#include "base/Translate.h"
#include "layout/KeyboardLayoutAgent.h"

std::string TManualSwitchHint::Take(const TKeyboardLayoutAgent& agent, const std::string& layoutId)
{
    if (agent.CanActivateLayouts() || layoutId == told_)
        return {};
    told_ = layoutId;
    const std::string name = agent.LayoutName(layoutId);
    return Format(_("This course is for the %s keyboard. Switch your keyboard layout to %s."),
                  name.c_str(), name.c_str());
}
