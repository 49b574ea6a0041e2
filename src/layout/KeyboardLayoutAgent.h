// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/LayoutPlatform.h"
#include "layout/LayoutRestoreFile.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Lists the installed and the loaded keyboard layouts, describes them and
// activates a layout by its identifier, the 8 upper-case hexadecimal digits
// a profile stores ("00000409").
//
// The run has one agent. Its owner creates it, calls Refresh once, and when
// the run ends calls
//     if (Settings->ToRestoreLayout) agent.RestoreOriginalLayout();
// because switching a layout changes it for the whole desktop, not for this
// program only.
//
// Creation is quick: the installed layouts are read when something first
// needs them (AvailableNames, InfoLines, OriginalLayoutName, IndexOfLayout,
// LayoutIdAt, activation).
class TKeyboardLayoutAgent
{
public:
    // On the desktop the program runs on.
    TKeyboardLayoutAgent();
    explicit TKeyboardLayoutAgent(std::unique_ptr<TKeyboardLayoutPlatform> platform);
    ~TKeyboardLayoutAgent();
    TKeyboardLayoutAgent(const TKeyboardLayoutAgent&) = delete;
    TKeyboardLayoutAgent& operator=(const TKeyboardLayoutAgent&) = delete;

    // As of the last Refresh; later activations do not change them. The
    // lines and names are UTF-8 (the desktop's names and translated labels).
    const std::vector<std::string>& InfoLines() const;
    const std::vector<std::string>& AvailableNames() const;

    // The name of the layout that was active when the agent was created.
    std::string OriginalLayoutName() const;
    void SetOriginalLayoutName(const std::string& name);

    // Rereads the loaded layouts, then BuildAvailableList and BuildInfo.
    void Refresh();
    // AvailableNames: one "name - identifier" line per installed layout.
    void BuildAvailableList();
    // InfoLines: the loaded layouts and the active one.
    void BuildInfo();

    // False where the desktop cannot switch layouts at all: the user then
    // switches them by hand, and a failed activation tells them nothing new.
    bool CanActivateLayouts() const;
    // The installed layout's name, or the identifier itself when none has it.
    std::string LayoutName(const std::string& id) const;

    // False for an identifier that is not 8 hexadecimal digits, that names
    // no installed layout, or that the desktop could not activate.
    bool ActivateLayout(const std::string& id);
    // Throws the list's index error for a position outside the installed
    // layouts (such as -1).
    bool ActivateAvailable(int position);
    // Exact comparison with each installed identifier; -1 when none equals.
    int IndexOfLayout(const std::string& id) const;
    std::string LayoutIdAt(int position) const;

    // Brings back the desktop's layouts as they were when the agent was
    // created; true when the desktop reports them back.
    bool RestoreOriginalLayout();

    // For an owner that restores the layouts at the end of the run: first
    // puts back what a run that ended without restoring left in the file, then
    // records there, before the first switch, what RestoreOriginalLayout will
    // bring back, until it has. Throws nothing: without the file, only the
    // orderly end puts the layouts back.
    void KeepRestoreFile(const std::string& path);

private:
    struct TDescribed
    {
        std::string DisplayName;
        std::string VariationName;
        TLayoutLocale Locale;
    };

    const std::vector<TInstalledLayout>& Installed() const;
    TDescribed Describe(const TLoadedLayout& layout) const;
    const TInstalledLayout& InstalledAt(int position) const;

    std::unique_ptr<TKeyboardLayoutPlatform> platform_;
    mutable std::optional<std::vector<TInstalledLayout>> installed_;
    TLoadedLayouts loaded_;

    // The lines are built when first read, from what was loaded at the time
    // of the build, so reading the installed layouts stays off the start.
    bool availableListed_ = false;
    mutable std::optional<std::vector<std::string>> availableNames_;
    std::optional<TLoadedLayouts> infoSource_;
    mutable std::optional<std::vector<std::string>> infoLines_;

    void TakeOriginal();

    std::optional<TLayoutRestoreFile> restoreFile_;
    bool restoreRecorded_ = false;
    std::optional<TLoadedLayout> originalLayout_;
    mutable std::optional<std::string> originalLayoutName_;
};

// An identifier in its stored form: at least 8 hexadecimal digits,
// zero-padded, upper-case letters.
std::string FormatLayoutId(std::uint32_t id);
// The identifier of exactly 8 hexadecimal digits (either case), if it is one.
std::optional<std::uint32_t> ParseLayoutId(const std::string& text);
