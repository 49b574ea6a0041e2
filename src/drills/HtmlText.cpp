// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/HtmlText.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>
#include <unordered_map>

namespace {

constexpr char32_t Replacement = 0xFFFD;
constexpr std::size_t LongestName = 32;

bool IsHtmlSpace(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == U'\f';
}

bool IsAsciiLetter(char32_t c)
{
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
}

bool IsAsciiDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

char LowerAscii(char32_t c)
{
    return static_cast<char>(c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c);
}

int DigitValue(char32_t c, bool hex)
{
    if (IsAsciiDigit(c))
        return static_cast<int>(c - U'0');
    if (hex && c >= U'a' && c <= U'f')
        return static_cast<int>(c - U'a' + 10);
    if (hex && c >= U'A' && c <= U'F')
        return static_cast<int>(c - U'A' + 10);
    return -1;
}

// Names of U+00A0 to U+00FF, in order.
constexpr std::array<std::string_view, 96> Latin1Names{
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

struct TNamedCharacter
{
    std::string_view name;
    char32_t ch;
};

constexpr TNamedCharacter OtherNames[] = {
    {"quot", 0x22},     {"amp", 0x26},      {"apos", 0x27},    {"lt", 0x3C},
    {"gt", 0x3E},       {"OElig", 0x152},   {"oelig", 0x153},  {"Scaron", 0x160},
    {"scaron", 0x161},  {"Yuml", 0x178},    {"fnof", 0x192},   {"circ", 0x2C6},
    {"tilde", 0x2DC},   {"ensp", 0x2002},   {"emsp", 0x2003},  {"thinsp", 0x2009},
    {"zwnj", 0x200C},   {"zwj", 0x200D},    {"lrm", 0x200E},   {"rlm", 0x200F},
    {"ndash", 0x2013},  {"mdash", 0x2014},  {"lsquo", 0x2018}, {"rsquo", 0x2019},
    {"sbquo", 0x201A},  {"ldquo", 0x201C},  {"rdquo", 0x201D}, {"bdquo", 0x201E},
    {"dagger", 0x2020}, {"Dagger", 0x2021}, {"bull", 0x2022},  {"hellip", 0x2026},
    {"permil", 0x2030}, {"prime", 0x2032},  {"Prime", 0x2033}, {"lsaquo", 0x2039},
    {"rsaquo", 0x203A}, {"oline", 0x203E},  {"frasl", 0x2044}, {"euro", 0x20AC},
    {"trade", 0x2122},  {"larr", 0x2190},   {"uarr", 0x2191},  {"rarr", 0x2192},
    {"darr", 0x2193},   {"harr", 0x2194},   {"minus", 0x2212}, {"infin", 0x221E},
    {"asymp", 0x2248},  {"ne", 0x2260},     {"le", 0x2264},    {"ge", 0x2265}};

const std::unordered_map<std::string_view, char32_t>& NamedCharacters()
{
    static const auto table = [] {
        std::unordered_map<std::string_view, char32_t> names;
        for (std::size_t i = 0; i < Latin1Names.size(); ++i)
            names.emplace(Latin1Names[i], static_cast<char32_t>(0xA0 + i));
        for (const TNamedCharacter& named : OtherNames)
            names.emplace(named.name, named.ch);
        return names;
    }();
    return table;
}

// Numeric references to 0x80..0x9F mean the characters of Windows-1252, as
// browsers read them.
constexpr std::array<char32_t, 32> Windows1252Controls{
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Elements whose content is not text to read.
bool IsSkippedElement(std::string_view name)
{
    return IsOneOf(name, {"script", "style", "title", "template", "noscript", "svg", "math"});
}

bool IsBlockElement(std::string_view name)
{
    return IsOneOf(name, {"address", "article", "aside",    "blockquote", "body",   "caption",
                          "center",  "dd",      "details",  "dialog",     "dir",    "div",
                          "dl",      "dt",      "fieldset", "figcaption", "figure", "footer",
                          "form",    "h1",      "h2",       "h3",         "h4",     "h5",
                          "h6",      "head",    "header",   "hgroup",     "hr",     "html",
                          "legend",  "li",      "main",     "menu",       "nav",    "ol",
                          "p",       "pre",     "section",  "summary",    "table",  "tbody",
                          "tfoot",   "thead",   "tr",       "ul"});
}

class THtmlReader
{
public:
    explicit THtmlReader(std::u32string_view html) : in_(html) {}

    std::u32string Read()
    {
        while (pos_ < in_.size()) {
            const char32_t c = in_[pos_];
            if (c == U'<') {
                Tag();
            } else if (c == U'&') {
                Reference();
            } else {
                ++pos_;
                Text(c);
            }
        }
        return std::move(out_);
    }

private:
    void Text(char32_t c)
    {
        if (preformatted_ > 0) {
            out_ += c;
        } else if (IsHtmlSpace(c)) {
            space_ = true;
        } else {
            if (space_ && !out_.empty() && out_.back() != U'\n')
                out_ += U' ';
            space_ = false;
            out_ += c;
        }
    }

    void DropTrailingSpaces()
    {
        while (!out_.empty() && out_.back() == U' ')
            out_.pop_back();
        space_ = false;
    }

    // The end of a block: the next text starts on a line of its own.
    void Block()
    {
        DropTrailingSpaces();
        if (!out_.empty() && out_.back() != U'\n')
            out_ += U'\n';
    }

    void LineBreak()
    {
        DropTrailingSpaces();
        out_ += U'\n';
    }

    // Past the next ">" from from, or to the end.
    void SkipPast(std::u32string_view end, std::size_t from)
    {
        const std::size_t found = in_.find(end, from);
        pos_ = found == in_.npos ? in_.size() : found + end.size();
    }

    bool At(std::size_t at, std::u32string_view text) const
    {
        return in_.substr(at, text.size()) == text;
    }

    void Tag()
    {
        const std::size_t next = pos_ + 1;
        if (next < in_.size() && in_[next] == U'!') {
            if (At(next, U"!--")) {
                SkipPast(U"-->", next + 3);
            } else if (At(next, U"![CDATA[")) {
                const std::size_t start = next + 8;
                const std::size_t end = std::min(in_.find(U"]]>", start), in_.size());
                for (std::size_t i = start; i < end; ++i)
                    Text(in_[i]);
                pos_ = std::min(end + 3, in_.size());
            } else {
                SkipPast(U">", next);
            }
            return;
        }
        if (next < in_.size() && in_[next] == U'?') {
            SkipPast(U">", next);
            return;
        }
        const bool closing = next < in_.size() && in_[next] == U'/';
        std::size_t i = next + (closing ? 1 : 0);
        if (i >= in_.size() || !IsAsciiLetter(in_[i])) {
            if (closing) {
                SkipPast(U">", i);
            } else {
                ++pos_;
                Text(U'<');
            }
            return;
        }
        std::string name;
        for (; i < in_.size() &&
               (IsAsciiLetter(in_[i]) || IsAsciiDigit(in_[i]) || in_[i] == U'-' || in_[i] == U':');
             ++i)
            if (name.size() < LongestName)
                name += LowerAscii(in_[i]);
        pos_ = EndOfTag(i);
        Element(name, closing);
    }

    // Past the ">" that ends a tag whose attributes start at i; a ">" in a
    // quoted value does not end it.
    std::size_t EndOfTag(std::size_t i) const
    {
        while (i < in_.size() && in_[i] != U'>') {
            if (in_[i++] != U'=')
                continue;
            while (i < in_.size() && IsHtmlSpace(in_[i]))
                ++i;
            if (i < in_.size() && (in_[i] == U'"' || in_[i] == U'\'')) {
                const char32_t quote = in_[i];
                const std::size_t end = in_.find(quote, i + 1);
                i = end == in_.npos ? in_.size() : end + 1;
            }
        }
        return std::min(i + 1, in_.size());
    }

    void Element(const std::string& name, bool closing)
    {
        if (name == "br") {
            LineBreak();
        } else if (name == "td" || name == "th") {
            space_ = true;
        } else if (name == "pre") {
            Block();
            preformatted_ = closing ? std::max(preformatted_ - 1, 0) : preformatted_ + 1;
        } else if (IsBlockElement(name)) {
            Block();
        } else if (!closing && IsSkippedElement(name)) {
            pos_ = FindClosingTag(name);
        }
    }

    // Where "</name" starts (in any case), or the end.
    std::size_t FindClosingTag(std::string_view name) const
    {
        for (std::size_t i = pos_; i + 2 + name.size() <= in_.size(); ++i) {
            if (in_[i] != U'<' || in_[i + 1] != U'/')
                continue;
            std::size_t k = 0;
            while (k < name.size() && LowerAscii(in_[i + 2 + k]) == name[k])
                ++k;
            if (k == name.size())
                return i;
        }
        return in_.size();
    }

    void Reference()
    {
        std::size_t i = pos_ + 1;
        if (i < in_.size() && in_[i] == U'#') {
            ++i;
            const bool hex = i < in_.size() && (in_[i] == U'x' || in_[i] == U'X');
            if (hex)
                ++i;
            const std::size_t digits = i;
            char32_t value = 0;
            for (int d; i < in_.size() && (d = DigitValue(in_[i], hex)) >= 0; ++i)
                value = std::min<char32_t>(value * (hex ? 16 : 10) + static_cast<char32_t>(d),
                                           0x110000);
            if (i == digits) {
                ++pos_;
                Text(U'&');
                return;
            }
            pos_ = i < in_.size() && in_[i] == U';' ? i + 1 : i;
            Text(NumericCharacter(value));
            return;
        }
        std::string name;
        for (; i < in_.size() && name.size() < LongestName &&
               (IsAsciiLetter(in_[i]) || IsAsciiDigit(in_[i]));
             ++i)
            name += static_cast<char>(in_[i]);
        const auto& names = NamedCharacters();
        const auto found = names.find(name);
        if (found == names.end()) {
            ++pos_;
            Text(U'&');
            return;
        }
        pos_ = i < in_.size() && in_[i] == U';' ? i + 1 : i;
        Text(found->second);
    }

    static char32_t NumericCharacter(char32_t value)
    {
        if (value >= 0x80 && value <= 0x9F)
            return Windows1252Controls[value - 0x80];
        if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return Replacement;
        return value;
    }

    std::u32string_view in_;
    std::size_t pos_ = 0;
    std::u32string out_;
    bool space_ = false;
    int preformatted_ = 0;
};

} // namespace

std::u32string HtmlText(std::u32string_view html)
{
    return THtmlReader(html).Read();
}
