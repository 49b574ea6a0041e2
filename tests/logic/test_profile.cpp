// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Errors.h"
#include "profile/ProfileVar.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <map>

namespace {

// Every stored value away from its default, so a field that is not written or
// not read shows up.
TProfile FilledProfile()
{
    TProfile p;
    p.UserName = "Ann";
    p.FullScreen = true;
    p.BgColor = SystemColor(COLOR_BTNFACE);
    p.Course = "English";
    p.Progress = 12;
    p.TimeTotal = 3600000;
    p.KeyboardLayout = "00000407";
    p.PracticeFont = {"Courier New", 14, clNavy, true, false, false, false};
    p.TextFont = {"Arial", 12, clRed, false, true, false, false};
    p.GameFont = {"Times New Roman", 20, clWhite, true, true, true, true};
    p.GameBgColor = RGBColor(1, 2, 3);
    p.FunSpeed = true;
    p.HelpFile = "manual.html";
    p.HighLight = true;
    p.Blinking = true;
    p.GameEnabled = true;
    p.GameSoundEnabled = true;
    p.DrillSoundEnabled = true;
    p.PopupAtEnd = true;
    p.GScore1 = 1;
    p.GScore2 = 2;
    p.GScore3 = 3;
    p.GScore4 = 4;
    p.GScore5 = 5;
    return p;
}

const std::vector<std::string> FilledLines = {
    "FullScreen=1",
    "BgColor=-16777201",
    "Course=English",
    "Progress=12",
    "TimeTotal=3600000",
    "KeyboardLayout=00000407",
    "PracticeFontName=Courier New",
    "PracticeFontSize=14",
    "PracticeFontColor=8388608",
    "PracticeFontBold=1",
    "PracticeFontItalic=0",
    "TextFontName=Arial",
    "TextFontSize=12",
    "TextFontColor=255",
    "TextFontBold=0",
    "TextFontItalic=1",
    "GameFontName=Times New Roman",
    "GameFontSize=20",
    "GameFontColor=16777215",
    "GameFontBold=1",
    "GameFontItalic=1",
    "GameFontUnderLine=1",
    "GameFontStrikeOut=1",
    "GameBgColor=197121",
    "FunSpeed=1",
    "HelpFile=manual.html",
    "HighLight=1",
    "Blinking=1",
    "GameEnabled=1",
    "GameSoundEnabled=1",
    "DrillSoundEnabled=1",
    "PopupAtEnd=1",
    "GScore1=1",
    "GScore2=2",
    "GScore3=3",
    "GScore4=4",
    "GScore5=5",
};

const std::vector<std::string> DefaultLines = {
    "FullScreen=0",
    "BgColor=8421504",
    "Course=",
    "Progress=0",
    "TimeTotal=0",
    "KeyboardLayout=00000409",
    "PracticeFontName=courier",
    "PracticeFontSize=10",
    "PracticeFontColor=0",
    "PracticeFontBold=0",
    "PracticeFontItalic=0",
    "TextFontName=courier",
    "TextFontSize=10",
    "TextFontColor=0",
    "TextFontBold=0",
    "TextFontItalic=0",
    "GameFontName=courier",
    "GameFontSize=10",
    "GameFontColor=0",
    "GameFontBold=0",
    "GameFontItalic=0",
    "GameFontUnderLine=0",
    "GameFontStrikeOut=0",
    "GameBgColor=0",
    "FunSpeed=0",
    "HelpFile=twhelp.chm",
    "HighLight=0",
    "Blinking=0",
    "GameEnabled=0",
    "GameSoundEnabled=0",
    "DrillSoundEnabled=0",
    "PopupAtEnd=0",
    "GScore1=0",
    "GScore2=0",
    "GScore3=0",
    "GScore4=0",
    "GScore5=0",
};

std::string Key(const std::string& line)
{
    return line.substr(0, line.find('='));
}

std::string SavedValue(const TProfile& p, const std::string& key)
{
    for (const std::string& line : p.SaveToStrings())
        if (Key(line) == key)
            return line.substr(key.size() + 1);
    ADD_FAILURE() << "no line for " << key;
    return {};
}

TEST(Profile, SavesEveryValueInKeyOrder)
{
    EXPECT_EQ(FilledProfile().SaveToStrings(), FilledLines);
}

TEST(Profile, RoundTripKeepsEveryField)
{
    const TProfile source = FilledProfile();
    TProfile copy;
    copy.LoadFromStrings(source.SaveToStrings());
    EXPECT_EQ(copy.SaveToStrings(), FilledLines);
    EXPECT_EQ(copy.PracticeFont, source.PracticeFont);
    EXPECT_EQ(copy.TextFont, source.TextFont);
    EXPECT_EQ(copy.GameFont, source.GameFont);
}

TEST(Profile, MissingValuesGiveDefaultsAndLeaveNameAndEvents)
{
    TProfile p = FilledProfile();
    int calls = 0;
    p.OnLoad = [&](TProfile&, const std::string&) { ++calls; };
    p.LoadFromStrings({});
    EXPECT_EQ(p.SaveToStrings(), DefaultLines);
    EXPECT_EQ(p.UserName, "Ann");
    ASSERT_TRUE(p.OnLoad);
    p.Load();
    EXPECT_EQ(calls, 1);
}

struct ReadCase
{
    std::vector<std::string> lines;
    std::string key;
    std::string expected; // as SaveToStrings writes it back
};

std::ostream& operator<<(std::ostream& out, const ReadCase& c)
{
    return out << testing::PrintToString(c.lines) << " -> " << c.key;
}

class ProfileRead : public testing::TestWithParam<ReadCase>
{};

TEST_P(ProfileRead, ReadsValue)
{
    TProfile p = FilledProfile();
    p.LoadFromStrings(GetParam().lines);
    EXPECT_EQ(SavedValue(p, GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Profile, ProfileRead,
    testing::Values(
        ReadCase{{"PracticeFontSize="}, "PracticeFontSize", "10"},
        ReadCase{{"PracticeFontName="}, "PracticeFontName", "courier"},
        ReadCase{{"KeyboardLayout="}, "KeyboardLayout", "00000409"},
        ReadCase{{"HelpFile="}, "HelpFile", "twhelp.chm"}, ReadCase{{"Course="}, "Course", ""},
        ReadCase{{"FullScreen=true"}, "FullScreen", "0"},
        ReadCase{{"FullScreen= 1"}, "FullScreen", "0"},
        ReadCase{{"FullScreen=1"}, "FullScreen", "1"},
        ReadCase{{"fULLsCREEN=1"}, "FullScreen", "1"}, ReadCase{{"FullScreen"}, "FullScreen", "0"},
        ReadCase{{"Progress=7", "Progress=8"}, "Progress", "7"},
        ReadCase{{"Progress= -7"}, "Progress", "-7"}, ReadCase{{"BgColor=$FF"}, "BgColor", "255"},
        ReadCase{{"BgColor=0xFF00000F"}, "BgColor", "-16777201"},
        ReadCase{{"TimeTotal=2147483647"}, "TimeTotal", "2147483647"},
        ReadCase{{"Course=a=b"}, "Course", "a=b"}));

struct BadIntegerCase
{
    std::string key;
    std::string value;
};

std::ostream& operator<<(std::ostream& out, const BadIntegerCase& c)
{
    return out << c.key << "=" << c.value;
}

class ProfileBadInteger : public testing::TestWithParam<BadIntegerCase>
{};

// Keys in the order LoadFromStrings reads them.
const std::vector<std::string> ReadOrder = {
    "FullScreen",
    "BgColor",
    "Course",
    "Progress",
    "TimeTotal",
    "KeyboardLayout",
    "PracticeFontName",
    "PracticeFontSize",
    "PracticeFontColor",
    "PracticeFontBold",
    "PracticeFontItalic",
    "TextFontName",
    "TextFontSize",
    "TextFontColor",
    "TextFontBold",
    "TextFontItalic",
    "HelpFile",
    "HighLight",
    "Blinking",
    "GameFontName",
    "GameFontSize",
    "GameFontColor",
    "GameFontBold",
    "GameFontItalic",
    "GameFontUnderLine",
    "GameFontStrikeOut",
    "GameBgColor",
    "FunSpeed",
    "GameEnabled",
    "GameSoundEnabled",
    "DrillSoundEnabled",
    "PopupAtEnd",
    "GScore1",
    "GScore2",
    "GScore3",
    "GScore4",
    "GScore5",
};

TEST_P(ProfileBadInteger, FailsNamingTheTextAndKeepsLaterFields)
{
    const auto& [badKey, badValue] = GetParam();
    TProfile p; // starts from the defaults
    p.LoadFromStrings({});
    std::vector<std::string> lines = FilledLines;
    for (std::string& line : lines)
        if (Key(line) == badKey)
            line = badKey + "=" + badValue;

    try {
        p.LoadFromStrings(lines);
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_STREQ(e.what(), ("'" + badValue + "' is not a valid integer value").c_str());
    }

    std::map<std::string, std::string> filled, defaults;
    for (std::size_t i = 0; i < FilledLines.size(); ++i) {
        filled[Key(FilledLines[i])] = FilledLines[i];
        defaults[Key(DefaultLines[i])] = DefaultLines[i];
    }
    const auto bad = std::ranges::find(ReadOrder, badKey);
    ASSERT_NE(bad, ReadOrder.end());
    for (const std::string& line : p.SaveToStrings()) {
        const bool readBefore = std::find(ReadOrder.begin(), bad, Key(line)) != bad;
        EXPECT_EQ(line, readBefore ? filled[Key(line)] : defaults[Key(line)]);
    }
}

INSTANTIATE_TEST_SUITE_P(Profile, ProfileBadInteger,
                         testing::Values(BadIntegerCase{"BgColor", "abc"},
                                         BadIntegerCase{"Progress", "abc"},
                                         BadIntegerCase{"PracticeFontSize", "12pt"},
                                         BadIntegerCase{"GameFontColor", "2147483648"},
                                         BadIntegerCase{"GameBgColor", " "},
                                         BadIntegerCase{"GScore5", "-"}));

TEST(Profile, LoadReplacesEveryStyleFlag)
{
    TProfile source;
    source.LoadFromStrings({});
    source.GameFont.StrikeOut = true;
    TProfile target = FilledProfile();
    const TFont allStyles{"x", 9, clRed, true, true, true, true};
    target.PracticeFont = target.TextFont = target.GameFont = allStyles;

    const auto lines = source.SaveToStrings();
    EXPECT_NE(std::ranges::find(lines, "GameFontStrikeOut=1"), lines.end());
    target.LoadFromStrings(lines);
    EXPECT_EQ(target.PracticeFont, source.PracticeFont);
    EXPECT_EQ(target.TextFont, source.TextFont);
    EXPECT_EQ(target.GameFont, source.GameFont);
    EXPECT_TRUE(target.GameFont.StrikeOut);
}

TEST(Profile, CopySettingsFromZeroesProgressTimeAndScores)
{
    const TProfile source = FilledProfile();
    TProfile copy;
    copy.UserName = "Bob";
    copy.CopySettingsFrom(source);

    EXPECT_EQ(copy.UserName, "Bob");
    EXPECT_EQ(copy.PracticeFont, source.PracticeFont);
    EXPECT_EQ(copy.TextFont, source.TextFont);
    EXPECT_EQ(copy.GameFont, source.GameFont);
    for (const std::string& line : copy.SaveToStrings()) {
        const std::string key = Key(line);
        const bool zeroed = key == "Progress" || key == "TimeTotal" || key.starts_with("GScore");
        EXPECT_EQ(line, zeroed ? key + "=0" : key + "=" + SavedValue(source, key));
    }
}

TEST(Profile, EventsReceiveTheProfileAndName)
{
    TProfile p;
    p.Load();
    p.Save(); // unset events do nothing

    p.UserName = "Ann";
    std::vector<std::string> seen;
    p.OnLoad = [&](TProfile& self, const std::string& name) {
        EXPECT_EQ(&self, &p);
        seen.push_back("load " + name);
    };
    p.OnSave = [&](TProfile& self, const std::string& name) {
        EXPECT_EQ(&self, &p);
        seen.push_back("save " + name);
    };
    p.Load();
    p.LoadAs("Bob");
    p.Save();
    p.SaveAs("Cy");
    EXPECT_EQ(seen, (std::vector<std::string>{"load Ann", "load Bob", "save Ann", "save Cy"}));
    EXPECT_EQ(p.UserName, "Ann");
}

struct TimeCase
{
    std::int32_t total;
    std::int32_t add;
    std::int32_t expected;
};

std::ostream& operator<<(std::ostream& out, const TimeCase& c)
{
    return out << c.total << " + " << c.add;
}

class ProfilePracticeTime : public testing::TestWithParam<TimeCase>
{};

TEST_P(ProfilePracticeTime, SaturatesInsteadOfWrapping)
{
    TProfile p;
    p.TimeTotal = GetParam().total;
    p.AddPracticeTime(GetParam().add);
    EXPECT_EQ(p.TimeTotal, GetParam().expected);
}

constexpr std::int32_t MaxTime = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t MinTime = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(Profile, ProfilePracticeTime,
                         testing::Values(TimeCase{3600000, 1500, 3601500},
                                         TimeCase{MaxTime - 1000, 1000, MaxTime},
                                         TimeCase{MaxTime - 1000, 1001, MaxTime},
                                         TimeCase{MaxTime, MaxTime, MaxTime},
                                         TimeCase{MinTime, -1, MinTime}));

} // namespace
