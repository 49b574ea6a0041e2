// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/ProfileStore.h"

#include "base/Errors.h"
#include "base/Translate.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

void CheckUserName(std::string_view name)
{
    if (!IsStorableUserName(name))
        throw TError(Format(_("\"%s\" cannot be used as a user name."), std::string(name).c_str()));
}

// The INI document checks each value as it is set; a refused one throws
// before the file is written, so the file never holds half a profile.
void Apply(TIniDocument& doc, std::string_view name, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) {
        const auto eq = line.find('=');
        doc.SetValue(name, std::string_view(line).substr(0, eq),
                     std::string_view(line).substr(eq + 1));
    }
}

} // namespace

bool IsStorableUserName(std::string_view name)
{
    return !name.empty() && !IsBlank(name.front()) && !IsBlank(name.back()) &&
           name.find_first_of(std::string_view("]\r\n\0", 4)) == std::string_view::npos;
}

void ReadProfile(const TIniDocument& doc, std::string_view name, TProfile& profile)
{
    std::vector<std::string> lines;
    if (IsStorableUserName(name)) {
        for (const auto& [key, value] : doc.SectionValues(name))
            lines.push_back(key + "=" + value);
    }
    profile.LoadFromStrings(lines);
}

void WriteProfile(TIniDocument& doc, std::string_view name, const TProfile& profile)
{
    CheckUserName(name);
    Apply(doc, name, profile.SaveToStrings());
}

void TProfileStore::LoadProfile(TProfile& profile, const std::string& name) const
{
    ReadProfile(file_.Read(), name, profile);
}

void TProfileStore::SaveProfile(const TProfile& profile, const std::string& name)
{
    CheckUserName(name);
    const auto lines = profile.SaveToStrings();
    file_.Update([&](TIniDocument& doc) { Apply(doc, name, lines); });
}

void TProfileStore::Bind(TProfile& profile)
{
    profile.OnLoad = [this](TProfile& p, const std::string& name) { LoadProfile(p, name); };
    profile.OnSave = [this](TProfile& p, const std::string& name) { SaveProfile(p, name); };
}

std::vector<std::string> TProfileStore::Users() const
{
    return file_.ReadSections();
}

void TProfileStore::EraseUser(const std::string& name)
{
    if (IsStorableUserName(name))
        file_.EraseSection(name);
}
