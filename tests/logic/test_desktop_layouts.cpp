// SPDX-License-Identifier: GPL-3.0-or-later
// What each Wayland desktop's backend reads from its desktop's answers and
// what it asks of it; the desktops themselves are tested in tests/wayland.
#include "base/Json.h"
#include "layout/GnomeLayoutPlatform.h"
#include "layout/HyprlandLayoutPlatform.h"
#include "layout/KdeLayoutPlatform.h"
#include "layout/SwayLayoutPlatform.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<TXkbLayoutName>;
const TXkbLayoutName Us{"us", ""};
const TXkbLayoutName De{"de", ""};
const TXkbLayoutName DeNoDead{"de", "nodeadkeys"};

TEST(Json, ReadsWhatTheDesktopsAnswerAndRefusesTheRest)
{
    const auto value = TJson::Parse(R"j( [{"a": "x\u00e9\"", "n": -1.5e1, "t": true, "z": null,
                                          "l": [1, [], {}]}] )j");
    ASSERT_TRUE(value);
    const TJson& first = value->Items().at(0);
    EXPECT_EQ(first["a"].Text(), "x\xc3\xa9\"");
    EXPECT_EQ(first["n"].Number(0), -15);
    EXPECT_TRUE(first["t"].Flag(false));
    EXPECT_TRUE(first["z"].IsNull());
    EXPECT_TRUE(first["missing"].IsNull());
    EXPECT_EQ(first["l"].Items().size(), 3u);
    EXPECT_EQ(TJson::Parse("\"\\ud83d\\ude00\"")->Text(), "\xf0\x9f\x98\x80");
    for (const char* bad :
         {"", "[", "{\"a\" 1}", "[1,]", "\"\\x\"", "tru", "[1] 2", "\"open", "\"\\ud83d\\u0041\""})
        EXPECT_FALSE(TJson::Parse(bad)) << bad;
    EXPECT_FALSE(TJson::Parse(std::string(1000, '['))) << "nesting beyond any answer";
}

TEST(SwayLayouts, FirstKeyboardWithLayoutsAndTheQuotedCommands)
{
    const auto inputs = TJson::Parse(R"j([
        {"identifier": "0:0:virtual_keyboard", "type": "keyboard", "xkb_layout_names": []},
        {"identifier": "1:1:mouse", "type": "pointer"},
        {"identifier": "1:1:AT", "type": "keyboard", "xkb_layout_names": ["English (US)", "German"],
         "xkb_active_layout_index": 1}])j");
    ASSERT_TRUE(inputs);
    const auto layouts = TSwayLayoutPlatform::KeyboardLayouts(*inputs);
    ASSERT_TRUE(layouts);
    EXPECT_EQ(layouts->first, (std::vector<std::string>{"English (US)", "German"}));
    EXPECT_EQ(layouts->second, 1);
    // Only virtual keyboards, which bring their own keymap: nothing to switch.
    EXPECT_FALSE(TSwayLayoutPlatform::KeyboardLayouts(
        *TJson::Parse(R"j([{"type": "keyboard", "xkb_layout_names": []}])j")));

    EXPECT_EQ(TSwayLayoutPlatform::Commands({{Us, DeNoDead}, 1}, true),
              "input type:keyboard xkb_layout \"us,de\"; input type:keyboard xkb_variant "
              "\",nodeadkeys\"; input type:keyboard xkb_switch_layout 1");
    EXPECT_EQ(TSwayLayoutPlatform::Commands({{Us, De}, 0}, false),
              "input type:keyboard xkb_switch_layout 0");
}

