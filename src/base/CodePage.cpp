// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CodePage.h"

#include "base/Errors.h"
#include "base/Translate.h"
#include "base/Utf8.h"

#include <cstdint>
#include <iconv.h>

namespace {

// Marks a byte the code page leaves undefined; no Unicode character has this value.
constexpr char32_t NoCharacter = 0xFFFFFFFF;
constexpr char32_t ReplacementCharacter = 0xFFFD;

// The one character iconv makes of a single byte, or NoCharacter.
char32_t ConvertByte(iconv_t converter, unsigned char byte)
{
    char in = static_cast<char>(byte);
    char* inPos = &in;
    std::size_t inLeft = 1;
    unsigned char out[8];
    char* outPos = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof out;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPos, &inLeft, &outPos, &outLeft) == static_cast<std::size_t>(-1) ||
        inLeft != 0 || sizeof out - outLeft != 4)
        return NoCharacter;
    return static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) | (out[3] << 24));
}

} // namespace

TCodePage::TCodePage(int number) : number_(number)
{
    const std::string name = "CP" + std::to_string(number);
    const iconv_t converter = iconv_open("UTF-32LE", name.c_str());
    if (converter == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)))
        throw TError(Format(_("Unknown code page %d"), number));
    for (int byte = 0; byte < 256; ++byte) {
        const auto b = static_cast<unsigned char>(byte);
        const char32_t ch = byte < 0x80 ? static_cast<char32_t>(byte) : ConvertByte(converter, b);
        toUnicode_[b] = ch;
        if (ch != NoCharacter)
            fromUnicode_.emplace(ch, b);
    }
    iconv_close(converter);
}

std::optional<char32_t> TCodePage::ToUnicode(unsigned char byte) const
{
    if (toUnicode_[byte] == NoCharacter)
        return std::nullopt;
    return toUnicode_[byte];
}

std::optional<unsigned char> TCodePage::FromUnicode(char32_t ch) const
{
    if (ch < 0x80)
        return static_cast<unsigned char>(ch);
    const auto found = fromUnicode_.find(ch);
    if (found == fromUnicode_.end())
        return std::nullopt;
    return found->second;
}

std::string TCodePage::ToUtf8(std::string_view bytes) const
{
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        AppendUtf8(out, ToUnicode(static_cast<unsigned char>(c)).value_or(ReplacementCharacter));
    return out;
}

std::string TCodePage::FromUtf8(std::string_view utf8) const
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::optional<char32_t> ch = DecodeUtf8(utf8, pos);
        const std::optional<unsigned char> byte = ch ? FromUnicode(*ch) : std::nullopt;
        out += byte ? static_cast<char>(*byte) : '?';
    }
    return out;
}
