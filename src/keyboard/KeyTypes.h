// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// The KeyType (and KeyType2) codes of a template's key table. Every code
// below 8 is a key that types characters; a letter's Shift level is its
// capital.
inline constexpr std::int32_t KeyTypeLetter = 1;
inline constexpr std::int32_t KeyTypeChar = 2;
inline constexpr std::int32_t KeyTypeBackspace = 8;
inline constexpr std::int32_t KeyTypeTab = 9;
inline constexpr std::int32_t KeyTypeEnter = 13;
inline constexpr std::int32_t KeyTypeCapsLock = 20;
inline constexpr std::int32_t KeyTypeDelete = 46;
inline constexpr std::int32_t KeyTypeAltGr = 1000;
inline constexpr std::int32_t KeyTypeLeftShift = 1002;
inline constexpr std::int32_t KeyTypeRightShift = 1003;
// The dead keys, which are also the Accent of the characters they compose.
inline constexpr std::int32_t KeyTypeGrave = 2001;
inline constexpr std::int32_t KeyTypeAcute = 2002;
inline constexpr std::int32_t KeyTypeCircumflex = 2003;
inline constexpr std::int32_t KeyTypeTilde = 2004;
inline constexpr std::int32_t KeyTypeUmlaut = 2005;
inline constexpr std::int32_t KeyTypeRing = 2006;
inline constexpr std::int32_t KeyTypeEse = 2007;
inline constexpr std::int32_t KeyTypeCedilla = 2008;
inline constexpr std::int32_t FirstDeadKeyType = KeyTypeGrave;
inline constexpr std::int32_t LastDeadKeyType = KeyTypeCedilla;

constexpr bool IsCharacterKey(std::int32_t type)
{
    return type < KeyTypeBackspace;
}

constexpr bool IsDeadKey(std::int32_t type)
{
    return type >= FirstDeadKeyType && type <= LastDeadKeyType;
}

// Widths of the text fields of the template's tables.
inline constexpr std::int32_t KeyNameWidth = 20;
inline constexpr std::int32_t HintWidth = 127;
inline constexpr std::int32_t CharNameWidth = 30;
