// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/IniDocument.h"

#include "base/Errors.h"
#include "base/TextCase.h"
#include "base/Translate.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string_view Trim(std::string_view text)
{
    text = TrimLeft(text);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string Fold(std::string_view text)
{
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), LowerAscii);
    return folded;
}

// The length of a stored line's terminator: CR LF, LF, CR or none.
std::size_t EndLength(std::string_view line)
{
    if (line.size() >= 2 && line.substr(line.size() - 2) == "\r\n")
        return 2;
    if (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        return 1;
    return 0;
}

std::string_view TextOf(std::string_view line)
{
    return line.substr(0, line.size() - EndLength(line));
}

// The name of a section header line; nullopt for any other line. A "[" without
// "]" heads no section.
std::optional<std::string_view> HeaderName(std::string_view text)
{
    text = TrimLeft(text);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(text.substr(1, close - 1));
}

struct TValueLine
{
    std::string_view key, value;
};

// The key and value of a value line; nullopt for headers, comments, lines
// without "=" and lines with an empty key.
std::optional<TValueLine> ParseValueLine(std::string_view text)
{
    const std::string_view start = TrimLeft(text);
    if (start.empty() || start.front() == ';' || start.front() == '#' || start.front() == '[')
        return std::nullopt;
    const std::size_t equals = start.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = Trim(start.substr(0, equals));
    if (key.empty())
        return std::nullopt;
    return TValueLine{key, Trim(start.substr(equals + 1))};
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != text.npos;
}

void CheckStorable(std::string_view section, std::string_view key, std::string_view value)
{
    const auto reject = [](std::string_view text) {
        throw TError(
            Format(_("\"%s\" cannot be stored in an INI file"), std::string(text).c_str()));
    };
    if (HasLineBreak(section) || section.find(']') != section.npos)
        reject(section);
    if (key.empty() || HasLineBreak(key) || key.find('=') != key.npos || key.front() == '[' ||
        key.front() == ';' || key.front() == '#')
        reject(key);
    if (HasLineBreak(value))
        reject(value);
}

std::string Cat(std::initializer_list<std::string_view> parts)
{
    std::string result;
    for (const std::string_view part : parts)
        result += part;
    return result;
}

// Splits text into lines at CR LF, LF or CR, each line with its terminator.
// Both terminators are looked for with memchr and remembered until passed,
// so a scan stays linear and fast whatever the mix.
class TLineSplitter
{
public:
    explicit TLineSplitter(std::string_view text)
        : text_(text), lf_(Locate('\n')), cr_(Locate('\r'))
    {}

    // The next line, terminator included, and the length of its text.
    bool Next(std::string_view& line, std::size_t& textLength)
    {
        if (pos_ >= text_.size())
            return false;
        if (lf_ < pos_)
            lf_ = Locate('\n');
        if (cr_ < pos_)
            cr_ = Locate('\r');
        const std::size_t stop = std::min(lf_, cr_);
        std::size_t next = stop;
        if (stop < text_.size())
            next = stop == cr_ && lf_ == cr_ + 1 ? stop + 2 : stop + 1;
        line = text_.substr(pos_, next - pos_);
        textLength = stop - pos_;
        pos_ = next;
        return true;
    }

private:
    std::size_t Locate(char c) const
    {
        if (pos_ >= text_.size())
            return text_.size();
        const void* found = std::memchr(text_.data() + pos_, c, text_.size() - pos_);
        return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text_.data())
                     : text_.size();
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lf_, cr_;
};

} // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text)
{
    text = TrimLeft(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    bool hex = true;
    if (text.starts_with("0x") || text.starts_with("0X"))
        text.remove_prefix(2);
    else if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X'))
        text.remove_prefix(1);
    else
        hex = false;
    if (text.empty())
        return std::nullopt;

    const std::uint64_t limit = hex ? 0xFFFFFFFFu : negative ? 0x80000000u : 0x7FFFFFFFu;
    std::uint64_t magnitude = 0;
    for (const char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f')
            digit = LowerAscii(c) - 'a' + 10;
        else
            return std::nullopt;
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit)
            return std::nullopt;
    }
    // Two's complement throughout: hexadecimal fills all 32 bits, and the
    // negated magnitude of a decimal within range is the value itself.
    auto bits = static_cast<std::uint32_t>(magnitude);
    if (negative)
        bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

std::int32_t StrToInt(const std::string& text)
{
    if (const auto value = ParseInteger(text))
        return *value;
    throw TError(Format(_("'%s' is not a valid integer value"), text.c_str()));
}

// Only the first line's end and the headers matter here. A header line is
// one whose first non-blank is "[", so looking for brackets alone keeps the
// scan of a large file at memchr speed; each line is examined from at most one
// of its brackets, so hostile input stays linear.
TIniDocument::TIniDocument(std::string_view content) : source_(content)
{
    const std::string_view text(source_);
    if (text.starts_with(ByteOrderMark))
        bom_ = ByteOrderMark.size();
    const std::size_t firstEnd = text.find_first_of("\r\n");
    if (firstEnd != text.npos)
        newLine_ = text.compare(firstEnd, 2, "\r\n") == 0 ? "\r\n"
                   : text[firstEnd] == '\r'               ? "\r"
                                                          : "\n";

    std::size_t bracket = text.find('[');
    while (bracket != text.npos) {
        std::size_t lineStart = bracket;
        while (lineStart > 0 && IsBlank(text[lineStart - 1]))
            --lineStart;
        std::size_t lineEnd = bracket;
        if (lineStart == bom_ || text[lineStart - 1] == '\n' || text[lineStart - 1] == '\r') {
            while (lineEnd < text.size() && text[lineEnd] != '\n' && text[lineEnd] != '\r')
                ++lineEnd;
            if (const auto name = HeaderName(text.substr(lineStart, lineEnd - lineStart))) {
                sections_.back().end = lineStart;
                Section& section = sections_.emplace_back();
                section.name = *name;
                section.folded = Fold(*name);
                section.begin = lineStart;
            }
        }
        bracket = lineEnd < text.size() ? text.find('[', lineEnd + 1) : text.npos;
    }
    sections_.back().end = text.size();
    Reindex();
}

std::vector<std::string_view> TIniDocument::Lines(const Section& section) const
{
    if (section.split)
        return {section.lines.begin(), section.lines.end()};
    std::vector<std::string_view> lines;
    TLineSplitter splitter(
        std::string_view(source_).substr(section.begin, section.end - section.begin));
    std::string_view line;
    std::size_t textLength;
    while (splitter.Next(line, textLength))
        lines.push_back(line);
    return lines;
}

std::vector<std::string>& TIniDocument::Split(Section& section)
{
    if (!section.split) {
        for (const std::string_view line : Lines(section))
            section.lines.emplace_back(line);
        section.split = true;
    }
    return section.lines;
}

std::string TIniDocument::Content() const
{
    std::string content;
    content.reserve(source_.size());
    for (const Section& section : sections_) {
        if (!section.split)
            content.append(source_, section.begin, section.end - section.begin);
        for (const std::string& line : section.lines)
            content += line;
    }
    return content;
}

void TIniDocument::Reindex()
{
    index_.clear();
    for (std::size_t i = 1; i < sections_.size(); ++i)
        index_.emplace(sections_[i].folded, i);
}

const TIniDocument::Section* TIniDocument::Find(std::string_view section) const
{
    const auto found = index_.find(Fold(Trim(section)));
    return found == index_.end() ? nullptr : &sections_[found->second];
}

bool TIniDocument::SectionExists(std::string_view section) const
{
    return Find(section) != nullptr;
}

std::optional<std::string> TIniDocument::Value(std::string_view section, std::string_view key) const
{
    const Section* found = Find(section);
    if (!found)
        return std::nullopt;
    key = Trim(key);
    const std::vector<std::string_view> lines = Lines(*found);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto line = ParseValueLine(TextOf(lines[i]));
        if (line && SameText(line->key, key))
            return std::string(line->value);
    }
    return std::nullopt;
}

