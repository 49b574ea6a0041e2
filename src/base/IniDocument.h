// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// An integer as INI files and the profile store write it: optional leading
// blanks, an optional sign, then decimal digits, or hexadecimal digits after
// "$", "x", "X", "0x" or "0X". Decimal must fit 32 signed bits; hexadecimal
// may use all 32 bits ("$FFFFFFFF" is -1). Anything else is nullopt.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// ParseInteger, or TError "'%s' is not a valid integer value".
std::int32_t StrToInt(const std::string& text);

using TKeyValue = std::pair<std::string, std::string>;

// One INI file held in memory. Lines that no change touches keep
// every byte, their line end included (CR LF, LF or CR). A UTF-8 byte-order
// mark at the start is read past and kept.
class TIniDocument
{
public:
    TIniDocument() = default;
    explicit TIniDocument(std::string_view content);

    std::string Content() const;

    // Sections and keys match without regard to (ASCII) case; the first of
    // duplicates wins.
    bool SectionExists(std::string_view section) const;
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    std::vector<std::string> Sections() const;
    std::vector<TKeyValue> SectionValues(std::string_view section) const;

    // Replaces the value in place, or appends the key at the end of its
    // section, or appends the section at the end of the document. Throws
    // TError for a name or value the format cannot hold (a section name with
    // "]", a key with "=" or starting with "[", ";" or "#", an empty key, a
    // line break anywhere), which would otherwise read back as other lines.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes the header and lines of every section of that name, so that no
    // later duplicate takes its place.
    void EraseSection(std::string_view section);

private:
    // The lines before the first header, or a section from its header on.
    // Until a change touches it, it is a range of the text the document was
    // read from, so that a large file costs only a scan for its headers; a
    // change splits it into lines of its own.
    struct Section
    {
        std::string name;   // as written between the brackets, trimmed
        std::string folded; // name in ASCII lower case
        std::size_t begin = 0, end = 0;
        bool split = false;
        std::vector<std::string> lines; // each with its own terminator, once split
    };
    static constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    std::string source_;
    std::size_t bom_ = 0; // length of the byte-order mark at the start, if any
    std::vector<Section> sections_ = std::vector<Section>(1); // [0]: lines before any header
    // Folded name to the first section of that name.
    std::unordered_map<std::string, std::size_t> index_;
    std::string newLine_ = "\n";

    const Section* Find(std::string_view section) const;
    std::vector<std::string_view> Lines(const Section& section) const;
    std::vector<std::string>& Split(Section& section);
    void Reindex();
    void TerminateLastLine();
};
