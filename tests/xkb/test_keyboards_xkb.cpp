// SPDX-License-Identifier: GPL-3.0-or-later
// Holds each shipped keyboard description against the XKB layout its users
// type on: every character row, struck as the row says (dead key first, then
// the key on its level), must give that character through the layout and
// the compose table the desktop uses.
#include "TestCodePage.h"
#include "base/CodePage.h"
#include "keyboard/KeyTypes.h"
#include "keyboard/KeyboardDescription.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>
#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

namespace {

// Every keyboard description in the source tree, by file name without ".kbd".
std::vector<std::string> ShippedKeyboards()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(TAPWREN_KEYBOARD_DIR))
        if (entry.path().extension() == ".kbd")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

template <typename T, void (*Free)(T*)> struct TFree
{
    void operator()(T* p) const { Free(p); }
};
using TContext = std::unique_ptr<xkb_context, TFree<xkb_context, xkb_context_unref>>;
using TKeymap = std::unique_ptr<xkb_keymap, TFree<xkb_keymap, xkb_keymap_unref>>;
using TState = std::unique_ptr<xkb_state, TFree<xkb_state, xkb_state_unref>>;
using TComposeTable =
    std::unique_ptr<xkb_compose_table, TFree<xkb_compose_table, xkb_compose_table_unref>>;
using TComposeState =
    std::unique_ptr<xkb_compose_state, TFree<xkb_compose_state, xkb_compose_state_unref>>;

bool TypesCharacters(std::int32_t keyType)
{
    return IsCharacterKey(keyType) || IsDeadKey(keyType);
}

// The XKB names of the keys of the main block's four character rows, left to
// right. An ISO keyboard has one key more left of the bottom row's letters,
// and the Brazilian ABNT2 keyboard one more again right of them (AB11).
const std::array<std::vector<std::string>, 4> RowKeyNames = {{
    {"TLDE", "AE01", "AE02", "AE03", "AE04", "AE05", "AE06", "AE07", "AE08", "AE09", "AE10", "AE11",
     "AE12"},
    {"AD01", "AD02", "AD03", "AD04", "AD05", "AD06", "AD07", "AD08", "AD09", "AD10", "AD11", "AD12",
     "BKSL"},
    {"AC01", "AC02", "AC03", "AC04", "AC05", "AC06", "AC07", "AC08", "AC09", "AC10", "AC11",
     "BKSL"},
    {"AB01", "AB02", "AB03", "AB04", "AB05", "AB06", "AB07", "AB08", "AB09", "AB10"},
}};

// KeyValue to XKB key name, from where the keys stand.
std::map<std::int32_t, std::string> XkbNames(const TKeyboardDescription& keyboard)
{
    std::map<std::int32_t, std::vector<const TKeyRow*>> rows;
    std::map<std::int32_t, std::string> names;
    for (const TKeyDescription& key : keyboard.Keys) {
        if (key.Row.Name == "Space")
            names[key.Row.KeyValue] = "SPCE";
        else if (TypesCharacters(key.Row.KeyType))
            rows[key.Row.Y].push_back(&key.Row);
    }
    EXPECT_EQ(rows.size(), RowKeyNames.size());
    std::size_t row = 0;
    for (auto& [y, keys] : rows) {
        std::sort(keys.begin(), keys.end(),
                  [](const TKeyRow* a, const TKeyRow* b) { return a->X < b->X; });
        std::vector<std::string> xkb = RowKeyNames.at(row++);
        if (row == RowKeyNames.size() && keys.size() > xkb.size())
            xkb.insert(xkb.begin(), "LSGT");
        if (row == RowKeyNames.size() && keys.size() > xkb.size())
            xkb.push_back("AB11");
        EXPECT_LE(keys.size(), xkb.size()) << "row at y=" << y;
        for (std::size_t i = 0; i < std::min(keys.size(), xkb.size()); ++i)
            names[keys[i]->KeyValue] = xkb[i];
    }
    return names;
}

