// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Utf8.h"

void AppendUtf8(std::string& out, char32_t ch)
{
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    int length;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // overlong
        if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90; // overlong
        if (lead == 0xF4)
            high = 0x8F; // beyond U+10FFFF
    } else {
        return std::nullopt;
    }
    char32_t ch = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if (pos >= text.size())
            return std::nullopt;
        const auto next = static_cast<unsigned char>(text[pos]);
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF))
            return std::nullopt;
        ch = (ch << 6) | (next & 0x3F);
        ++pos;
    }
    return ch;
}
