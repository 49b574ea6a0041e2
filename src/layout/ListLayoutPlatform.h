// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/LayoutList.h"
#include "layout/LayoutPlatform.h"

#include <optional>
#include <vector>

// A desktop that keeps a list of XKB layouts and switches among them (sway,
// Hyprland, KDE Plasma, GNOME). What to add, what to take out and what to put
// back is decided here, by the rules of TLayoutList; each desktop only reads
// and writes its list. The installed layouts are the XKB registry's.
class TListLayoutPlatform : public TKeyboardLayoutPlatform
{
public:
    std::vector<TInstalledLayout> InstalledLayouts() override;
    TLoadedLayouts LoadedLayouts() override;
    bool Activate(std::uint32_t id) override;
    // Whether the desktop answered with a list when its layouts were
    // remembered, at the agent's creation.
    bool CanActivate() const override { return answered_; }
    void RememberCurrent() override;
    bool RestoreRemembered() override;
    std::string RememberedState() const override;
    bool RestoreState(const std::string& state) override;

protected:
    // The desktop's list now; nothing when it does not answer.
    virtual std::optional<TLayoutList> ReadList() = 0;
    // Makes `list` the desktop's, its layouts only when `layoutsChanged`;
    // true when the desktop took it.
    virtual bool WriteList(const TLayoutList& list, bool layoutsChanged) = 0;

    // The registry's layouts, read once.
    const std::vector<TXkbRegistryEntry>& Registry();
    // The registry's layout of that description ("German (no dead keys)").
    std::optional<TXkbLayoutName> NameOfDescription(const std::string& description);

private:
    bool Apply(const TLayoutList& target);

    std::optional<std::vector<TXkbRegistryEntry>> registry_;
    std::optional<TLayoutList> remembered_;
    std::optional<TXkbLayoutName> added_;
    bool answered_ = false;
};

// Where the desktop offers programs no way to switch layouts: only the
// installed layouts are listed.
class TNoSwitchLayoutPlatform final : public TListLayoutPlatform
{
public:
    std::string Kind() const override { return "none"; }

protected:
    std::optional<TLayoutList> ReadList() override { return std::nullopt; }
    bool WriteList(const TLayoutList&, bool) override { return false; }
};