std::vector<std::string> TIniDocument::Sections() const
{
    std::vector<std::string> names;
    for (std::size_t i = 1; i < sections_.size(); ++i)
        if (index_.at(sections_[i].folded) == i)
            names.push_back(sections_[i].name);
    return names;
}

std::vector<TKeyValue> TIniDocument::SectionValues(std::string_view section) const
{
    std::vector<TKeyValue> values;
    const Section* found = Find(section);
    if (!found)
        return values;
    std::unordered_set<std::string> seen;
    const std::vector<std::string_view> lines = Lines(*found);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto line = ParseValueLine(TextOf(lines[i]));
        if (line && seen.insert(Fold(line->key)).second)
            values.emplace_back(line->key, line->value);
    }
    return values;
}

void TIniDocument::TerminateLastLine()
{
    Section& last = sections_.back();
    std::string_view tail;
    if (!last.split) {
        // The byte-order mark is no line to end.
        const std::size_t from = sections_.size() == 1 ? std::max(last.begin, bom_) : last.begin;
        tail = std::string_view(source_).substr(from, last.end - from);
    } else if (!last.lines.empty())
        tail = last.lines.back();
    if (!tail.empty() && EndLength(tail) == 0)
        Split(last).back() += newLine_;
}

void TIniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    section = Trim(section);
    key = Trim(key);
    CheckStorable(section, key, value);

    const auto found = index_.find(Fold(section));
    if (found == index_.end()) {
        TerminateLastLine();
        Section& added = sections_.emplace_back();
        added.name = section;
        added.folded = Fold(section);
        added.split = true;
        added.lines = {Cat({"[", section, "]", newLine_}), Cat({key, "=", value, newLine_})};
        index_.emplace(added.folded, sections_.size() - 1);
        return;
    }

    std::vector<std::string>& lines = Split(sections_[found->second]);
    std::size_t insertAt = 1;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view text = TextOf(lines[i]);
        const auto line = ParseValueLine(text);
        if (!line)
            continue;
        if (SameText(line->key, key)) {
            const std::size_t keep = text.find('=') + 1;
            lines[i] =
                Cat({text.substr(0, keep), value, std::string_view(lines[i]).substr(text.size())});
            return;
        }
        insertAt = i + 1;
    }
    // Only the document's last line can lack a terminator.
    if (EndLength(lines[insertAt - 1]) == 0)
        lines[insertAt - 1] += newLine_;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                 Cat({key, "=", value, newLine_}));
}

void TIniDocument::EraseSection(std::string_view section)
{
    const std::string folded = Fold(Trim(section));
    const auto erased =
        std::remove_if(sections_.begin() + 1, sections_.end(),
                       [&folded](const Section& candidate) { return candidate.folded == folded; });
    if (erased != sections_.end()) {
        sections_.erase(erased, sections_.end());
        Reindex();
    }
}
