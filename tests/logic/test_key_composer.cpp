// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyComposer.h"

#include <gtest/gtest.h>
#include <vector>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace {

using Step = TKeyComposer::TStep;

struct ComposeCase
{
    const char* Name;
    std::vector<std::uint32_t> Keys;
    std::vector<Step> Steps;
    std::string Composed; // after the last key
};

class KeyComposer : public testing::TestWithParam<ComposeCase>
{};

TEST_P(KeyComposer, ComposesInTheOrderStruck)
{
    TKeyComposer composer("C.UTF-8");
    if (composer.Feed(XKB_KEY_dead_acute) != Step::Swallow)
        GTEST_SKIP() << "no compose table for C.UTF-8";
    composer.Reset();
    const ComposeCase& c = GetParam();
    std::vector<Step> steps;
    for (const std::uint32_t key : c.Keys)
        steps.push_back(composer.Feed(key));
    EXPECT_EQ(steps, c.Steps);
    if (steps.back() == Step::Composed) {
        EXPECT_EQ(composer.Composed(), c.Composed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    DeadKeys, KeyComposer,
    testing::Values(ComposeCase{"CircumflexE",
                                {XKB_KEY_dead_circumflex, XKB_KEY_e},
                                {Step::Swallow, Step::Composed},
                                "ê"},
                    ComposeCase{"ShiftInBetween",
                                {XKB_KEY_dead_acute, XKB_KEY_Shift_L, XKB_KEY_E},
                                {Step::Swallow, Step::Pass, Step::Composed},
                                "É"},
                    ComposeCase{"SpaceGivesTheAccent",
                                {XKB_KEY_dead_circumflex, XKB_KEY_space},
                                {Step::Swallow, Step::Composed},
                                "^"},
                    ComposeCase{"NothingComposesWithX",
                                {XKB_KEY_dead_circumflex, XKB_KEY_x, XKB_KEY_x},
                                {Step::Swallow, Step::Swallow, Step::Pass},
                                ""},
                    ComposeCase{"PlainKeysPass",
                                {XKB_KEY_a, XKB_KEY_EuroSign, XKB_KEY_at},
                                {Step::Pass, Step::Pass, Step::Pass},
                                ""},
                    ComposeCase{"NoKeySymbol", {0}, {Step::Pass}, ""}),
    [](const testing::TestParamInfo<ComposeCase>& c) { return std::string(c.param.Name); });

TEST(KeyComposerWithoutTables, PassesEveryKey)
{
    TKeyComposer composer("xx_NOWHERE.nothing");
    EXPECT_EQ(composer.Feed(XKB_KEY_dead_circumflex), Step::Pass);
    EXPECT_EQ(composer.Feed(XKB_KEY_e), Step::Pass);
}

} // namespace
