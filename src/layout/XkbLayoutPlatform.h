// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/LayoutPlatform.h"
#include "layout/XkbLayoutIds.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

struct _XDisplay;

// The layouts of an X server's keyboard extension: the installed ones from
// the XKB registry, the loaded ones as the groups of the current keymap
// (the server's _XKB_RULES_NAMES), the active one as the locked group.
// Activating a layout that is not loaded adds it as a group behind the
// user's own and locks it; the next activation takes it out again.
class TXkbLayoutPlatform final : public TKeyboardLayoutPlatform
{
public:
    // Without a display: only the installed layouts, no activation.
    TXkbLayoutPlatform();
    // The X display of that name; an empty name is $DISPLAY's.
    explicit TXkbLayoutPlatform(const std::string& displayName);
    ~TXkbLayoutPlatform() override;
    TXkbLayoutPlatform(const TXkbLayoutPlatform&) = delete;
    TXkbLayoutPlatform& operator=(const TXkbLayoutPlatform&) = delete;

    bool HasDisplay() const { return display_ != nullptr; }

    std::vector<TInstalledLayout> InstalledLayouts() override;
    TLoadedLayouts LoadedLayouts() override;
    bool Activate(std::uint32_t id) override;
    bool CanActivate() const override { return HasDisplay(); }
    void RememberCurrent() override;
    bool RestoreRemembered() override;
    std::string Kind() const override { return "x11"; }
    std::string RememberedState() const override;
    bool RestoreState(const std::string& state) override;

private:
    // The keymap's names, as setxkbmap takes them; layouts and variants are
    // comma-separated lists, one entry per group.
    struct TRulesNames
    {
        std::string Rules, Model, Layout, Variant, Options;
        bool operator==(const TRulesNames&) const = default;
    };

    std::optional<TRulesNames> ReadRulesNames() const;
    static std::vector<TXkbLayoutName> Groups(const TRulesNames& names);
    int LockedGroup() const;
    bool LockGroup(int group);
    bool LoadKeymap(const TRulesNames& names);
    const TXkbLayoutName* NameOf(std::uint32_t id);

    _XDisplay* display_ = nullptr;
    std::optional<std::map<std::uint32_t, TXkbLayoutName>> names_;
    bool Restore(const TRulesNames& names, int group);

    std::optional<TRulesNames> rememberedNames_;
    int rememberedGroup_ = 0;
    // The layout the last activation added to the user's own, if it did.
    std::optional<TXkbLayoutName> added_;
};
