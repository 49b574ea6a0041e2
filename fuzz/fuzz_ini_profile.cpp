// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as an INI file and as the lines of a profile. A TError is
// the expected answer to malformed input; any other exception, a crash or a
// broken round trip is a bug.
#include "base/Errors.h"
#include "base/IniFile.h"
#include "profile/ProfileStore.h"
#include "profile/ProfileVar.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

std::vector<std::string> SplitLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos)
            break;
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

void FuzzDocument(std::string_view bytes)
{
    const TIniDocument doc(bytes);
    Check(doc.Content() == bytes);
    for (const std::string& section : doc.Sections()) {
        Check(doc.SectionExists(section));
        for (const auto& [key, value] : doc.SectionValues(section))
            Check(doc.Value(section, key) == value);
        TProfile profile;
        try {
            ReadProfile(doc, section, profile);
        } catch (const TError&) {
        }
    }
}

bool HasBlankEnd(std::string_view line)
{
    const std::string_view value = line.substr(line.find('=') + 1);
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return !value.empty() && (blank(value.front()) || blank(value.back()));
}

// Whatever a profile holds after a load is written and read back unchanged,
// under any name the store accepts; only the blanks the INI reader trims
// from the ends of a value are lost.
void FuzzProfile(std::string_view bytes)
{
    const std::vector<std::string> lines = SplitLines(bytes);
    TProfile profile;
    try {
        profile.LoadFromStrings(lines);
    } catch (const TError&) {
        return;
    }
    const std::vector<std::string> saved = profile.SaveToStrings();
    TProfile again;
    again.LoadFromStrings(saved);
    Check(again.SaveToStrings() == saved);

    const std::string name = lines.empty() ? std::string() : lines.front();
    if (!IsStorableUserName(name))
        return;
    TIniDocument doc;
    try {
        WriteProfile(doc, name, profile);
    } catch (const TError&) {
        return; // a value with a line break
    }
    const TIniDocument reread(doc.Content());
    Check(reread.Sections() == std::vector<std::string>{name});
    TProfile stored;
    ReadProfile(reread, name, stored);
    const std::vector<std::string> restored = stored.SaveToStrings();
    Check(restored.size() == saved.size());
    for (std::size_t i = 0; i < saved.size(); ++i)
        Check(HasBlankEnd(saved[i]) || restored[i] == saved[i]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FuzzDocument(bytes);
    FuzzProfile(bytes);
    return 0;
}
