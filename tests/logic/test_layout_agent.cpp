// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeLayoutPlatform.h"
#include "base/Errors.h"
#include "layout/KeyboardLayoutAgent.h"
#include "layout/ManualSwitchHint.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace {

struct AgentTest : testing::Test
{
    // German and French installed, German loaded and active.
    AgentTest()
    {
        auto p = std::make_unique<TFakeLayoutPlatform>();
        p->Installed = {German(), French(), UsDvorak()};
        p->Loaded = {{{0x00000407, ""}}, 0};
        platform = p.get();
        agent = std::make_unique<TKeyboardLayoutAgent>(std::move(p));
    }
    TFakeLayoutPlatform* platform = nullptr;
    std::unique_ptr<TKeyboardLayoutAgent> agent;
};

TEST(LayoutIdText, IsEightUpperCaseDigitsAtLeast)
{
    EXPECT_EQ(FormatLayoutId(0x40C), "0000040C");
    EXPECT_EQ(FormatLayoutId(0x00010409), "00010409");
    EXPECT_EQ(FormatLayoutId(0xFFFFFFFF), "FFFFFFFF");
}

TEST_F(AgentTest, AvailableNamesAreNameDashIdentifier)
{
    agent->Refresh();
    EXPECT_EQ(agent->AvailableNames(),
              (std::vector<std::string>{"German - 00000407", "French - 0000040C",
                                        "English (Dvorak) - 00010409"}));
}

TEST_F(AgentTest, InfoDescribesLoadedAndActiveLayouts)
{
    platform->Loaded = {{{0x00000407, ""}, {0x00010409, ""}, {0x7000BEEF, "custom"}}, 1};
    agent->Refresh();
    EXPECT_EQ(agent->InfoLines(),
              (std::vector<std::string>{
                  "Loaded input locale identifiers:",
                  "  German (Germany) = German-0407",
                  "  English (United States) - English (Dvorak) = English (Dvorak)-0409",
                  "  custom = custom-0000",
                  "Current locale identifiers:",
                  "  Display name: English (United States) - English (Dvorak)",
                  "  Variantion name: English (Dvorak)",
                  "  Language: English (United States)",
                  "  Country: United States",
              }));
}

TEST_F(AgentTest, InfoListsAtMostSixteenLoadedLayouts)
{
    platform->Loaded.Items.assign(20, {0x0000040C, ""});
    agent->Refresh();
    // The two headings and five active-layout lines around the list.
    EXPECT_EQ(agent->InfoLines().size(), 16u + 6u);
}

TEST_F(AgentTest, ListsAreEmptyBeforeRefresh)
{
    EXPECT_TRUE(agent->InfoLines().empty());
    EXPECT_TRUE(agent->AvailableNames().empty());
}

TEST_F(AgentTest, InfoStaysAsAtRefreshAfterActivation)
{
    agent->Refresh();
    const auto before = agent->InfoLines();
    ASSERT_TRUE(agent->ActivateLayout("0000040C"));
    EXPECT_EQ(platform->Loaded.Active, 1);
    EXPECT_EQ(agent->InfoLines(), before);
    agent->BuildInfo();
    EXPECT_NE(agent->InfoLines(), before);
}

TEST_F(AgentTest, CreationAndRefreshLeaveTheInstalledLayoutsUnread)
{
    agent->Refresh();
    EXPECT_EQ(platform->InstalledReads, 0);
    agent->AvailableNames();
    agent->InfoLines();
    agent->IndexOfLayout("00000407");
    agent->ActivateLayout("00000407");
    EXPECT_EQ(platform->InstalledReads, 1);
}

struct IndexCase
{
    const char* Id;
    int Index;
};

class IndexOfLayoutTest : public AgentTest, public testing::WithParamInterface<IndexCase>
{};

TEST_P(IndexOfLayoutTest, ComparesTheExactText)
{
    EXPECT_EQ(agent->IndexOfLayout(GetParam().Id), GetParam().Index);
}

