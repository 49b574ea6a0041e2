// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/GameSettings.h"

#include "base/IniFile.h"
#include "profile/ProfileVar.h"

#include <algorithm>

TGameSettings GameSettings;

void LoadGameTuning(TGameSettings& settings, const std::string& fileName)
{
    const TGameSettings defaults;
    const TIniFile ini(fileName);
    settings.NewWordSpeed = ini.ReadInteger("General", "NewWordSpeed", defaults.NewWordSpeed);
    settings.NewWordSpeedBy = ini.ReadInteger("General", "NewWordSpeedBy", defaults.NewWordSpeedBy);
    settings.DropSpeed = ini.ReadInteger("General", "DropSpeed", defaults.DropSpeed);
    settings.DropSpeedBy = ini.ReadInteger("General", "DropSpeedBy", defaults.DropSpeedBy);
    settings.FunSpeed = ini.ReadBool("General", "FunSpeed", defaults.FunSpeed);
    settings.GameFontName = ini.ReadString("Setting", "GameFontName", defaults.GameFontName);
    settings.GameFontSize = ini.ReadInteger("Setting", "GameFontSize", defaults.GameFontSize);
    settings.GameBgColor = ini.ReadInteger("Setting", "GameBgColor", defaults.GameBgColor);
    settings.GameFontColor = ini.ReadInteger("Setting", "GameFontColor", defaults.GameFontColor);
}

void ApplyGameProfile(TGameSettings& settings, const TProfile& profile)
{
    const TFont& font = profile.GameFont;
    settings.FunSpeed = profile.FunSpeed;
    settings.GameFontSize = font.Size;
    settings.GameBgColor = profile.GameBgColor;
    settings.GameFontColor = font.Color;
    settings.GameFontName = font.Name;
    settings.PlainStyle = {font.Bold, font.Italic, font.Underline, font.StrikeOut};
    settings.TypedStyle = settings.PlainStyle;
}

int FieldColumns(int fieldWidth, int fontSize)
{
    return std::max(1, fieldWidth / std::max(1, fontSize));
}
