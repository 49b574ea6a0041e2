// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/TextImport.h"

#include "base/CodePage.h"
#include "base/TextCase.h"
#include "base/Utf8.h"
#include "base/WholeFile.h"
#include "drills/HtmlText.h"
#include "drills/RtfText.h"

#include <array>
#include <optional>

namespace {

constexpr char32_t Replacement = 0xFFFD;

// Valid UTF-8 with at least one character beyond ASCII: a plain 8-bit text
// is hardly ever that.
bool LooksLikeUtf8(std::string_view bytes)
{
    bool beyondAscii = false;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t start = pos;
        if (!DecodeUtf8(bytes, pos))
            return false;
        beyondAscii = beyondAscii || pos - start > 1;
    }
    return beyondAscii;
}

std::u32string Utf16ToUnicode(std::string_view bytes, bool bigEndian)
{
    std::u32string out;
    out.reserve(bytes.size() / 2);
    char32_t high = 0; // a pending high surrogate
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        const char32_t unit = bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0);
        if (unit >= 0xDC00 && unit <= 0xDFFF && high != 0) {
            out += 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00);
            high = 0;
            continue;
        }
        if (high != 0)
            out += Replacement;
        high = 0;
        if (unit >= 0xD800 && unit <= 0xDBFF)
            high = unit;
        else
            out += unit >= 0xDC00 && unit <= 0xDFFF ? Replacement : unit;
    }
    if (high != 0)
        out += Replacement;
    return out;
}

bool IsLineBreak(char32_t ch)
{
    return ch == U'\n' || ch == U'\r' || ch == 0x0B || ch == 0x0C || ch == 0x85 || ch == 0x2028 ||
           ch == 0x2029;
}

// Characters that show nothing and cannot be typed.
bool IsInvisible(char32_t ch)
{
    return (ch < 0x20 && ch != U'\t') || (ch >= 0x7F && ch <= 0x9F) || ch == 0xAD ||
           (ch >= 0x200B && ch <= 0x200F) || (ch >= 0x202A && ch <= 0x202E) ||
           (ch >= 0x2060 && ch <= 0x2064) || ch == 0xFEFF || (ch >= 0x0300 && ch <= 0x036F) ||
           (ch >= 0xFE00 && ch <= 0xFE0F);
}

// Characters that look like a space: typed with the space bar.
bool IsSpace(char32_t ch)
{
    return ch == 0xA0 || (ch >= 0x2000 && ch <= 0x200A) || ch == 0x202F || ch == 0x205F ||
           ch == 0x3000;
}

// ASCII stand-ins for U+00C0 to U+017F, by code.
constexpr std::array<const char*, 192> LatinLetters{
    // U+00C0
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    // U+00D0
    "D", "N", "O", "O", "O", "O", "O", "x", "O", "U", "U", "U", "U", "Y", "TH", "ss",
    // U+00E0
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    // U+00F0
    "d", "n", "o", "o", "o", "o", "o", "/", "o", "u", "u", "u", "u", "y", "th", "y",
    // U+0100
    "A", "a", "A", "a", "A", "a", "C", "c", "C", "c", "C", "c", "C", "c", "D", "d",
    // U+0110
    "D", "d", "E", "e", "E", "e", "E", "e", "E", "e", "E", "e", "G", "g", "G", "g",
    // U+0120
    "G", "g", "G", "g", "H", "h", "H", "h", "I", "i", "I", "i", "I", "i", "I", "i",
    // U+0130
    "I", "i", "IJ", "ij", "J", "j", "K", "k", "k", "L", "l", "L", "l", "L", "l", "L",
    // U+0140
    "l", "L", "l", "N", "n", "N", "n", "N", "n", "'n", "N", "n", "O", "o", "O", "o",
    // U+0150
    "O", "o", "OE", "oe", "R", "r", "R", "r", "R", "r", "S", "s", "S", "s", "S", "s",
    // U+0160
    "S", "s", "T", "t", "T", "t", "T", "t", "U", "u", "U", "u", "U", "u", "U", "u",
    // U+0170
    "U", "u", "U", "u", "W", "w", "Y", "y", "Y", "Z", "z", "Z", "z", "Z", "z", "s"};

// Another Unicode character that serves where the code page lacks ch: the
// Romanian letters with comma below have cedilla forms in the older pages.
char32_t Alternate(char32_t ch)
{
    switch (ch) {
    case 0x0218:
        return 0x015E;
    case 0x0219:
        return 0x015F;
    case 0x021A:
        return 0x0162;
    case 0x021B:
        return 0x0163;
    default:
        return 0;
    }
}

// An ASCII stand-in for a character the code page lacks; nullptr for none.
const char* Transliteration(char32_t ch)
{
    if (ch >= 0xC0 && ch <= 0x17F)
        return LatinLetters[ch - 0xC0];
    switch (ch) {
    case 0x0218:
        return "S";
    case 0x0219:
        return "s";
    case 0x021A:
        return "T";
    case 0x021B:
        return "t";
    case 0x1E9E:
        return "SS";
    case 0x2018:
    case 0x2019:
    case 0x201A:
    case 0x201B:
    case 0x2032:
    case 0xB4:
        return "'";
    case 0x201C:
    case 0x201D:
    case 0x201E:
    case 0x201F:
    case 0x2033:
    case 0xAB:
    case 0xBB:
        return "\"";
    case 0x2039:
        return "<";
    case 0x203A:
        return ">";
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2013:
    case 0x2014:
    case 0x2015:
    case 0x2212:
        return "-";
    case 0x2026:
        return "...";
    case 0x2022:
    case 0x2219:
        return "*";
    case 0xB7:
        return ".";
    case 0x20AC:
        return "EUR";
    case 0xA9:
        return "(C)";
    case 0xAE:
        return "(R)";
    case 0x2122:
        return "(TM)";
    case 0xD7:
        return "x";
    case 0xF7:
        return "/";
    case 0x2044:
        return "/";
    case 0xBC:
        return "1/4";
    case 0xBD:
        return "1/2";
    case 0xBE:
        return "3/4";
    case 0xB9:
        return "1";
    case 0xB2:
        return "2";
    case 0xB3:
        return "3";
    case 0x2C6:
        return "^";
    case 0x2DC:
        return "~";
    case 0x2190:
        return "<-";
    case 0x2192:
        return "->";
    case 0x2264:
        return "<=";
    case 0x2265:
        return ">=";
    case 0x2260:
        return "!=";
    default:
        return nullptr;
    }
}