class TLayout
{
public:
    TLayout(const char* layout, const char* variant)
        : context_(xkb_context_new(XKB_CONTEXT_NO_FLAGS))
    {
        const xkb_rule_names names{"evdev", "pc105", layout, variant, ""};
        keymap_.reset(
            xkb_keymap_new_from_names(context_.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
        compose_.reset(xkb_compose_table_new_from_locale(context_.get(), "en_US.UTF-8",
                                                         XKB_COMPOSE_COMPILE_NO_FLAGS));
    }

    bool Ready() const { return keymap_ && compose_; }

    // The keysym of the key with Shift and AltGr held as asked.
    xkb_keysym_t Strike(const std::string& key, bool shift, bool altGr) const
    {
        const TState state(xkb_state_new(keymap_.get()));
        if (shift)
            xkb_state_update_key(state.get(), Code("LFSH"), XKB_KEY_DOWN);
        if (altGr)
            xkb_state_update_key(state.get(), Code("RALT"), XKB_KEY_DOWN);
        return xkb_state_key_get_one_sym(state.get(), Code(key));
    }

    // The text a run of keysyms gives through the compose table.
    std::string Compose(const std::vector<xkb_keysym_t>& syms) const
    {
        const TComposeState state(
            xkb_compose_state_new(compose_.get(), XKB_COMPOSE_STATE_NO_FLAGS));
        std::string text;
        for (const xkb_keysym_t sym : syms) {
            xkb_compose_state_feed(state.get(), sym);
            switch (xkb_compose_state_get_status(state.get())) {
            case XKB_COMPOSE_COMPOSED: {
                std::array<char, 64> buffer{};
                xkb_compose_state_get_utf8(state.get(), buffer.data(), buffer.size());
                text += buffer.data();
                xkb_compose_state_reset(state.get());
                break;
            }
            case XKB_COMPOSE_NOTHING: {
                std::array<char, 8> buffer{};
                if (xkb_keysym_to_utf8(sym, buffer.data(), buffer.size()) > 0)
                    text += buffer.data();
                break;
            }
            case XKB_COMPOSE_COMPOSING:
            case XKB_COMPOSE_CANCELLED:
                break;
            }
        }
        return text;
    }

private:
    TContext context_;
    TKeymap keymap_;
    TComposeTable compose_;

    xkb_keycode_t Code(const std::string& name) const
    {
        const xkb_keycode_t code = xkb_keymap_key_by_name(keymap_.get(), name.c_str());
        EXPECT_NE(code, XKB_KEYCODE_INVALID) << name;
        return code;
    }
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool IsDeadKeysym(xkb_keysym_t sym)
{
    return sym >= XKB_KEY_dead_grave && sym <= XKB_KEY_dead_greek;
}

class XkbLayoutTest : public testing::TestWithParam<std::string>
{};

TEST_P(XkbLayoutTest, EveryCharacterRowTypesItsCharacter)
{
    const TKeyboardDescription keyboard =
        ParseKeyboardDescription(ReadFile(TAPWREN_KEYBOARD_DIR + GetParam() + ".kbd"), Cp1252());
    ASSERT_FALSE(keyboard.Xkb.empty()) << "the description names no XKB layout";
    const std::size_t open = keyboard.Xkb.find('(');
    const std::string layoutName = keyboard.Xkb.substr(0, open);
    const std::string variant = open == std::string::npos
                                    ? ""
                                    : keyboard.Xkb.substr(open + 1, keyboard.Xkb.size() - open - 2);
    const TLayout layout(layoutName.c_str(), variant.c_str());
    ASSERT_TRUE(layout.Ready()) << "no XKB data or compose table for " << keyboard.Xkb;
    const std::map<std::int32_t, std::string> xkbName = XkbNames(keyboard);
    std::map<std::int32_t, const TKeyRow*> keyByValue;
    for (const TKeyDescription& key : keyboard.Keys)
        keyByValue[key.Row.KeyValue] = &key.Row;

    for (const TCharRow& ch : keyboard.Chars) {
        const std::string expected = Cp1252().ToUtf8(std::string(1, static_cast<char>(ch.Code)));
        SCOPED_TRACE("character " + expected);
        ASSERT_TRUE(xkbName.contains(ch.KeyNo));
        std::vector<xkb_keysym_t> syms;
        if (ch.Accent != 0) {
            // The dead key is a key of its own, or the Shift level of another
            // dead key, or the AltGr level of a character key.
            const auto dead = std::find_if(keyByValue.begin(), keyByValue.end(), [&](auto& k) {
                return k.second->KeyType == ch.Accent || k.second->KeyType2 == ch.Accent;
            });
            ASSERT_NE(dead, keyByValue.end());
            const TKeyRow& key = *dead->second;
            const bool second = key.KeyType != ch.Accent;
            syms.push_back(layout.Strike(xkbName.at(key.KeyValue), second && key.KeyType >= 8,
                                         second && key.KeyType < 8));
            EXPECT_TRUE(IsDeadKeysym(syms.back())) << "the accent's key is no dead key";
        }
        syms.push_back(layout.Strike(xkbName.at(ch.KeyNo), ch.Shift, ch.AltGr));
        // A dead key's own accent: on this desktop the dead key twice.
        if (ch.Accent == 0 && IsDeadKeysym(syms.back()))
            syms.push_back(syms.back());
        EXPECT_EQ(layout.Compose(syms), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedKeyboards, XkbLayoutTest, testing::ValuesIn(ShippedKeyboards()),
                         [](const testing::TestParamInfo<std::string>& param) {
                             return param.param;
                         });

} // namespace
