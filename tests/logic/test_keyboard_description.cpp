// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestCodePage.h"
#include "base/CodePage.h"
#include "keyboard/KeyLookup.h"
#include "keyboard/KeyTypes.h"
#include "keyboard/KeyboardDescription.h"

#include <gtest/gtest.h>

namespace {

// Two keys in a row, a third placed by hand, and a dead key.
constexpr std::string_view Tiny = R"(# a comment
bkcolor #102030
author  Zoë
misc tiny
xkb us(alt-intl)
finger LLittle length=30 color=#FF0000
finger RThumb length=20 color=#00FF00
keysize width=20 height=22 gap=3
row x=5 y=7
key Q type=letter finger=LLittle base=q shift=Q altgr=@ hint="left \"little\""
key Acute type=acute dead2=grave finger=LLittle label=´ label2=`
key Space type=char finger=RThumb x=40 y=40 w=100
char " " key=Space name=Space
char é key=Q dead=acute
char È key=Q shift dead=grave
)";

TEST(KeyboardDescription, TinyKeyboard)
{
    const TKeyboardDescription keyboard = ParseKeyboardDescription(Tiny, Cp1252());
    EXPECT_EQ(keyboard.BkColor, RGBColor(0x10, 0x20, 0x30));
    EXPECT_EQ(keyboard.Author, "Zo\xEB");
    EXPECT_EQ(keyboard.Xkb, "us(alt-intl)");
    EXPECT_EQ(keyboard.FingerLength[RThumb], 20);
    EXPECT_EQ(keyboard.FingerColor[LLittle], RGBColor(255, 0, 0));

    ASSERT_EQ(keyboard.Keys.size(), 3u);
    const std::vector<TKeyRow> rows = {keyboard.Keys[0].Row, keyboard.Keys[1].Row,
                                       keyboard.Keys[2].Row};
    const std::vector<TKeyRow> expected = {
        {"Q", 1, KeyTypeLetter, 0, 0, "", 20, 22, 5, 7, "left \"little\""},
        {"Acute", 2, KeyTypeAcute, KeyTypeGrave, 0, "", 20, 22, 28, 7, ""},
        {"Space", 3, KeyTypeChar, 0, 5, "", 100, 22, 40, 40, ""},
    };
    EXPECT_EQ(rows, expected);
    // A letter key shows its capital only; other keys their level texts.
    EXPECT_EQ(keyboard.Keys[0].Label, "Q");
    EXPECT_EQ(keyboard.Keys[0].ShiftLabel, "");
    EXPECT_EQ(keyboard.Keys[0].AltGrLabel, "@");
    EXPECT_EQ(keyboard.Keys[1].Label, "´");
    EXPECT_EQ(keyboard.Keys[1].ShiftLabel, "`");

    const std::vector<TCharRow> chars = {
        {"q", 'q', 1, false, false, 0},
        {"Q", 'Q', 1, true, false, 0},
        {"@", '@', 1, false, true, 0},
        {"Space", ' ', 3, false, false, 0},
        {"\xE9", 0xE9, 1, false, false, KeyTypeAcute},
        {"\xC8", 0xC8, 1, true, false, KeyTypeGrave},
    };
    EXPECT_EQ(keyboard.Chars, chars);

    const std::string readmeStart = "bkcolor=3153936\nAuthor=Zo\xEB\nmisc=tiny\nLLittle=30\n";
    EXPECT_EQ(TemplateReadme(keyboard).substr(0, readmeStart.size()), readmeStart);

    TDataMod data(Cp1252());
    ASSERT_TRUE(data.LoadTemplateFromMemory(TemplateArchive(keyboard, Cp1252())));
    EXPECT_EQ(data.BkColor, keyboard.BkColor);
    EXPECT_EQ(data.FingerLength, keyboard.FingerLength);
    EXPECT_EQ(data.FingerColor, keyboard.FingerColor);
    EXPECT_EQ(FindKey(data, 0xC8).Finger, 0);
    EXPECT_EQ(FindKey(data, ' ').Finger, 5);
}

TEST(KeyboardDescription, FingerIndexMirrorsTheRightHand)
{
    const std::vector<TFingerName> byNumber = {LLittle, LRing,  LMiddle, LIndex, LThumb,
                                               RThumb,  RIndex, RMiddle, RRing,  RLittle};
    for (std::int32_t finger = 0; finger < 10; ++finger)
        EXPECT_EQ(FingerIndex(finger), static_cast<std::size_t>(byNumber[finger]));
}

