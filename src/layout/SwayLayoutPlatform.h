// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/ListLayoutPlatform.h"

#include <optional>
#include <string>

class TJson;

// sway's layouts, through its IPC socket ($SWAYSOCK): the keyboards' layouts
// as GET_INPUTS lists them, set with "input type:keyboard xkb_layout ..." and
// switched with "xkb_switch_layout N". A seat whose keyboards all bring their
// own keymap (virtual keyboards) has nothing to switch.
class TSwayLayoutPlatform final : public TListLayoutPlatform
{
public:
    explicit TSwayLayoutPlatform(std::string socketPath) : socket_(std::move(socketPath)) {}

    std::string Kind() const override { return "sway"; }

    // The list of the first keyboard of a GET_INPUTS answer whose layouts the
    // compositor sets, by their descriptions; nothing when none has layouts.
    static std::optional<std::pair<std::vector<std::string>, int>>
    KeyboardLayouts(const TJson& inputs);
    // The commands that make `list` the keyboards' ("input type:keyboard
    // xkb_layout \"us,de\"; ..."), or only switch to its active layout.
    static std::string Commands(const TLayoutList& list, bool layoutsChanged);

protected:
    std::optional<TLayoutList> ReadList() override;
    bool WriteList(const TLayoutList& list, bool layoutsChanged) override;

private:
    // One request and its answer; nothing when sway does not answer in time.
    std::optional<std::string> Ask(std::uint32_t type, const std::string& payload) const;

    std::string socket_;
};
