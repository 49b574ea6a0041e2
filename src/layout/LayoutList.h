// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/XkbLayoutIds.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A desktop's list of keyboard layouts (the groups of a keymap, a desktop's
// input sources) and the position of the active one.
struct TLayoutList
{
    std::vector<TXkbLayoutName> Layouts;
    int Active = 0;

    bool operator==(const TLayoutList&) const = default;
};

// A keymap holds at most four groups: X11's limit, which the Wayland desktops
// keep for their X programs.
inline constexpr std::size_t MaxLayoutGroups = 4;

// The list that makes `wanted` active: the user's own layouts, with `wanted`
// added behind them when it is not one of them. Never a fifth group, and
// never more than one added layout: a layout added for an earlier activation
// is not in `own`, so it goes. Nothing when the user already has four.
std::optional<TLayoutList> PlanActivation(const std::vector<TXkbLayoutName>& own,
                                          const TXkbLayoutName& wanted);

// The user's own layouts in a list the program may have changed: without the
// layout it added, unless the user had that one too.
std::vector<TXkbLayoutName> OwnLayouts(const std::vector<TXkbLayoutName>& current,
                                       const std::optional<TXkbLayoutName>& added,
                                       const std::vector<TXkbLayoutName>& remembered);

// The list to restore: the user's own layouts now, with the one that was
// active when remembered active again (the first when it is gone).
TLayoutList RestoredList(const std::vector<TXkbLayoutName>& own, const TLayoutList& remembered);

// A layout or variant name as the XKB registry has them: letters, digits,
// "_" and "-". Anything else is never handed to a desktop.
bool IsPlainXkbName(std::string_view name);

// Comma-separated lists as XKB tools take them ("us,de" and ",nodeadkeys").
std::string LayoutNamesList(const std::vector<TXkbLayoutName>& layouts);
std::string VariantNamesList(const std::vector<TXkbLayoutName>& layouts);
std::vector<TXkbLayoutName> ParseNameLists(std::string_view layouts, std::string_view variants);

// One line for the restore file, "us,de;,nodeadkeys;1", and back.
std::string LayoutListText(const TLayoutList& list);
std::optional<TLayoutList> ParseLayoutListText(std::string_view text);
