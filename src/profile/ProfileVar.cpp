// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/ProfileVar.h"

#include "base/IniFile.h"
#include "base/TextCase.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>

namespace {

constexpr TColor DefaultBgColor = 8421504;
constexpr std::int32_t DefaultFontSize = 10;
constexpr const char* DefaultFontName = "courier";
constexpr const char* DefaultKeyboardLayout = "00000409";
constexpr const char* DefaultHelpFile = "twhelp.chm";

class TLineWriter
{
public:
    void String(std::string_view key, std::string_view value)
    {
        lines_.push_back(std::string(key) + "=" + std::string(value));
    }
    void Int(std::string_view key, std::int32_t value) { String(key, std::to_string(value)); }
    void Bool(std::string_view key, bool value) { String(key, value ? "1" : "0"); }

    void Font(std::string_view prefix, const TFont& font, bool allStyles)
    {
        const std::string p(prefix);
        String(p + "Name", font.Name);
        Int(p + "Size", font.Size);
        Int(p + "Color", font.Color);
        Bool(p + "Bold", font.Bold);
        Bool(p + "Italic", font.Italic);
        if (allStyles) {
            Bool(p + "UnderLine", font.Underline);
            Bool(p + "StrikeOut", font.StrikeOut);
        }
    }

    std::vector<std::string> Take() { return std::move(lines_); }

private:
    std::vector<std::string> lines_;
};

class TLineReader
{
public:
    explicit TLineReader(const std::vector<std::string>& lines) : lines_(lines) {}

    std::string String(std::string_view key, std::string_view def) const
    {
        const auto value = Find(key);
        return value && !value->empty() ? std::string(*value) : std::string(def);
    }
    std::int32_t Int(std::string_view key, std::int32_t def) const
    {
        const auto value = Find(key);
        return value && !value->empty() ? StrToInt(std::string(*value)) : def;
    }
    bool Bool(std::string_view key) const { return Find(key) == "1"; }

    // A font's style afterwards is exactly what is stored: flags without a
    // key of their own are cleared.
    void Font(std::string_view prefix, TFont& font, bool allStyles) const
    {
        const std::string p(prefix);
        font.Name = String(p + "Name", DefaultFontName);
        font.Size = Int(p + "Size", DefaultFontSize);
        font.Color = Int(p + "Color", clBlack);
        font.Bold = Bool(p + "Bold");
        font.Italic = Bool(p + "Italic");
        font.Underline = allStyles && Bool(p + "UnderLine");
        font.StrikeOut = allStyles && Bool(p + "StrikeOut");
    }

private:
    std::optional<std::string_view> Find(std::string_view key) const
    {
        for (const std::string& line : lines_) {
            const auto eq = line.find('=');
            if (eq != std::string::npos && SameText(std::string_view(line).substr(0, eq), key))
                return std::string_view(line).substr(eq + 1);
        }
        return std::nullopt;
    }

    const std::vector<std::string>& lines_;
};

} // namespace

std::vector<std::string> TProfile::SaveToStrings() const
{
    TLineWriter w;
    w.Bool("FullScreen", FullScreen);
    w.Int("BgColor", BgColor);
    w.String("Course", Course);
    w.Int("Progress", Progress);
    w.Int("TimeTotal", TimeTotal);
    w.String("KeyboardLayout", KeyboardLayout);
    w.Font("PracticeFont", PracticeFont, false);
    w.Font("TextFont", TextFont, false);
    w.Font("GameFont", GameFont, true);
    w.Int("GameBgColor", GameBgColor);
    w.Bool("FunSpeed", FunSpeed);
    w.String("HelpFile", HelpFile);
    w.Bool("HighLight", HighLight);
    w.Bool("Blinking", Blinking);
    w.Bool("GameEnabled", GameEnabled);
    w.Bool("GameSoundEnabled", GameSoundEnabled);
    w.Bool("DrillSoundEnabled", DrillSoundEnabled);
    w.Bool("PopupAtEnd", PopupAtEnd);
    w.Int("GScore1", GScore1);
    w.Int("GScore2", GScore2);
    w.Int("GScore3", GScore3);
    w.Int("GScore4", GScore4);
    w.Int("GScore5", GScore5);
    return w.Take();
}

// The reading order differs from the writing order: HelpFile, HighLight and
// Blinking come before the game's values. It decides which fields a malformed
// integer leaves with their old contents.
void TProfile::LoadFromStrings(const std::vector<std::string>& lines)
{
    const TLineReader r(lines);
    FullScreen = r.Bool("FullScreen");
    BgColor = r.Int("BgColor", DefaultBgColor);
    Course = r.String("Course", "");
    Progress = r.Int("Progress", 0);
    TimeTotal = r.Int("TimeTotal", 0);
    KeyboardLayout = r.String("KeyboardLayout", DefaultKeyboardLayout);
    r.Font("PracticeFont", PracticeFont, false);
    r.Font("TextFont", TextFont, false);
    HelpFile = r.String("HelpFile", DefaultHelpFile);
    HighLight = r.Bool("HighLight");
    Blinking = r.Bool("Blinking");
    r.Font("GameFont", GameFont, true);
    GameBgColor = r.Int("GameBgColor", clBlack);
    FunSpeed = r.Bool("FunSpeed");
    GameEnabled = r.Bool("GameEnabled");
    GameSoundEnabled = r.Bool("GameSoundEnabled");
    DrillSoundEnabled = r.Bool("DrillSoundEnabled");
    PopupAtEnd = r.Bool("PopupAtEnd");
    GScore1 = r.Int("GScore1", 0);
    GScore2 = r.Int("GScore2", 0);
    GScore3 = r.Int("GScore3", 0);
    GScore4 = r.Int("GScore4", 0);
    GScore5 = r.Int("GScore5", 0);
}

void TProfile::CopySettingsFrom(const TProfile& other)
{
    LoadFromStrings(other.SaveToStrings());
    Progress = 0;
    TimeTotal = 0;
    GScore1 = GScore2 = GScore3 = GScore4 = GScore5 = 0;
}

void TProfile::LoadAs(const std::string& name)
{
    if (OnLoad)
        OnLoad(*this, name);
}

void TProfile::SaveAs(const std::string& name)
{
    if (OnSave)
        OnSave(*this, name);
}

void TProfile::AddPracticeTime(std::int32_t ms)
{
    const std::int64_t sum = std::int64_t{TimeTotal} + ms;
    TimeTotal = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}
