// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/ListLayoutPlatform.h"

#include <string>
#include <vector>

class TJson;

// Hyprland's layouts, through hyprctl: the keyboards as "hyprctl devices -j"
// lists them, the layouts set with "hyprctl keyword input:kb_layout ..." and
// switched with "hyprctl switchxkblayout KEYBOARD N".
class THyprlandLayoutPlatform final : public TListLayoutPlatform
{
public:
    std::string Kind() const override { return "hyprland"; }

    // The main keyboard of a "devices -j" answer (the first one when none
    // is marked main): its name and its list, the active layout known by
    // its description ("German").
    struct TKeyboard
    {
        std::string Name;
        std::vector<TXkbLayoutName> Layouts;
        std::string ActiveDescription;
    };
    static std::optional<TKeyboard> MainKeyboard(const TJson& devices);
    // The hyprctl calls that make `list` the keyboards', or only switch.
    static std::vector<std::vector<std::string>>
    Calls(const std::string& keyboard, const TLayoutList& list, bool layoutsChanged);

protected:
    std::optional<TLayoutList> ReadList() override;
    bool WriteList(const TLayoutList& list, bool layoutsChanged) override;

private:
    std::string keyboard_;
};