struct BadLine
{
    std::string_view Line;
    std::string_view Message;
};

class KeyboardDescriptionError : public testing::TestWithParam<BadLine>
{};

// Each bad line follows three good ones, so the error names line 4.
TEST_P(KeyboardDescriptionError, NamesTheLine)
{
    const std::string text = "bkcolor #000000\n"
                             "finger LIndex length=40 color=#0000FF\n"
                             "key G type=letter finger=LIndex base=g\n" +
                             std::string(GetParam().Line) + "\n";
    try {
        ParseKeyboardDescription(text, Cp1252());
        FAIL() << "accepted: " << GetParam().Line;
    } catch (const TDescriptionError& error) {
        EXPECT_EQ(error.Line(), 4);
        EXPECT_EQ(error.what(), "line 4: " + std::string(GetParam().Message));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, KeyboardDescriptionError,
    testing::Values(
        BadLine{"keyboard us", "unknown directive keyboard"},
        BadLine{"key F type=letter finger=LIndex colour=red", "unknown field colour"},
        BadLine{"key F type=letter", "the field finger is missing"},
        BadLine{"key F type=letter finger=LPinky", "unknown finger LPinky"},
        BadLine{"key F type=letter finger=LRing", "describe the finger LRing before its keys"},
        BadLine{"key F type=hyper finger=LIndex", "unknown key type hyper"},
        BadLine{"key F type=tab finger=LIndex dead2=acute",
                "only character and dead keys have a dead key on their second level"},
        BadLine{"key F type=char finger=LIndex dead2=tab", "tab is not a dead key"},
        BadLine{"key F type=enter finger=LIndex base=x",
                "only character and dead keys type characters"},
        BadLine{"key F type=letter finger=LIndex w=0", "0 is less than 1"},
        BadLine{"key F type=letter finger=LIndex x=abc", "'abc' is not a number"},
        BadLine{"key F type=char finger=LIndex base=xy",
                "'xy' is not one character of code page 1252"},
        BadLine{"key F type=char finger=LIndex base=ł",
                "'ł' is not one character of code page 1252"},
        BadLine{"key F type=char finger=LIndex base=x shift=x", "'x' is typed on line 4 already"},
        BadLine{"key G type=char finger=LIndex", "there is a key G already"},
        BadLine{"key ABCDEFGHIJKLMNOPQRSTU type=char finger=LIndex",
                "'ABCDEFGHIJKLMNOPQRSTU' is longer than 20 characters"},
        BadLine{"key F type=char finger=LIndex label=\"F", "a quoted value has no closing quote"},
        BadLine{"key F type=char finger=LIndex type=letter", "the field type is given twice"},
        BadLine{"char x key=F", "there is no key F above this line"},
        BadLine{"char x key=G sideways", "unknown flag sideways"},
        BadLine{"char x key=G dead=acute", "no key above this line gives the dead key acute"},
        BadLine{"char g key=G", "'g' is typed on line 3 already"},
        BadLine{"bkcolor #123", "bkcolor is given on line 1 already"},
        BadLine{"finger LIndex length=1 color=#000000", "LIndex is described on line 2 already"},
        BadLine{"finger LRing length=1 color=red", "'red' is not a colour written #RRGGBB"},
        BadLine{"row x=1 y=2 z", "unexpected z"},
        BadLine{"xkb", "the XKB layout is missing"},
        BadLine{"xkb de nodeadkeys", "unexpected nodeadkeys"},
        BadLine{"xkb De", "bad XKB layout De, expected layout or layout(variant)"},
        BadLine{"xkb de(", "bad XKB layout de(, expected layout or layout(variant)"},
        BadLine{"xkb de()", "bad XKB layout de(), expected layout or layout(variant)"},
        BadLine{"xkb de;rm", "bad XKB layout de;rm, expected layout or layout(variant)"}));

TEST(KeyboardDescription, ABkColorIsRequired)
{
    try {
        ParseKeyboardDescription("finger LIndex length=40 color=#0000FF\n", Cp1252());
        FAIL() << "accepted a keyboard without colour";
    } catch (const TDescriptionError& error) {
        EXPECT_EQ(error.Line(), 0);
        EXPECT_STREQ(error.what(), "there is no bkcolor line");
    }
}

} // namespace
