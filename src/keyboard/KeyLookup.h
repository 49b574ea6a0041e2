// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

class TDataMod;

// The finger number FindKey gives when no key types the character.
inline constexpr std::int32_t NoFinger = 10;

struct TFoundKey
{
    // Index of the keyboard's button: the key's row in MainTbl (Name order).
    std::optional<std::size_t> Button;
    // The key's Finger; NoFinger when there is no key.
    std::int32_t Finger = NoFinger;
};

// The key that types the character (a byte of the code page) and its
// finger. Only the base key counts: the character row's Shift, AltGr and
// Accent are not shown. Among rows of equal Code, and among keys of equal
// KeyValue, the first in table order wins.
TFoundKey FindKey(const TDataMod& data, unsigned char code);
