// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/HyprlandLayoutPlatform.h"

#include "base/Json.h"
#include "base/RunProgram.h"

#include <algorithm>

namespace {

// hyprctl answers at once; one that does not must not freeze the window.
constexpr std::chrono::milliseconds HyprctlTimeout{1000};

} // namespace

std::optional<THyprlandLayoutPlatform::TKeyboard>
THyprlandLayoutPlatform::MainKeyboard(const TJson& devices)
{
    const TJson* chosen = nullptr;
    for (const TJson& keyboard : devices["keyboards"].Items())
        if (chosen == nullptr || (keyboard["main"].Flag(false) && !(*chosen)["main"].Flag(false)))
            chosen = &keyboard;
    if (chosen == nullptr || (*chosen)["layout"].Text().empty())
        return std::nullopt;
    return TKeyboard{(*chosen)["name"].Text(),
                     ParseNameLists((*chosen)["layout"].Text(), (*chosen)["variant"].Text()),
                     (*chosen)["active_keymap"].Text()};
}

std::vector<std::vector<std::string>> THyprlandLayoutPlatform::Calls(const std::string& keyboard,
                                                                     const TLayoutList& list,
                                                                     bool layoutsChanged)
{
    std::vector<std::vector<std::string>> calls;
    if (layoutsChanged) {
        calls.push_back({"hyprctl", "keyword", "input:kb_layout", LayoutNamesList(list.Layouts)});
        calls.push_back({"hyprctl", "keyword", "input:kb_variant", VariantNamesList(list.Layouts)});
    }
    calls.push_back({"hyprctl", "switchxkblayout", keyboard, std::to_string(list.Active)});
    return calls;
}

std::optional<TLayoutList> THyprlandLayoutPlatform::ReadList()
{
    const auto answer = ProgramOutput({"hyprctl", "devices", "-j"}, HyprctlTimeout);
    const auto devices = answer ? TJson::Parse(*answer) : std::nullopt;
    const auto keyboard = devices ? MainKeyboard(*devices) : std::nullopt;
    if (!keyboard)
        return std::nullopt;
    keyboard_ = keyboard->Name;
    TLayoutList list{keyboard->Layouts, 0};
    const auto active = NameOfDescription(keyboard->ActiveDescription);
    const auto at =
        active ? std::find(list.Layouts.begin(), list.Layouts.end(), *active) : list.Layouts.end();
    if (at != list.Layouts.end())
        list.Active = static_cast<int>(at - list.Layouts.begin());
    return list;
}

bool THyprlandLayoutPlatform::WriteList(const TLayoutList& list, bool layoutsChanged)
{
    if (keyboard_.empty())
        return false;
    for (const auto& name : list.Layouts)
        if (!IsPlainXkbName(name.Layout) || !IsPlainXkbName(name.Variant))
            return false;
    for (const auto& call : Calls(keyboard_, list, layoutsChanged))
        if (RunProgram(call, HyprctlTimeout) != 0)
            return false;
    return true;
}
