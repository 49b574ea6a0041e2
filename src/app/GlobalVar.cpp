// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/GlobalVar.h"

#include "app/BuildConfig.h"
#include "base/Errors.h"
#include "base/IniFile.h"

#include <climits>
#include <filesystem>
#include <unistd.h>

TSettings* Settings = nullptr;

namespace {

constexpr const char* Section = "General";

std::string WithSeparator(std::string dir)
{
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

} // namespace

std::string ProgramFolder()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return WorkingFolder();
    std::string exe(path, static_cast<std::size_t>(n));
    return exe.substr(0, exe.rfind('/') + 1);
}

TProgramFiles ProgramFilesOf(const std::string& programFolder)
{
    namespace fs = std::filesystem;
    const auto under = [&](const char* relative) {
        return WithSeparator((fs::path(programFolder) / relative).lexically_normal().string());
    };
    std::error_code error;
    if (fs::is_directory(under(InstalledFilesDir), error))
        return {under(InstalledFilesDir), under(InstalledLocaleDir), true};
    const std::string beside = WithSeparator(programFolder);
    return {beside, beside + "locale/", false};
}

TProgramFiles ProgramFiles()
{
    return ProgramFilesOf(ProgramFolder());
}

std::string WorkingFolder()
{
    char path[PATH_MAX];
    if (getcwd(path, sizeof path) == nullptr)
        return "./";
    return WithSeparator(path);
}

TSettings::TSettings() : TSettings(ProgramFiles().Dir, WorkingFolder()) {}

TSettings::TSettings(std::string programDir, std::string dataDir)
    : ProgramDir(WithSeparator(std::move(programDir))), DataDir(WithSeparator(std::move(dataDir)))
{}

bool TSettings::Load()
{
    const TIniFile ini(FileName());
    User = ini.ReadString(Section, "User", "Default");
    ToRestoreLayout = ini.ReadBool(Section, "ToRestoreLayout", true);
    FontName = ini.ReadString(Section, "FontName", "Arial");
    FontCharset = ini.ReadInteger(Section, "FontCharset", 1);
    // An unknown code page falls back to the default, as every other bad
    // value in this file does.
    try {
        codePage_ = TCodePage(ini.ReadInteger(Section, "CodePage", TCodePage::DefaultNumber));
    } catch (const TError&) {
        codePage_ = TCodePage();
    }
    return true;
}

void TSettings::Save()
{
    TIniFile(FileName()).Update([this](TIniDocument& doc) {
        doc.SetValue(Section, "User", User);
        doc.SetValue(Section, "ToRestoreLayout", ToRestoreLayout ? "1" : "0");
        doc.SetValue(Section, "FontName", FontName);
        doc.SetValue(Section, "FontCharset", std::to_string(FontCharset));
    });
}