// Typographic quotes, dashes, the ellipsis and bullets are on no keyboard:
// a sample takes the plain characters people type for them, even where the
// code page could hold the typographic ones.
bool IsTypographic(char32_t ch)
{
    return (ch >= 0x2010 && ch <= 0x2015) || (ch >= 0x2018 && ch <= 0x201F) || ch == 0x2022 ||
           ch == 0x2026 || ch == 0x2032 || ch == 0x2033 || ch == 0x2039 || ch == 0x203A;
}

void AppendCharacter(std::string& out, char32_t ch, const TCodePage& codePage)
{
    if (IsTypographic(ch)) {
        out += Transliteration(ch);
    } else if (auto byte = codePage.FromUnicode(ch)) {
        out += static_cast<char>(*byte);
    } else if (const char32_t other = Alternate(ch); other != 0 && codePage.FromUnicode(other)) {
        out += static_cast<char>(*codePage.FromUnicode(other));
    } else if (const char* ascii = Transliteration(ch)) {
        out += ascii;
    } else {
        out += '?';
    }
}

void DropTrailingBlanks(std::string& out)
{
    while (!out.empty() && (out.back() == ' ' || out.back() == '\t'))
        out.pop_back();
}

bool EndsWith(std::string_view name, std::string_view suffix)
{
    return name.size() >= suffix.size() &&
           SameText(name.substr(name.size() - suffix.size()), suffix);
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

} // namespace

std::u32string Utf8ToUnicode(std::string_view utf8)
{
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();)
        out += DecodeUtf8(utf8, pos).value_or(Replacement);
    return out;
}

std::u32string DecodeText(std::string_view bytes, const TCodePage& codePage)
{
    if (bytes.starts_with(Utf8Mark))
        return Utf8ToUnicode(bytes.substr(Utf8Mark.size()));
    if (bytes.starts_with("\xFF\xFE"))
        return Utf16ToUnicode(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF"))
        return Utf16ToUnicode(bytes.substr(2), true);
    if (LooksLikeUtf8(bytes))
        return Utf8ToUnicode(bytes);
    std::u32string out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        out += codePage.ToUnicode(static_cast<unsigned char>(c)).value_or(Replacement);
    return out;
}

std::string ToCodePageText(std::u32string_view text, const TCodePage& codePage)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t ch = text[i];
        if (IsLineBreak(ch)) {
            if (ch == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n')
                ++i;
            DropTrailingBlanks(out);
            if (!out.empty())
                out += "\r\n";
        } else if (IsSpace(ch)) {
            out += ' ';
        } else if (!IsInvisible(ch)) {
            AppendCharacter(out, ch, codePage);
        }
    }
    DropTrailingBlanks(out);
    while (out.ends_with("\r\n")) {
        out.resize(out.size() - 2);
        DropTrailingBlanks(out);
    }
    return out;
}

TTextKind DetectTextKind(std::string_view bytes, std::string_view fileName)
{
    if (bytes.starts_with(Utf8Mark))
        bytes.remove_prefix(Utf8Mark.size());
    if (bytes.starts_with("{\\rtf"))
        return TTextKind::Rtf;
    for (const std::string_view extension : {".htm", ".html", ".shtml", ".xhtml"})
        if (EndsWith(fileName, extension))
            return TTextKind::Html;
    const std::size_t start = bytes.find_first_not_of(" \t\r\n\f");
    if (start != bytes.npos && (StartsWith(bytes.substr(start), "<!doctype html") ||
                                StartsWith(bytes.substr(start), "<html")))
        return TTextKind::Html;
    return TTextKind::Plain;
}

std::string ImportText(std::string_view bytes, TTextKind kind, const TCodePage& codePage)
{
    switch (kind) {
    case TTextKind::Rtf:
        return ToCodePageText(RtfText(bytes, codePage), codePage);
    case TTextKind::Html:
        return ToCodePageText(HtmlText(DecodeText(bytes, codePage)), codePage);
    case TTextKind::Plain:
        break;
    }
    return ToCodePageText(DecodeText(bytes, codePage), codePage);
}

std::string ReadTextFile(const std::string& path, const TCodePage& codePage)
{
    const std::string bytes = ReadWholeFile(path);
    return ImportText(bytes, DetectTextKind(bytes, path), codePage);
}

std::string PastedText(std::string_view utf8, const TCodePage& codePage)
{
    return ToCodePageText(Utf8ToUnicode(utf8), codePage);
}

std::string TextToCodePageLine(std::string_view utf8, const TCodePage& codePage)
{
    std::string out;
    for (const char32_t ch : Utf8ToUnicode(utf8)) {
        if (IsLineBreak(ch) || IsSpace(ch))
            out += ' ';
        else if (!IsInvisible(ch))
            AppendCharacter(out, ch, codePage);
    }
    return out;
}