TEST(HyprlandLayouts, MainKeyboardAndTheCallsWithoutAShell)
{
    const auto devices = TJson::Parse(R"j({"mice": [], "keyboards": [
        {"name": "power-button", "layout": "us", "variant": "", "active_keymap": "English (US)"},
        {"name": "at-translated-set-2-keyboard", "layout": "us,de", "variant": ",nodeadkeys",
         "active_keymap": "German (no dead keys)", "main": true}]})j");
    ASSERT_TRUE(devices);
    const auto keyboard = THyprlandLayoutPlatform::MainKeyboard(*devices);
    ASSERT_TRUE(keyboard);
    EXPECT_EQ(keyboard->Name, "at-translated-set-2-keyboard");
    EXPECT_EQ(keyboard->Layouts, (Names{Us, DeNoDead}));
    EXPECT_EQ(keyboard->ActiveDescription, "German (no dead keys)");
    EXPECT_FALSE(THyprlandLayoutPlatform::MainKeyboard(*TJson::Parse(R"j({"keyboards": []})j")));

    using Calls = std::vector<std::vector<std::string>>;
    EXPECT_EQ(THyprlandLayoutPlatform::Calls("kb", {{Us, DeNoDead}, 1}, true),
              (Calls{{"hyprctl", "keyword", "input:kb_layout", "us,de"},
                     {"hyprctl", "keyword", "input:kb_variant", ",nodeadkeys"},
                     {"hyprctl", "switchxkblayout", "kb", "1"}}));
    EXPECT_EQ(THyprlandLayoutPlatform::Calls("kb", {{Us, De}, 0}, false),
              (Calls{{"hyprctl", "switchxkblayout", "kb", "0"}}));
}

TEST(GnomeLayouts, SourcesAndTheMostRecentGiveTheList)
{
    struct Case
    {
        TInputSources sources, mostRecent;
        std::optional<TLayoutList> list;
    };
    const Case cases[] = {
        {{{"xkb", "us"}, {"xkb", "de+nodeadkeys"}},
         {{"xkb", "de+nodeadkeys"}, {"xkb", "us"}},
         TLayoutList{{Us, DeNoDead}, 1}},
        // A most-recent source no longer listed is passed over.
        {{{"xkb", "us"}, {"xkb", "de"}}, {{"xkb", "fr"}, {"xkb", "de"}}, TLayoutList{{Us, De}, 1}},
        {{{"xkb", "us"}}, {}, TLayoutList{{Us}, 0}},
        {{}, {}, std::nullopt},
        {{{"xkb", "us"}, {"ibus", "anthy"}}, {}, std::nullopt}, // an input method: the user's
    };
    for (const Case& c : cases)
        EXPECT_EQ(LayoutListOfSources(c.sources, c.mostRecent), c.list) << c.sources.size();
}

TEST(GnomeLayouts, SwitchingMakesTheLayoutTheOnlySourceThenWritesTheList)
{
    const auto writes = GnomeSwitchWrites({{Us, De, DeNoDead}, 1});
    const TInputSources all{{"xkb", "us"}, {"xkb", "de"}, {"xkb", "de+nodeadkeys"}};
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(std::string(writes[0].Key), "mru-sources");
    EXPECT_EQ(writes[0].Value,
              (TInputSources{{"xkb", "de"}, {"xkb", "us"}, {"xkb", "de+nodeadkeys"}}));
    EXPECT_EQ(std::string(writes[1].Key), "sources");
    EXPECT_EQ(writes[1].Value, (TInputSources{{"xkb", "de"}}));
    EXPECT_EQ(std::string(writes[2].Key), "sources");
    EXPECT_EQ(writes[2].Value, all);
    // Read back as GNOME then has it: the list, with the layout active.
    EXPECT_EQ(LayoutListOfSources(writes[2].Value, writes[0].Value),
              (TLayoutList{{Us, De, DeNoDead}, 1}));
}

TEST(KdeLayouts, VariantsFromKxkbrcWhenItListsTheServicesLayouts)
{
    const auto byDescription = [](const std::string& d) -> std::optional<TXkbLayoutName> {
        if (d == "German (no dead keys)")
            return DeNoDead;
        if (d == "English (US)")
            return Us;
        return std::nullopt;
    };
    const std::vector<TKdeLayoutNames> listed{{"us", "", "English (US)"},
                                              {"de", "", "German (no dead keys)"}};
    EXPECT_EQ(KdeLayouts(listed, "us,de", ",nodeadkeys", byDescription), (Names{Us, DeNoDead}));
    // kxkbrc out of step with the service (or none): the long names say.
    EXPECT_EQ(KdeLayouts(listed, "us", "", byDescription), (Names{Us, DeNoDead}));
    EXPECT_EQ(KdeLayouts({{"fr", "", "French (custom)"}}, "", "", byDescription),
              (Names{{"fr", ""}}));
}

} // namespace
