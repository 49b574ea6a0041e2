// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadedTemplate.h"
#include "TestCodePage.h"
#include "base/CodePage.h"
#include "keyboard/KeyLookup.h"
#include "keyboard/KeyTypes.h"
#include "keyboard/MainData.h"
#include "keyboard/ZipArchive.h"

#include <gtest/gtest.h>

namespace {

TEST(FindKey, FindsTheBaseKeyAndItsFinger)
{
    // Stored out of Name order: the button index is the position in Name order.
    const TDataMod data = Loaded(
        {
            {.Name = "Z", .KeyValue = 90, .KeyType = KeyTypeLetter, .Finger = 0},
            {.Name = "E", .KeyValue = 69, .KeyType = KeyTypeLetter, .Finger = 2},
            {.Name = "LShift", .KeyValue = 1002, .KeyType = KeyTypeLeftShift, .Finger = 0},
            {.Name = "A", .KeyValue = 65, .KeyType = KeyTypeLetter, .Finger = 0},
            {.Name = "Circumflex", .KeyValue = 2003, .KeyType = KeyTypeCircumflex, .Finger = 0},
            {.Name = "Spare", .KeyValue = 77, .Finger = 6},
            {.Name = "M", .KeyValue = 77, .Finger = 7},
            {.Name = "Odd", .KeyValue = 5, .Finger = -1},
        },
        {
            {.Name = "A", .Code = 'A', .KeyNo = 65, .Shift = true},
            {.Name = "e circumflex", .Code = 0xEA, .KeyNo = 69, .Accent = KeyTypeCircumflex},
            {.Name = "euro", .Code = 0x80, .KeyNo = 69, .AltGr = true},
            {.Name = "e", .Code = 'e', .KeyNo = 90},
            {.Name = "e again", .Code = 'e', .KeyNo = 69},
            {.Name = "m", .Code = 'm', .KeyNo = 77},
            {.Name = "lost", .Code = '#', .KeyNo = 999},
            {.Name = "odd", .Code = 'o', .KeyNo = 5},
        });
    // Name order: A, Circumflex, E, LShift, M, Odd, Spare, Z.
    struct Case
    {
        char ch;
        std::optional<std::size_t> button;
        std::int32_t finger;
    };
    const std::vector<Case> cases = {
        {'A', 0, 0},    // Shift plays no part
        {'\xEA', 2, 2}, // nor does the dead key
        {'\x80', 2, 2}, // nor AltGr
        {'e', 7, 0},    // the first row of Code 101 decides
        {'m', 4, 7},    // the first key of KeyValue 77 in Name order
        {'o', 5, -1},   // the template's finger, whatever it is
        {'a', std::nullopt, NoFinger},
        {'\0', std::nullopt, NoFinger},
        {'#', std::nullopt, NoFinger}, // a KeyNo that no key has
    };
    for (const Case& c : cases) {
        const TFoundKey found = FindKey(data, static_cast<unsigned char>(c.ch));
        EXPECT_EQ(found.Button, c.button) << int(static_cast<unsigned char>(c.ch));
        EXPECT_EQ(found.Finger, c.finger) << int(static_cast<unsigned char>(c.ch));
    }
    EXPECT_GT(NoFinger, 9);
}

TEST(FindKey, FindsNothingBeforeATemplateIsLoaded)
{
    const TDataMod data(Cp1252());
    for (int code = 0; code < 256; ++code) {
        const TFoundKey found = FindKey(data, static_cast<unsigned char>(code));
        EXPECT_EQ(found.Button, std::nullopt);
        EXPECT_EQ(found.Finger, NoFinger);
    }
}

} // namespace
