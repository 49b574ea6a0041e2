// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/LayoutList.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<TXkbLayoutName>;

const TXkbLayoutName Us{"us", ""};
const TXkbLayoutName De{"de", ""};
const TXkbLayoutName Fr{"fr", ""};
const TXkbLayoutName Dvorak{"us", "dvorak"};

TEST(LayoutList, ActivationAddsAtMostOneLayoutBehindTheUsersOwn)
{
    struct Case
    {
        Names own;
        TXkbLayoutName wanted;
        std::optional<TLayoutList> plan;
    };
    const Case cases[] = {
        {{Us, De}, De, TLayoutList{{Us, De}, 1}},
        {{Us}, De, TLayoutList{{Us, De}, 1}},
        {{Us}, Dvorak, TLayoutList{{Us, Dvorak}, 1}}, // a variant is a layout of its own
        {{Us, Fr, De}, Dvorak, TLayoutList{{Us, Fr, De, Dvorak}, 3}},
        {{Us, Fr, De, Dvorak}, {"es", ""}, std::nullopt}, // never a fifth group
        {{Us, Fr, De, Dvorak}, Fr, TLayoutList{{Us, Fr, De, Dvorak}, 1}},
        {{}, De, TLayoutList{{De}, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlanActivation(c.own, c.wanted), c.plan) << c.wanted.Layout << c.own.size();
}

TEST(LayoutList, OwnLayoutsLeaveOutWhatTheProgramAdded)
{
    // Added German is taken out, also when the user added French meanwhile.
    EXPECT_EQ(OwnLayouts({Us, De}, De, {Us}), (Names{Us}));
    EXPECT_EQ(OwnLayouts({Us, Fr, De}, De, {Us}), (Names{Us, Fr}));
    // A layout the user had all along stays.
    EXPECT_EQ(OwnLayouts({Us, De}, De, {Us, De}), (Names{Us, De}));
    EXPECT_EQ(OwnLayouts({Us, De}, std::nullopt, {Us}), (Names{Us, De}));
    // Switching back and forth never piles up added layouts.
    Names current{Us};
    std::optional<TXkbLayoutName> added;
    for (const auto& wanted : {De, Fr, De, Dvorak}) {
        const Names own = OwnLayouts(current, added, {Us});
        const auto plan = PlanActivation(own, wanted);
        ASSERT_TRUE(plan);
        current = plan->Layouts;
        added = wanted;
        EXPECT_EQ(current.size(), 2u) << wanted.Layout;
    }
}

TEST(LayoutList, RestoredListMakesTheRememberedLayoutActiveAgain)
{
    EXPECT_EQ(RestoredList({Us, Fr}, {{Us, Fr}, 1}), (TLayoutList{{Us, Fr}, 1}));
    // The user took a layout out meanwhile: the remembered one keeps its name.
    EXPECT_EQ(RestoredList({Fr}, {{Us, Fr}, 1}), (TLayoutList{{Fr}, 0}));
    EXPECT_EQ(RestoredList({Fr, De}, {{Us}, 0}), (TLayoutList{{Fr, De}, 0}));
}

TEST(LayoutList, TextOfTheRestoreFileRoundTripsAndRefusesWhatNoDesktopHas)
{
    const TLayoutList list{{Us, {"de", "nodeadkeys"}}, 1};
    EXPECT_EQ(LayoutListText(list), "us,de;,nodeadkeys;1");
    EXPECT_EQ(ParseLayoutListText("us,de;,nodeadkeys;1"), list);
    EXPECT_EQ(ParseLayoutListText("us;;0"), (TLayoutList{{Us}, 0}));
    for (const char* bad : {"", "us", "us;;", "us;;1", "us;;-1", "us;;0;x", ";;0",
                            "us,de,fr,es,it;;0", "us;x y;0", "us$(id);;0", "us;;0x"})
        EXPECT_EQ(ParseLayoutListText(bad), std::nullopt) << bad;
}

TEST(LayoutList, OnlyRegistryNamesArePlain)
{
    for (const char* name : {"us", "de", "nodeadkeys", "latin9", "mac_intl", "ara-azerty", ""})
        EXPECT_TRUE(IsPlainXkbName(name)) << name;
    for (const char* name : {"us,de", "us de", "de\"", "a;b", "x'y", "a\nb", "us(dvorak)"})
        EXPECT_FALSE(IsPlainXkbName(name)) << name;
}

} // namespace
