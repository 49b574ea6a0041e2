// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <string_view>

// Names in the program's files (INI sections and keys, profile keys, template
// readme keys) match without regard to case. Only ASCII letters fold: the
// files are 8-bit text in varying code pages.
inline char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool SameText(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}
