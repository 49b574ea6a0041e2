// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Colors.h"
#include "keyboard/MainData.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TCodePage;

// A keyboard template in a form people write by hand, one directive a line:
//
//   # a comment (only at the start of a line)
//   bkcolor #5A5A5A                      keyboard colour, #RRGGBB
//   author Tapwren                       free text to the end of the line
//   misc US English (QWERTY)             free text to the end of the line
//   xkb us(dvorak)                       the desktop layout it is, as XKB
//                                        names it: layout or layout(variant)
//   finger LIndex length=40 color=#A6DDA0
//   keysize width=24 height=24 gap=2     size of the keys that follow (these
//                                        until the first keysize line)
//   row x=5 y=5                          where the next key goes
//   key Q type=letter finger=LLittle base=q shift=Q
//   char ^ key=Circumflex
//
// A value is a run of characters without blanks, or, when it starts with a
// double quote, text up to the closing quote in which \" and \\ stand for a
// quote and a backslash.
//
// key NAME: the fields type (letter, char, backspace, tab, enter, capslock,
// delete, altgr, lshift, rshift, or a dead key: grave, acute, circumflex,
// tilde, umlaut, ring, ese, cedilla), finger (a readme finger name, described
// by an earlier finger line), optional dead2 (the dead key on the second
// level), base, shift and altgr (the character each level types; each adds a
// character row), label, label2 and label3 (the face's texts for the base,
// Shift and AltGr level; by default the level's character, and a letter key
// shows only its capital), hint, and x, y, w, h to leave the row's flow.
// Keys are placed left to right, gap pixels apart.
//
// char C: a character that no key level names, with key (required), the
// flags shift and altgr, dead (the dead key struck before) and name.
//
// Texts are UTF-8. Labels stay so, since only the face picture shows them;
// characters, names, hints and the readme's texts must exist in the code
// page, and are held in it once read.

class TDescriptionError : public std::runtime_error
{
public:
    // Line 0 stands for the description as a whole.
    TDescriptionError(int line, const std::string& message);
    int Line() const { return line_; }

private:
    int line_;
};

struct TKeyDescription
{
    TKeyRow Row{}; // Glyph stays empty: the face is drawn from the labels
    std::string Label{};
    std::string ShiftLabel{};
    std::string AltGrLabel{};
};

struct TKeyboardDescription
{
    TColor BkColor = 0;
    std::string Author{};
    std::string Misc{};
    std::string Xkb{};
    // Indexed like TDataMod's arrays, by readme finger name.
    std::array<std::int32_t, FingerCount> FingerLength{};
    std::array<TColor, FingerCount> FingerColor{};
    std::vector<TKeyDescription> Keys{};
    std::vector<TCharRow> Chars{};
};

// Throws TDescriptionError naming the first bad line.
TKeyboardDescription ParseKeyboardDescription(std::string_view text, const TCodePage& codePage);

// Where a key's Finger (0 left little to 9 right little) stands in the
// readme's finger order.
std::size_t FingerIndex(std::int32_t finger);

std::string TemplateReadme(const TKeyboardDescription& keyboard);
// The whole layout.twt, with the glyphs the keys carry.
std::string TemplateArchive(const TKeyboardDescription& keyboard, const TCodePage& codePage);