INSTANTIATE_TEST_SUITE_P(Ids, IndexOfLayoutTest,
                         testing::Values(IndexCase{"00000407", 0}, IndexCase{"0000040C", 1},
                                         IndexCase{"00010409", 2}, IndexCase{"0000040c", -1},
                                         IndexCase{"00000409", -1}, IndexCase{"40C", -1},
                                         IndexCase{"", -1}));

class BadIdTest : public AgentTest, public testing::WithParamInterface<const char*>
{};

TEST_P(BadIdTest, ActivationAnswersFalseWithoutAskingTheDesktop)
{
    EXPECT_FALSE(agent->ActivateLayout(GetParam()));
    EXPECT_TRUE(platform->Activations.empty());
}

INSTANTIATE_TEST_SUITE_P(Ids, BadIdTest,
                         testing::Values("", "0000040", "000004070", "0000040G", " 0000407",
                                         "0x00407", "-0000407", "00000409", "$; rm -rf /"));

TEST_F(AgentTest, ActivationTakesEitherCaseOfAnInstalledIdentifier)
{
    EXPECT_TRUE(agent->ActivateLayout("0000040c"));
    EXPECT_EQ(platform->Activations, std::vector<std::uint32_t>{0x40C});
}

TEST_F(AgentTest, ActivationFailsWhenTheDesktopRefuses)
{
    platform->Refuse = true;
    EXPECT_FALSE(agent->ActivateLayout("0000040C"));
    EXPECT_FALSE(agent->ActivateAvailable(1));
}

TEST_F(AgentTest, ActivateAvailableActivatesThePosition)
{
    EXPECT_TRUE(agent->ActivateAvailable(2));
    EXPECT_EQ(platform->Activations, std::vector<std::uint32_t>{0x00010409});
    EXPECT_EQ(agent->LayoutIdAt(1), "0000040C");
}

class PositionTest : public AgentTest, public testing::WithParamInterface<int>
{};

TEST_P(PositionTest, OutsideTheListRaisesTheIndexError)
{
    const std::string message = Format("List index out of bounds (%d)", GetParam());
    try {
        agent->ActivateAvailable(GetParam());
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_EQ(e.what(), message);
    }
    EXPECT_THROW(agent->LayoutIdAt(GetParam()), TError);
    EXPECT_TRUE(platform->Activations.empty());
}

INSTANTIATE_TEST_SUITE_P(Positions, PositionTest, testing::Values(-1, 3, 1000));

TEST_F(AgentTest, OriginalLayoutIsTheOneActiveAtCreation)
{
    agent->Refresh();
    ASSERT_TRUE(agent->ActivateLayout("0000040C"));
    EXPECT_EQ(agent->OriginalLayoutName(), "German");
    agent->SetOriginalLayoutName("Other");
    EXPECT_EQ(agent->OriginalLayoutName(), "Other");
}

TEST_F(AgentTest, RestoreBringsBackTheLayoutsOfCreation)
{
    ASSERT_TRUE(agent->ActivateLayout("00010409"));
    ASSERT_EQ(platform->Loaded.Items.size(), 2u);
    EXPECT_TRUE(agent->RestoreOriginalLayout());
    EXPECT_EQ(platform->Loaded.Items.size(), 1u);
    EXPECT_EQ(platform->Loaded.Active, 0);
}

TEST(AgentWithoutActiveLayout, HasAnEmptyOriginalNameAndEmptyCurrentLines)
{
    auto p = std::make_unique<TFakeLayoutPlatform>();
    p->Installed = {German()};
    TKeyboardLayoutAgent agent(std::move(p));
    agent.Refresh();
    EXPECT_EQ(agent.OriginalLayoutName(), "");
    EXPECT_EQ(agent.InfoLines().back(), "  Country: ");
}

} // namespace

