// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/LayoutRestoreFile.h"

#include "base/IniFile.h"

#include <filesystem>

namespace {

constexpr const char* StateKey = "State";

} // namespace

void TLayoutRestoreFile::Write(const std::string& desktop, const std::string& state) const
{
    TIniFile(path_).WriteString(desktop, StateKey, state);
}

std::optional<std::string> TLayoutRestoreFile::Read(const std::string& desktop) const
{
    const TIniFile file(path_);
    if (!file.SectionExists(desktop))
        return std::nullopt;
    return file.ReadString(desktop, StateKey, "");
}

void TLayoutRestoreFile::Remove(const std::string& desktop) const
{
    TIniFile file(path_);
    if (!file.SectionExists(desktop))
        return;
    file.EraseSection(desktop);
    if (file.ReadSections().empty()) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
}
