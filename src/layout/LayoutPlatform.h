// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The locale of a keyboard layout's language, as the layout lists show it.
struct TLayoutLocale
{
    std::uint16_t LanguageId = 0; // Windows language id, 0x0409 for English (United States)
    std::string LanguageName;     // "English (United States)"
    std::string Country;          // "United States"
};

// A layout installed in the system.
struct TInstalledLayout
{
    std::uint32_t Id = 0;
    std::string Name;
    // The language's own layout, named by its language alone; every other
    // layout of the language adds its own name.
    bool IsLanguageDefault = false;
    TLayoutLocale Locale;
};

// A layout loaded for the user: the installed layout of that id, or, when
// no installed layout has it, known only by Name.
struct TLoadedLayout
{
    std::uint32_t Id = 0;
    std::string Name;
};

struct TLoadedLayouts
{
    std::vector<TLoadedLayout> Items;
    int Active = -1; // position in Items, -1 when none is active
};

// What the layout agent needs from the desktop. Only InstalledLayouts may be
// slow; the agent asks for it once, when it first needs it.
class TKeyboardLayoutPlatform
{
public:
    virtual ~TKeyboardLayoutPlatform() = default;

    virtual std::vector<TInstalledLayout> InstalledLayouts() = 0;
    virtual TLoadedLayouts LoadedLayouts() = 0;
    // Makes the installed layout of that id the active one; true when the
    // desktop reports it active afterwards.
    virtual bool Activate(std::uint32_t id) = 0;
    // False where the desktop offers no way to switch layouts at all.
    virtual bool CanActivate() const { return true; }
    // Remembers the desktop's layouts as they are now, for RestoreRemembered,
    // which brings them back and answers whether that worked.
    virtual void RememberCurrent() = 0;
    virtual bool RestoreRemembered() = 0;

    // The kind of desktop ("x11", "sway", ...), which names its section of
    // the restore file.
    virtual std::string Kind() const = 0;
    // What RestoreRemembered would bring back, as one line of text that
    // RestoreState takes in a later run.
    virtual std::string RememberedState() const = 0;
    virtual bool RestoreState(const std::string& state) = 0;
};

// The layouts of the desktop the program runs on, chosen at start-up: under
// Wayland the compositor's (sway's; elsewhere they cannot be switched),
// otherwise X11's keyboard extension.
std::unique_ptr<TKeyboardLayoutPlatform> DesktopLayoutPlatform();
