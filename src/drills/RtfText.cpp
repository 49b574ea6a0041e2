// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/RtfText.h"

#include "base/CodePage.h"
#include "base/Errors.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr char32_t Replacement = 0xFFFD;
// Real documents nest a few dozen groups; deeper ones share their parent's
// state, so that hostile nesting costs no memory.
constexpr std::size_t DeepestGroup = 4096;

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Destinations whose text is not part of the body.
bool IsSkippedDestination(std::string_view word)
{
    static constexpr std::string_view Skipped[] = {
        "annotation", "atnid",      "author",    "buptim",    "colortbl",
        "comment",    "creatim",    "doccomm",   "fldinst",   "fonttbl",
        "footer",     "footerf",    "footerl",   "footerr",   "footnote",
        "ftncn",      "ftnsep",     "ftnsepc",   "header",    "headerf",
        "headerl",    "headerr",    "info",      "keywords",  "listoverridetable",
        "listtable",  "nonshppict", "object",    "objdata",   "operator",
        "pict",       "printim",    "private",   "revtbl",    "revtim",
        "rsidtbl",    "stylesheet", "subject",   "tc",        "template",
        "title",      "txe",        "xe",        "filetbl",   "aftnsep",
        "aftnsepc",   "aftncn",     "userprops", "datastore", "themedata"};
    return std::find(std::begin(Skipped), std::end(Skipped), word) != std::end(Skipped);
}

// The state a group keeps and restores.
struct TGroupState
{
    bool skip = false;   // a destination without body text, or hidden text
    bool hidden = false; // \v
    int fallback = 1;    // \uc: characters that stand for a \u character
};

class TRtfReader
{
public:
    TRtfReader(std::string_view rtf, const TCodePage& codePage) : rtf_(rtf), page_(&codePage) {}

    std::u32string Read()
    {
        while (pos_ < rtf_.size()) {
            const char c = rtf_[pos_++];
            switch (c) {
            case '{':
                if (groups_.size() < DeepestGroup)
                    groups_.push_back(state_);
                else
                    ++tooDeep_;
                toSkip_ = 0;
                break;
            case '}':
                if (tooDeep_ > 0) {
                    --tooDeep_;
                } else if (!groups_.empty()) {
                    state_ = groups_.back();
                    groups_.pop_back();
                }
                toSkip_ = 0;
                break;
            case '\\':
                Control();
                break;
            case '\r':
            case '\n':
            case '\0':
                break;
            default:
                if (!SkipsFallback())
                    Byte(static_cast<unsigned char>(c));
                break;
            }
        }
        FlushSurrogate();
        return std::move(out_);
    }

private:
    // A \u character's fallback is read past, one character at a time.
    bool SkipsFallback()
    {
        if (toSkip_ == 0)
            return false;
        --toSkip_;
        return true;
    }

    bool Shows() const { return !state_.skip && !state_.hidden; }

    void Emit(char32_t ch)
    {
        FlushSurrogate();
        if (Shows())
            out_ += ch;
    }

    void Byte(unsigned char byte)
    {
        if (byte < 0x20 && byte != '\t')
            return;
        Emit(page_->ToUnicode(byte).value_or(Replacement));
    }

    void FlushSurrogate()
    {
        if (highSurrogate_ != 0 && Shows())
            out_ += Replacement;
        highSurrogate_ = 0;
    }

    void Unicode(std::int64_t value)
    {
        if (value < 0)
            value += 65536;
        if (value < 0 || value > 0xFFFF) {
            Emit(Replacement);
            return;
        }
        const auto unit = static_cast<char32_t>(value);
        if (unit >= 0xDC00 && unit <= 0xDFFF && highSurrogate_ != 0) {
            const char32_t ch = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
            highSurrogate_ = 0;
            Emit(ch);
        } else if (unit >= 0xD800 && unit <= 0xDBFF) {
            FlushSurrogate();
            highSurrogate_ = unit;
        } else {
            Emit(unit >= 0xDC00 && unit <= 0xDFFF ? Replacement : unit);
        }
    }

    void Control()
    {
        if (pos_ >= rtf_.size())
            return;
        if (IsLetter(rtf_[pos_]))
            ControlWord();
        else
            ControlSymbol(rtf_[pos_++]);
    }

