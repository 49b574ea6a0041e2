#include "base/CodePage.h"

#include "base/Errors.h"
#include "base/Translate.h"

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

// Decodes the character at pos and advances past it. A malformed sequence
// gives nullopt and is skipped as far as it looked valid, so one broken
// character becomes one replacement and the next good one survives.
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
