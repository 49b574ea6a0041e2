// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadedTemplate.h"
#include "TestCodePage.h"
#include "base/CodePage.h"
#include "keyboard/KeyFace.h"
#include "keyboard/KeyTypes.h"
#include "keyboard/KeyboardState.h"
#include "keyboard/MainData.h"
#include "keyboard/ZipArchive.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {

// In Name order, as the buttons are built.
const std::vector<TKeyRow> Keys = {
    {.Name = "A", .KeyValue = 65, .KeyType = KeyTypeLetter, .Finger = 0},
    {.Name = "Alt", .KeyValue = 1000, .KeyType = KeyTypeAltGr, .Finger = 5},
    {.Name = "B", .KeyValue = 66, .KeyType = KeyTypeChar, .Finger = 3},
    {.Name = "Back", .KeyValue = 8, .KeyType = KeyTypeBackspace, .Finger = 9},
    {.Name = "Caps", .KeyValue = 20, .KeyType = KeyTypeCapsLock},
    {.Name = "Grave", .KeyValue = 2001, .KeyType = KeyTypeGrave},
    {.Name = "LShift", .KeyValue = 1002, .KeyType = KeyTypeLeftShift},
    {.Name = "RShift", .KeyValue = 1003, .KeyType = KeyTypeRightShift, .Finger = 9},
    {.Name = "Tilde", .KeyValue = 2004, .KeyType = KeyTypeTilde},
};
const std::vector<TCharRow> Chars = {
    {.Name = "a", .Code = 'a', .KeyNo = 65},
    {.Name = "A", .Code = 'A', .KeyNo = 65, .Shift = true},
    {.Name = "b", .Code = 'b', .KeyNo = 66},
    {.Name = "backspace", .Code = 8, .KeyNo = 8},
    {.Name = "grave", .Code = '`', .KeyNo = 2001},
};
constexpr std::size_t A = 0, Alt = 1, B = 2, Back = 3, Grave = 5, LShift = 6, RShift = 7, Tilde = 8;

// The buttons and the indices OnChange reported.
struct TButtons
{
    TKeyButtons Keys;
    std::vector<std::size_t> Changed;

    explicit TButtons(bool blinking)
    {
        Keys.Build(KeyTable(::Keys), blinking);
        Keys.OnChange = [this](std::size_t button) { Changed.push_back(button); };
    }
    std::vector<std::size_t> Down() const
    {
        std::vector<std::size_t> down;
        for (std::size_t i = 0; i < Keys.Count(); ++i)
            if (Keys[i].Down)
                down.push_back(i);
        return down;
    }
};

TEST(KeyGroup, FollowsTheKeyType)
{
    const std::vector<std::pair<std::int32_t, int>> cases = {
        {-5, 1},   {0, 1},    {1, 1},       {7, 1},       {8, 0},    {9, 0},       {13, 0},
        {20, 20},  {46, 0},   {999, 0},     {1000, 1000}, {1001, 0}, {1002, 1002}, {1003, 1002},
        {1004, 0}, {2000, 0}, {2001, 2000}, {2008, 2000}, {2009, 0},
    };
    for (const auto& [keyType, group] : cases)
        EXPECT_EQ(KeyGroup(keyType), group) << keyType;
}

TEST(KeyExtent, GivesTheFrameTenPixelsBeyondTheKeys)
{
    EXPECT_EQ(KeyExtent(KeyTable({})), (TKeyExtent{0, 0}));
    EXPECT_EQ(FitToKeys(KeyExtent(KeyTable({}))), (TFrameSize{10, 10}));

    const TTable keys = KeyTable({
        {.Name = "wide", .Width = 395, .Height = 20, .X = 5, .Y = 5},
        {.Name = "low", .Width = 30, .Height = 26, .X = 100, .Y = 124},
        {.Name = "off", .Width = 50, .Height = 50, .X = -60, .Y = -60},
    });
    EXPECT_EQ(KeyExtent(keys), (TKeyExtent{400, 150}));
    EXPECT_EQ(FitToKeys(KeyExtent(keys)), (TFrameSize{410, 160}));

    constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
    const TTable huge = KeyTable({{.Name = "far", .Width = Max, .Height = Max, .X = Max, .Y = 1}});
    EXPECT_EQ(FitToKeys(KeyExtent(huge)), (TFrameSize{Max, Max}));
}

