// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Colors.h"

#include <string>

class TProfile;

// The style of a run of game letters; the window turns it into a real font.
struct TFontStyles
{
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    bool operator==(const TFontStyles&) const = default;
};

// The parameters every piece of the game shares: the tuning file's timing,
// the profile's font and colours, and the field's size in cells.
struct TGameSettings
{
    int GameFontSize = 16; // cell size in pixels, and the font's point size
    std::string GameFontName = "Courier";
    TColor GameFontColor = RGBColor(255, 255, 0);
    TColor GameBgColor = clBlack;
    TFontStyles PlainStyle;
    TFontStyles TypedStyle;
    int Columns = 1;
    int Rows = 3;
    int NewWordSpeed = 3500;
    int NewWordSpeedBy = 250;
    int DropSpeed = 250;
    int DropSpeedBy = 20;
    bool FunSpeed = true;
};

// The process-wide game parameters.
extern TGameSettings GameSettings;

// Fills settings from the tuning file (twgame.ini); a missing file, section
// or key leaves the default of that value.
void LoadGameTuning(TGameSettings& settings, const std::string& fileName);

// Takes the user's game font (face, size, colour, style for typed and untyped
// letters), background and FunSpeed, as every game does before it starts.
void ApplyGameProfile(TGameSettings& settings, const TProfile& profile);

// Columns across a field of that width: at least one, whatever the font size,
// so that no later step divides by zero.
int FieldColumns(int fieldWidth, int fontSize);
