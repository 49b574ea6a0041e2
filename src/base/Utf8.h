// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Appends the UTF-8 bytes of a Unicode character.
void AppendUtf8(std::string& out, char32_t ch);

// Decodes the character at pos (which must be inside text) and advances past
// it. A malformed sequence gives nullopt and is skipped as far as it looked
// valid, at least one byte, so one broken character becomes one replacement
// and the next good one survives.
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& pos);