namespace {

TEST_F(AgentTest, ManualSwitchHintOnlyWhereTheDesktopCannotSwitch)
{
    TManualSwitchHint hint;
    EXPECT_EQ(hint.Take(*agent, "00000407"), "") << "the agent switches layouts itself";

    platform->Switches = false;
    EXPECT_EQ(hint.Take(*agent, "00000407"),
              "This course is for the German keyboard. Switch your keyboard layout to German.");
    EXPECT_EQ(hint.Take(*agent, "00000407"), "") << "told once";
    // Another layout (the profile changed) is told again; an identifier no
    // installed layout has is told as it stands.
    EXPECT_NE(hint.Take(*agent, "0000040C").find("French keyboard"), std::string::npos);
    EXPECT_NE(hint.Take(*agent, "0000ABCD").find("the 0000ABCD keyboard"), std::string::npos);
}

} // namespace

namespace {

struct RestoreFileTest : AgentTest
{
    RestoreFileTest()
    {
        folder = std::filesystem::temp_directory_path() /
                 ("tapwren-restore-" + std::to_string(::getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        path = (folder / "twlayout.ini").string();
    }
    ~RestoreFileTest() override { std::filesystem::remove_all(folder); }

    // A second run on the same desktop, as the agent of a new start.
    std::unique_ptr<TKeyboardLayoutAgent> NextStart(TFakeLayoutPlatform*& next) const
    {
        auto p = std::make_unique<TFakeLayoutPlatform>();
        p->Installed = platform->Installed;
        p->Loaded = platform->Loaded;
        next = p.get();
        return std::make_unique<TKeyboardLayoutAgent>(std::move(p));
    }

    std::filesystem::path folder;
    std::string path;
};

TEST_F(RestoreFileTest, RecordedBeforeTheFirstSwitchAndGoneOnceRestored)
{
    agent->KeepRestoreFile(path);
    EXPECT_FALSE(std::filesystem::exists(path)) << "nothing switched yet";
    ASSERT_TRUE(agent->ActivateLayout("0000040C"));
    EXPECT_EQ(TLayoutRestoreFile(path).Read("fake"), std::optional<std::string>("407 ;0"));
    ASSERT_TRUE(agent->ActivateLayout("00000407"));
    EXPECT_EQ(TLayoutRestoreFile(path).Read("fake"), std::optional<std::string>("407 ;0"))
        << "the layouts before the first switch, not those of a later one";
    EXPECT_TRUE(agent->RestoreOriginalLayout());
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(RestoreFileTest, NextStartPutsBackWhatACrashedRunLeft)
{
    agent->KeepRestoreFile(path);
    ASSERT_TRUE(agent->ActivateLayout("0000040C"));
    // Killed: the run never restores.
    ASSERT_EQ(platform->Loaded.Active, 1);

    TFakeLayoutPlatform* next = nullptr;
    auto again = NextStart(next);
    again->KeepRestoreFile(path);
    EXPECT_EQ(next->RestoredStates, std::vector<std::string>{"407 ;0"});
    EXPECT_EQ(next->Loaded.Items.size(), 1u);
    EXPECT_EQ(again->OriginalLayoutName(), "German") << "the user's own, not the one left behind";
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(RestoreFileTest, OtherDesktopsSectionsStayAndNoFileWithoutTheOwnersWish)
{
    TLayoutRestoreFile(path).Write("x11", "us;;0");
    agent->KeepRestoreFile(path);
    EXPECT_TRUE(platform->RestoredStates.empty());
    ASSERT_TRUE(agent->ActivateLayout("0000040C"));
    ASSERT_TRUE(agent->RestoreOriginalLayout());
    EXPECT_EQ(TLayoutRestoreFile(path).Read("x11"), std::optional<std::string>("us;;0"));
    EXPECT_EQ(TLayoutRestoreFile(path).Read("fake"), std::nullopt);

    TFakeLayoutPlatform* next = nullptr;
    auto without = NextStart(next);
    ASSERT_TRUE(without->ActivateLayout("0000040C"));
    EXPECT_EQ(TLayoutRestoreFile(path).Read("fake"), std::nullopt);
}

} // namespace
