// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/LayoutPlatform.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

// A desktop whose layouts a test sets; activating an installed layout loads
// it (when it is not loaded) and makes it active, unless Refuse is set.
class TFakeLayoutPlatform : public TKeyboardLayoutPlatform
{
public:
    std::vector<TInstalledLayout> Installed;
    TLoadedLayouts Loaded;
    bool Refuse = false;
    bool Switches = true; // the desktop offers a way to switch at all

    int InstalledReads = 0;
    std::vector<std::uint32_t> Activations;
    TLoadedLayouts Remembered;

    std::vector<TInstalledLayout> InstalledLayouts() override
    {
        ++InstalledReads;
        return Installed;
    }
    TLoadedLayouts LoadedLayouts() override { return Loaded; }
    bool Activate(std::uint32_t id) override
    {
        Activations.push_back(id);
        if (Refuse)
            return false;
        const auto at = std::find_if(Loaded.Items.begin(), Loaded.Items.end(),
                                     [&](const TLoadedLayout& l) { return l.Id == id; });
        Loaded.Active = static_cast<int>(at - Loaded.Items.begin());
        if (at == Loaded.Items.end())
            Loaded.Items.push_back({id, ""});
        return true;
    }
    bool CanActivate() const override { return Switches; }
    void RememberCurrent() override { Remembered = Loaded; }
    bool RestoreRemembered() override
    {
        Loaded = Remembered;
        return true;
    }
    std::string Kind() const override { return "fake"; }
    // The remembered ids in hexadecimal, then the active position: "407 40c;1".
    std::string RememberedState() const override
    {
        std::ostringstream text;
        for (const auto& item : Remembered.Items)
            text << std::hex << item.Id << ' ';
        text << ';' << std::dec << Remembered.Active;
        return text.str();
    }
    bool RestoreState(const std::string& state) override
    {
        RestoredStates.push_back(state);
        std::istringstream text(state);
        TLoadedLayouts restored;
        std::uint32_t id = 0;
        while (text >> std::hex >> id)
            restored.Items.push_back({id, ""});
        text.clear();
        char separator = 0;
        if (!(text >> separator >> std::dec >> restored.Active) || separator != ';')
            return false;
        Loaded = restored;
        return true;
    }
    std::vector<std::string> RestoredStates;
};

inline TInstalledLayout German()
{
    return {0x00000407, "German", true, {0x0407, "German (Germany)", "Germany"}};
}
inline TInstalledLayout French()
{
    return {0x0000040C, "French", true, {0x040C, "French (France)", "France"}};
}
inline TInstalledLayout UsDvorak()
{
    return {0x00010409,
            "English (Dvorak)",
            false,
            {0x0409, "English (United States)", "United States"}};
}
