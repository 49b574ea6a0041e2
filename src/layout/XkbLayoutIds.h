// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/LayoutPlatform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// An XKB layout and variant as the registry and the X server name them.
struct TXkbLayoutName
{
    std::string Layout;
    std::string Variant; // empty for the layout itself

    bool operator==(const TXkbLayoutName&) const = default;
};

// One layout of the XKB registry, as it lists it.
struct TXkbRegistryEntry
{
    TXkbLayoutName Name;
    std::string Description; // "English (Dvorak)"
    std::string Iso639;      // first language code, three letters ("eng"), may be empty
    std::string Iso3166;     // first country code, two letters ("US"), may be empty
};

// Hash-derived identifiers lie in this range, which Windows leaves unused;
// every identifier of the Windows table lies below it.
inline constexpr std::uint32_t DerivedLayoutIdBase = 0x70000000;
inline constexpr std::uint32_t DerivedLayoutIdMask = 0x0FFFFFFF;

// The identifier profiles store for an XKB layout: the Windows identifier of
// the same layout, or one derived from the names alone, so that it stays the
// same across runs and machines.
std::uint32_t XkbLayoutId(const TXkbLayoutName& name);
// The XKB layout of a Windows identifier of the table.
std::optional<TXkbLayoutName> XkbLayoutOfWindowsId(std::uint32_t id);
// Every Windows identifier the table knows.
std::vector<std::uint32_t> WindowsLayoutIds();

// Windows language id, language name and country name of ISO 639-3 and
// ISO 3166 codes; codes not in the tables show as they are.
TLayoutLocale LayoutLocale(const std::string& iso639, const std::string& iso3166);

// The installed layout a registry entry stands for.
TInstalledLayout InstalledXkbLayout(const TXkbRegistryEntry& entry);