TEST(KeyButtons, KeepOneButtonOfAGroupDown)
{
    TButtons buttons(false);
    ASSERT_EQ(buttons.Keys.Count(), Keys.size());
    EXPECT_EQ(buttons.Keys[A].Group, 1);
    EXPECT_EQ(buttons.Keys[Tilde].Group, 2000);

    buttons.Keys.SetDown(LShift, true);
    buttons.Keys.SetDown(A, true);
    buttons.Keys.SetDown(Grave, true);
    EXPECT_EQ(buttons.Down(), (std::vector<std::size_t>{A, Grave, LShift}));

    // Right Shift lifts left Shift; B lifts A (kinds 1 and 2 share a group).
    buttons.Changed.clear();
    buttons.Keys.SetDown(RShift, true);
    buttons.Keys.SetDown(B, true);
    EXPECT_EQ(buttons.Down(), (std::vector<std::size_t>{B, Grave, RShift}));
    EXPECT_EQ(buttons.Changed, (std::vector<std::size_t>{LShift, RShift, A, B}));

    // Group 0 never goes down; anything may go up; nothing changing tells nothing.
    buttons.Changed.clear();
    buttons.Keys.SetDown(Back, true);
    buttons.Keys.SetDown(Alt, false);
    buttons.Keys.SetDown(B, true);
    EXPECT_TRUE(buttons.Changed.empty());
    buttons.Keys.SetDown(Grave, false);
    EXPECT_EQ(buttons.Down(), (std::vector<std::size_t>{B, RShift}));
    EXPECT_EQ(buttons.Changed, (std::vector<std::size_t>{Grave}));
}

TEST(KeyButtons, SteadyMarkSwapsTheFaceBlinkingMarkDoesNot)
{
    TButtons steady(false);
    steady.Keys.SetHighlight(A, true);
    EXPECT_TRUE(steady.Keys[A].Down && steady.Keys[A].Inverted);
    steady.Keys.SetHighlight(Back, true);
    EXPECT_TRUE(!steady.Keys[Back].Down && steady.Keys[Back].Inverted);
    steady.Keys.SetHighlight(A, false);
    EXPECT_TRUE(!steady.Keys[A].Down && !steady.Keys[A].Inverted);

    TButtons blinking(true);
    blinking.Keys.SetHighlight(A, true);
    EXPECT_TRUE(blinking.Keys[A].Down && !blinking.Keys[A].Inverted);
    blinking.Keys.SetHighlight(Back, true);
    EXPECT_TRUE(!blinking.Keys[Back].Down && !blinking.Keys[Back].Inverted);
    EXPECT_EQ(blinking.Changed, (std::vector<std::size_t>{A}));
}

TEST(KeyboardState, SteadyMarkStaysUntilTheNextKey)
{
    const TDataMod data = Loaded(Keys, Chars);
    TButtons buttons(false);
    TKeyboardState state;
    state.Blinking = false;

    EXPECT_EQ(state.ShowKey(buttons.Keys, data, 'A'), 0); // the key, not Shift
    EXPECT_EQ(state.Highlighted(), A);
    EXPECT_EQ(buttons.Down(), std::vector<std::size_t>{A});
    EXPECT_EQ(state.ShowKey(buttons.Keys, data, 'b'), 3);
    EXPECT_EQ(buttons.Down(), std::vector<std::size_t>{B});
    EXPECT_FALSE(buttons.Keys[A].Inverted);
    EXPECT_TRUE(buttons.Keys[B].Inverted);

    // A tick presses a lifted mark again and otherwise changes nothing.
    buttons.Keys.SetDown(B, false);
    buttons.Changed.clear();
    state.Tick(buttons.Keys);
    state.Tick(buttons.Keys);
    EXPECT_EQ(buttons.Changed, std::vector<std::size_t>{B});
    EXPECT_TRUE(buttons.Keys[B].Down && buttons.Keys[B].Inverted);

    // A key of group 0 shows its negative face, never pressed.
    EXPECT_EQ(state.ShowKey(buttons.Keys, data, 8), 9);
    state.Tick(buttons.Keys);
    EXPECT_TRUE(buttons.Down().empty());
    EXPECT_TRUE(buttons.Keys[Back].Inverted);
    EXPECT_FALSE(buttons.Keys[B].Inverted);
}