    void ControlSymbol(char symbol)
    {
        if (symbol == '\'') {
            // A broken escape takes the hex digit it has with it.
            const int high = pos_ < rtf_.size() ? HexValue(rtf_[pos_]) : -1;
            if (high < 0)
                return;
            const int low = ++pos_ < rtf_.size() ? HexValue(rtf_[pos_]) : -1;
            if (low < 0)
                return;
            ++pos_;
            if (!SkipsFallback())
                Byte(static_cast<unsigned char>(high * 16 + low));
            return;
        }
        if (symbol == '*') {
            state_.skip = true;
            return;
        }
        if (SkipsFallback())
            return;
        switch (symbol) {
        case '\\':
        case '{':
        case '}':
            Emit(static_cast<unsigned char>(symbol));
            break;
        case '~':
            Emit(0xA0);
            break;
        case '_':
            Emit(U'-');
            break;
        case '\r':
        case '\n':
            Emit(U'\n');
            break;
        default: // "\-" (optional hyphen), "\:", "\|" and unknown symbols show nothing
            break;
        }
    }

    void ControlWord()
    {
        const std::size_t start = pos_;
        while (pos_ < rtf_.size() && IsLetter(rtf_[pos_]))
            ++pos_;
        const std::string_view word = rtf_.substr(start, pos_ - start);

        std::optional<std::int64_t> parameter;
        const bool negative =
            pos_ + 1 < rtf_.size() && rtf_[pos_] == '-' && IsDigit(rtf_[pos_ + 1]);
        if (negative)
            ++pos_;
        if (pos_ < rtf_.size() && IsDigit(rtf_[pos_])) {
            // Clamped, so that any number of digits is read without overflow.
            constexpr std::int64_t Largest = std::int64_t{1} << 40;
            std::int64_t value = 0;
            while (pos_ < rtf_.size() && IsDigit(rtf_[pos_]))
                value = std::min(value * 10 + (rtf_[pos_++] - '0'), Largest);
            parameter = negative ? -value : value;
        }
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ')
            ++pos_;

        if (word == "bin") {
            // Binary data: skipped whole, so none of its bytes reads as RTF.
            const std::int64_t length = std::max<std::int64_t>(parameter.value_or(0), 0);
            pos_ += static_cast<std::size_t>(
                std::min<std::int64_t>(length, static_cast<std::int64_t>(rtf_.size() - pos_)));
            return;
        }
        if (SkipsFallback())
            return;
        Act(word, parameter);
    }

    void Act(std::string_view word, std::optional<std::int64_t> parameter)
    {
        if (word == "par" || word == "line" || word == "sect" || word == "page" || word == "row")
            Emit(U'\n');
        else if (word == "tab")
            Emit(U'\t');
        else if (word == "cell" || word == "nestcell" || word == "emspace" || word == "enspace" ||
                 word == "qmspace")
            Emit(U' ');
        else if (word == "emdash")
            Emit(0x2014);
        else if (word == "endash")
            Emit(0x2013);
        else if (word == "lquote")
            Emit(0x2018);
        else if (word == "rquote")
            Emit(0x2019);
        else if (word == "ldblquote")
            Emit(0x201C);
        else if (word == "rdblquote")
            Emit(0x201D);
        else if (word == "bullet")
            Emit(0x2022);
        else if (word == "u" && parameter)
            UnicodeCharacter(*parameter);
        else if (word == "uc" && parameter)
            state_.fallback = static_cast<int>(std::clamp<std::int64_t>(*parameter, 0, 16));
        else if (word == "v")
            state_.hidden = parameter.value_or(1) != 0;
        else if (word == "plain")
            state_.hidden = false;
        else if (word == "ansicpg" && parameter)
            CodePage(*parameter);
        else if (IsSkippedDestination(word))
            state_.skip = true;
    }

    void UnicodeCharacter(std::int64_t value)
    {
        Unicode(value);
        toSkip_ = state_.fallback;
    }

    // Only the first \ansicpg counts: it belongs to the header, and building a
    // code page for each of a hostile file's many would take long.
    void CodePage(std::int64_t number)
    {
        if (codePageSet_)
            return;
        codePageSet_ = true;
        if (number <= 0 || number > std::numeric_limits<std::uint16_t>::max() ||
            number == page_->Number())
            return;
        try {
            documentPage_.emplace(static_cast<int>(number));
            page_ = &*documentPage_;
        } catch (const TError&) {
            // A code page the system does not know: the bytes are read in ours.
        }
    }

    std::string_view rtf_;
    std::size_t pos_ = 0;
    const TCodePage* page_;
    std::optional<TCodePage> documentPage_;
    bool codePageSet_ = false;
    TGroupState state_;
    std::vector<TGroupState> groups_;
    std::size_t tooDeep_ = 0;
    int toSkip_ = 0;
    char32_t highSurrogate_ = 0;
    std::u32string out_;
};

} // namespace

std::u32string RtfText(std::string_view rtf, const TCodePage& codePage)
{
    return TRtfReader(rtf, codePage).Read();
}
