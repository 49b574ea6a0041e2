// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// A colour in the encoding every stored file uses: red in the lowest byte,
// then green, then blue (0x00BBGGRR). A value whose top byte is 0xFF names a
// system colour by the index in its lowest byte.
using TColor = std::int32_t;

constexpr TColor RGBColor(int red, int green, int blue)
{
    return static_cast<TColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(TColor c) { return c & 0xFF; }
constexpr int GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(TColor c) { return (c >> 16) & 0xFF; }

constexpr bool IsSystemColor(TColor c) { return (static_cast<std::uint32_t>(c) >> 24) == 0xFF; }
constexpr int SystemColorIndex(TColor c) { return c & 0xFF; }
constexpr TColor SystemColor(int index)
{
    return static_cast<TColor>(0xFF000000u | static_cast<std::uint32_t>(index & 0xFF));
}

// System colour indices the program refers to.
enum TSystemColorIndex : int {
    COLOR_WINDOW = 5,
    COLOR_WINDOWTEXT = 8,
    COLOR_BTNFACE = 15,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNTEXT = 18,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
};

constexpr TColor clBlack = RGBColor(0, 0, 0);
constexpr TColor clWhite = RGBColor(255, 255, 255);
constexpr TColor clNavy = RGBColor(0, 0, 128);
constexpr TColor clRed = RGBColor(255, 0, 0);
constexpr TColor clGray = RGBColor(128, 128, 128);
constexpr TColor clMoneyGreen = RGBColor(192, 220, 192);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);

// Each of the three 8-bit channels XOR 0xAA: a colour that stands out on c.
constexpr TColor ContrastColor(TColor c) { return c ^ 0xAAAAAA; }