TEST(KeyboardState, BlinkingMarkGoesDownAndUpWithOnePhase)
{
    const TDataMod data = Loaded(Keys, Chars);
    TButtons buttons(true);
    TKeyboardState state;

    state.Tick(buttons.Keys); // nothing marked: the phase stays
    EXPECT_TRUE(state.Phase());
    state.ShowKey(buttons.Keys, data, 'a');
    EXPECT_TRUE(buttons.Keys[A].Down);
    std::vector<bool> down;
    for (int tick = 0; tick < 3; ++tick) {
        state.Tick(buttons.Keys);
        down.push_back(buttons.Keys[A].Down);
    }
    EXPECT_EQ(down, (std::vector<bool>{true, false, true}));
    EXPECT_FALSE(state.Phase());

    // The next key takes the phase where it stands.
    state.ShowKey(buttons.Keys, data, '`');
    EXPECT_EQ(buttons.Down(), std::vector<std::size_t>{Grave});
    state.Tick(buttons.Keys);
    EXPECT_TRUE(buttons.Down().empty());
    for (std::size_t i = 0; i < buttons.Keys.Count(); ++i)
        EXPECT_FALSE(buttons.Keys[i].Inverted);

    // Group 0 with blinking: no mark at all.
    state.ShowKey(buttons.Keys, data, 8);
    for (int tick = 0; tick < 2; ++tick) {
        state.Tick(buttons.Keys);
        EXPECT_TRUE(buttons.Down().empty());
    }
}

TEST(KeyboardState, MissingCharacterLeavesNoKeyMarked)
{
    const TDataMod data = Loaded(Keys, Chars);
    TButtons buttons(false);
    TKeyboardState state;
    state.Blinking = false;
    state.ShowKey(buttons.Keys, data, 'a');
    for (const unsigned char code : {'\0', 'z'}) {
        EXPECT_GT(state.ShowKey(buttons.Keys, data, code), 9);
        EXPECT_EQ(state.Highlighted(), std::nullopt);
        EXPECT_TRUE(buttons.Down().empty());
        EXPECT_FALSE(buttons.Keys[A].Inverted);
    }
}

TEST(KeyboardState, KeyWithoutAButtonIsNotMarked)
{
    // The buttons were built from a shorter key table than the data's.
    const TDataMod data = Loaded(Keys, Chars);
    TKeyButtons buttons;
    buttons.Build(KeyTable({Keys[0], Keys[1]}), false);
    TKeyboardState state;
    EXPECT_EQ(state.ShowKey(buttons, data, 'a'), 0);
    EXPECT_EQ(state.ShowKey(buttons, data, '`'), 0);
    EXPECT_EQ(state.Highlighted(), std::nullopt);
    state.Tick(buttons);

    // A mark left from before a rebuild with fewer buttons is dropped safely.
    TButtons full(false);
    state.ShowKey(full.Keys, data, '`');
    EXPECT_EQ(state.Highlighted(), Grave);
    state.Tick(buttons);
    state.ShowKey(buttons, data, 'a');
    EXPECT_EQ(state.Highlighted(), A);
    state.Loaded();
    EXPECT_EQ(state.Highlighted(), std::nullopt);
}

TEST(KeyFace, InvertGlyphNegatesAndGreysTheBottomLeftPixel)
{
    // 2 x 2, rows top first; alpha bytes are kept.
    std::vector<std::uint32_t> pixels = {0xFF102030, 0xFFFFFFFF, 0xFF000000, 0x00A0B0C0};
    InvertGlyph({pixels, 2});
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{0xFFEFDFCF, 0xFF000000, 0xFF808080, 0x005F4F3F}));
    EXPECT_EQ(KeyColor({pixels, 2}), InvertedKeyColor);

    std::vector<std::uint32_t> none;
    InvertGlyph({none, 0});
    EXPECT_EQ(KeyColor({none, 0}), std::nullopt);
    std::vector<std::uint32_t> column = {0xFF000001, 0xFF000002, 0xFF000003};
    EXPECT_EQ(KeyColor({column, 1}), 3u);
}

TEST(KeyFace, BottomLeftColourBecomesTransparent)
{
    std::vector<std::uint32_t> pixels = {0xFF123456, 0xFF000000, 0xFF654321,
                                         0xFF123456, 0xFF123456, 0x00000000};
    MaskKeyColor({pixels, 3});
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{0, 0xFF000000, 0xFF654321, 0, 0, 0xFF000000}));
}

} // namespace
