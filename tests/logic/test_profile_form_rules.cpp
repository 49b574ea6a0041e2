// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeLayoutPlatform.h"
#include "base/Errors.h"
#include "layout/KeyboardLayoutAgent.h"
#include "profile/ProfileFormRules.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>

namespace {

std::unique_ptr<TKeyboardLayoutAgent> NewAgent()
{
    auto platform = std::make_unique<TFakeLayoutPlatform>();
    platform->Installed = {German(), French(), UsDvorak()};
    return std::make_unique<TKeyboardLayoutAgent>(std::move(platform));
}

// A profile with every field away from a new profile's.
TProfile Shown()
{
    TProfile p;
    p.UserName = "Ann";
    p.FullScreen = true;
    p.BgColor = SystemColor(COLOR_BTNFACE);
    p.Course = "English";
    p.Progress = 12;
    p.TimeTotal = 3600000;
    p.KeyboardLayout = "0000040C";
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
    p.GScore5 = 5;
    return p;
}

TEST(ProfileForm, ShowingAndReadingBackChangesNothing)
{
    const auto agent = NewAgent();
    const TProfile original = Shown();
    TProfile p = original;
    auto values = FormValuesOf(p);
    values.LayoutIndex = agent->IndexOfLayout(p.KeyboardLayout);
    ReadFormValues(values, *agent, false, p);
    EXPECT_EQ(p.SaveToStrings(), original.SaveToStrings());
}

TEST(ProfileForm, EveryShownFieldIsRead)
{
    const auto agent = NewAgent();
    TProfile p;
    auto values = FormValuesOf(Shown());
    values.LayoutIndex = 1;
    ReadFormValues(values, *agent, false, p);
    TProfile expected = Shown();
    // Not shown by the dialog, so a new profile's.
    expected.Progress = 0;
    expected.TimeTotal = 0;
    expected.HelpFile = "";
    expected.GameEnabled = false;
    expected.GScore1 = expected.GScore5 = 0;
    EXPECT_EQ(p.SaveToStrings(), expected.SaveToStrings());
    EXPECT_EQ(p.UserName, "");
}

TEST(ProfileForm, WithoutAChosenLayoutTheOtherFieldsAreAlreadyRead)
{
    const auto agent = NewAgent();
    TProfile p;
    p.KeyboardLayout = "00000407";
    p.Progress = 7;
    auto values = FormValuesOf(Shown());
    values.LayoutIndex = -1;
    EXPECT_THROW(ReadFormValues(values, *agent, true, p), TError);
    EXPECT_TRUE(p.FullScreen);
    EXPECT_TRUE(p.PopupAtEnd);
    EXPECT_EQ(p.KeyboardLayout, "00000407");
    EXPECT_EQ(p.Progress, 7);
}

TEST(ProfileForm, ANewUserStartsAtNoProgress)
{
    const auto agent = NewAgent();
    TProfile p = Shown();
    auto values = FormValuesOf(p);
    values.LayoutIndex = 0;
    ReadFormValues(values, *agent, true, p);
    EXPECT_EQ(p.Progress, 0);
    EXPECT_EQ(p.TimeTotal, 0);
    EXPECT_EQ(p.KeyboardLayout, "00000407");
}

struct SaveNewUserTest : testing::Test
{
    SaveNewUserTest()
    {
        current = Shown();
        current.OnSave = [this](TProfile& p, const std::string& name) {
            if (failSave)
                throw TError("Unable to write to twc.ini");
            saved[name] = p.SaveToStrings();
        };
        values = FormValuesOf(current);
        values.LayoutIndex = 2;
    }
    std::unique_ptr<TKeyboardLayoutAgent> agent = NewAgent();
    TProfile current;
    TProfileFormValues values;
    bool failSave = false;
    std::map<std::string, std::vector<std::string>> saved;
};

TEST_F(SaveNewUserTest, WritesTheValuesUnderTheNewNameWithNoProgress)
{
    const auto before = current.SaveToStrings();
    ASSERT_TRUE(SaveAsNewUser(current, values, *agent, "Bob"));
    ASSERT_EQ(saved.count("Bob"), 1u);
    TProfile bob;
    bob.LoadFromStrings(saved["Bob"]);
    EXPECT_EQ(bob.Progress, 0);
    EXPECT_EQ(bob.TimeTotal, 0);
    EXPECT_EQ(bob.GScore1, 0);
    EXPECT_EQ(bob.KeyboardLayout, "00010409");
    EXPECT_EQ(bob.PracticeFont, current.PracticeFont);
    EXPECT_EQ(bob.Course, "English");
    EXPECT_EQ(current.SaveToStrings(), before);
    EXPECT_EQ(current.UserName, "Ann");
}

TEST_F(SaveNewUserTest, AnyFailureAnswersFalse)
{
    failSave = true;
    EXPECT_FALSE(SaveAsNewUser(current, values, *agent, "Bob"));
    failSave = false;
    values.LayoutIndex = -1;
    EXPECT_FALSE(SaveAsNewUser(current, values, *agent, "Bob"));
    EXPECT_TRUE(saved.empty());
}

struct TimeCase
{
    std::int32_t Ms;
    const char* Text;
};

class PracticeTimeTest : public testing::TestWithParam<TimeCase>
{};

TEST_P(PracticeTimeTest, IsHoursMinutesSeconds)
{
    EXPECT_EQ(PracticeTimeText(GetParam().Ms), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Times, PracticeTimeTest,
                         testing::Values(TimeCase{0, "0 h 0 m 0 s"},
                                         TimeCase{3723000, "1 h 2 m 3 s"},
                                         TimeCase{90000000, "25 h 0 m 0 s"},
                                         TimeCase{59999, "0 h 0 m 59 s"},
                                         TimeCase{2147483647, "596 h 31 m 23 s"}));

struct NameCase
{
    const char* Typed;
    std::optional<std::string> Name;
};

class NewUserNameTest : public testing::TestWithParam<NameCase>
{};

TEST_P(NewUserNameTest, LosesTheBlanksAround)
{
    EXPECT_EQ(NewUserName(GetParam().Typed), GetParam().Name);
}

INSTANTIATE_TEST_SUITE_P(Names, NewUserNameTest,
                         testing::Values(NameCase{"", std::nullopt}, NameCase{"   ", std::nullopt},
                                         NameCase{" \t ", std::nullopt}, NameCase{"Ann", "Ann"},
                                         NameCase{"  Ann Lee  ", "Ann Lee"},
                                         NameCase{"\tBo ", "Bo"}));

TEST(NamesAnotherUser, OnlyAnotherStoredUserWithoutRegardToCase)
{
    const std::vector<std::string> users{"Ann", "Bob"};
    struct Case
    {
        const char* Name;
        bool Another;
    } cases[] = {{"Bob", true},   {"bOB", true},   {"Ann", false}, {"ANN", false},
                 {"Carl", false}, {"Bob ", false}, {"", false}};
    for (const auto& c : cases)
        EXPECT_EQ(NamesAnotherUser(users, "Ann", c.Name), c.Another) << c.Name;
}

TEST(PickerColors, EachCodeOnceAndSystemColoursAsReferences)
{
    std::set<TColor> codes;
    for (const auto& c : PickerColors())
        EXPECT_TRUE(codes.insert(c.Color).second) << c.Name;
    EXPECT_EQ(codes.count(RGBColor(128, 128, 128)), 1u);
    EXPECT_EQ(codes.count(SystemColor(COLOR_BTNFACE)), 1u);
    EXPECT_LT(SystemColor(COLOR_BTNFACE), 0);
}

} // namespace
