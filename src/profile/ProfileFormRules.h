// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Colors.h"
#include "profile/ProfileVar.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TKeyboardLayoutAgent;

// What the profile dialog's controls hold: the profile's fields it shows,
// and the position chosen in its list of installed layouts.
struct TProfileFormValues
{
    bool FullScreen = false;
    TColor BgColor = 0;
    TColor GameBgColor = 0;
    bool FunSpeed = false;
    std::string Course;
    TFont PracticeFont;
    TFont TextFont;
    TFont GameFont;
    bool HighLight = false;
    bool Blinking = false;
    bool GameSoundEnabled = false;
    bool DrillSoundEnabled = false;
    bool PopupAtEnd = false;
    int LayoutIndex = -1; // -1: none chosen
};

// The values the dialog is filled with (its layout position is the agent's
// concern and stays -1 here).
TProfileFormValues FormValuesOf(const TProfile& profile);

// Takes the values into the profile, in the dialog's order, the layout last:
// the agent's identifier at LayoutIndex, whose index error (nothing chosen)
// leaves every other field already set. A new user's progress and practice
// time then start at 0. UserName is not touched.
void ReadFormValues(const TProfileFormValues& values, const TKeyboardLayoutAgent& agent, bool isNew,
                    TProfile& profile);

// Writes the values as the profile of a new user of that name, through the
// current profile's OnSave; every field the dialog does not show is a new
// profile's. False when any step fails; the current profile is not changed.
bool SaveAsNewUser(const TProfile& current, const TProfileFormValues& values,
                   const TKeyboardLayoutAgent& agent, const std::string& name);

// Whether name is one of users other than current, without regard to case:
// saving a new user under it would overwrite that user's profile.
bool NamesAnotherUser(const std::vector<std::string>& users, std::string_view current,
                      std::string_view name);

// The name typed for a new user without blanks around it; nullopt when
// nothing else is left.
std::optional<std::string> NewUserName(const std::string& typed);

// "%d h %d m %d s" of a practice time in milliseconds; hours go past 24.
std::string PracticeTimeText(std::int32_t milliseconds);

// A colour the pickers offer, its name marked for the catalogue.
struct TNamedColor
{
    const char* Name;
    TColor Color;
};

// The sixteen standard colours, then the system colours by their index.
const std::vector<TNamedColor>& PickerColors();
