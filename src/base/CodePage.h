// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// The 8-bit code page all text files and typed characters are in. Built once
// from iconv into two tables, so a conversion on a key press is a lookup.
class TCodePage
{
public:
    // A Windows code page number (1252, 1250, ...). Throws TError when iconv
    // does not know it.
    explicit TCodePage(int number = DefaultNumber);

    static constexpr int DefaultNumber = 1252;

    int Number() const { return number_; }

    // The Unicode character of a byte; nullopt for bytes the code page leaves
    // undefined (0x81 in 1252).
    std::optional<char32_t> ToUnicode(unsigned char byte) const;
    // The byte of a Unicode character; nullopt when the code page cannot hold it.
    std::optional<unsigned char> FromUnicode(char32_t ch) const;

    // Whole strings. Undefined bytes become U+FFFD; characters the code page
    // cannot hold become '?'.
    std::string ToUtf8(std::string_view bytes) const;
    std::string FromUtf8(std::string_view utf8) const;

private:
    int number_;
    std::array<char32_t, 256> toUnicode_{};
    std::unordered_map<char32_t, unsigned char> fromUnicode_;
};
