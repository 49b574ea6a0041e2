// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Colors.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A font as the profile keeps it; the window layer turns it into a real font.
// Its character set is the toolkit's default and is not kept.
struct TFont
{
    std::string Name = "courier";
    int Size = 10; // points
    TColor Color = clBlack;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    bool operator==(const TFont&) const = default;
};

class TProfile;

// Bound by the owner of a profile to the storage of its choice.
using TProfileEvent = std::function<void(TProfile& profile, const std::string& name)>;

// Everything the program remembers about one user. Storage is reached only
// through OnLoad and OnSave.
class TProfile
{
public:
    TProfileEvent OnSave;
    TProfileEvent OnLoad;
    TFont PracticeFont;
    TFont GameFont;
    TFont TextFont;
    std::string UserName; // the store's section name, never a stored value
    bool FullScreen = false;
    TColor BgColor = 0;
    std::string Course;
    std::int32_t Progress = 0;
    std::int32_t TimeTotal = 0; // milliseconds over all runs
    std::string HelpFile;
    bool HighLight = false;
    bool Blinking = false;
    TColor GameBgColor = 0;
    bool FunSpeed = false;
    bool GameEnabled = false;
    bool DrillSoundEnabled = false;
    bool GameSoundEnabled = false;
    bool PopupAtEnd = false;
    std::int32_t GScore1 = 0;
    std::int32_t GScore2 = 0;
    std::int32_t GScore3 = 0;
    std::int32_t GScore4 = 0;
    std::int32_t GScore5 = 0;
    std::string KeyboardLayout;

    // One "Key=Value" line per stored value, in the store's key order.
    std::vector<std::string> SaveToStrings() const;
    // Sets every stored value from such lines; missing or empty values give
    // the defaults. A malformed integer throws TError "'%s' is not a valid
    // integer value": values read before it keep their new contents, later
    // ones their old.
    void LoadFromStrings(const std::vector<std::string>& lines);

    // Takes over the other profile's settings with progress, practice time
    // and scores at 0; UserName stays.
    void CopySettingsFrom(const TProfile& other);

    // Through the events; nothing happens while an event is unset.
    void Load() { LoadAs(UserName); }
    void LoadAs(const std::string& name);
    void Save() { SaveAs(UserName); }
    void SaveAs(const std::string& name);

    void AssignPracticeFont(const TFont& font) { PracticeFont = font; }
    void AssignTextFont(const TFont& font) { TextFont = font; }
    void AssignGameFont(const TFont& font) { GameFont = font; }

    // Adds to TimeTotal, stopping at the limits of its 32 bits instead of
    // wrapping round.
    void AddPracticeTime(std::int32_t ms);
};
