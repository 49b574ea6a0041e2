// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/KeyboardLayoutAgent.h"

#include "base/Errors.h"
#include "base/Translate.h"

#include <algorithm>
#include <cctype>

namespace {

// Windows lists at most this many loaded layouts; the information text keeps
// to the same number.
constexpr std::size_t MaxLoadedLayouts = 16;

} // namespace

std::string FormatLayoutId(std::uint32_t id)
{
    return Format("%.8X", id);
}

std::optional<std::uint32_t> ParseLayoutId(const std::string& text)
{
    if (text.size() != 8 || !std::all_of(text.begin(), text.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c)) != 0;
        }))
        return std::nullopt;
    return static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
}

TKeyboardLayoutAgent::TKeyboardLayoutAgent() : TKeyboardLayoutAgent(DesktopLayoutPlatform()) {}

TKeyboardLayoutAgent::TKeyboardLayoutAgent(std::unique_ptr<TKeyboardLayoutPlatform> platform)
    : platform_(std::move(platform))
{
    TakeOriginal();
}

void TKeyboardLayoutAgent::TakeOriginal()
{
    platform_->RememberCurrent();
    loaded_ = platform_->LoadedLayouts();
    originalLayout_.reset();
    originalLayoutName_.reset();
    if (loaded_.Active >= 0 && loaded_.Active < static_cast<int>(loaded_.Items.size()))
        originalLayout_ = loaded_.Items[static_cast<std::size_t>(loaded_.Active)];
}

void TKeyboardLayoutAgent::KeepRestoreFile(const std::string& path)
{
    restoreFile_.emplace(path);
    try {
        if (const auto left = restoreFile_->Read(platform_->Kind())) {
            platform_->RestoreState(*left);
            restoreFile_->Remove(platform_->Kind());
            TakeOriginal();
        }
    } catch (const TError&) {
        // An unreadable file: the run goes on as without one.
    }
}

TKeyboardLayoutAgent::~TKeyboardLayoutAgent() = default;

const std::vector<TInstalledLayout>& TKeyboardLayoutAgent::Installed() const
{
    if (!installed_)
        installed_ = platform_->InstalledLayouts();
    return *installed_;
}

TKeyboardLayoutAgent::TDescribed TKeyboardLayoutAgent::Describe(const TLoadedLayout& layout) const
{
    const auto& installed = Installed();
    const auto found = std::find_if(installed.begin(), installed.end(),
                                    [&](const TInstalledLayout& i) { return i.Id == layout.Id; });
    if (found == installed.end())
        return {layout.Name, layout.Name, {}};
    TDescribed d{found->Locale.LanguageName, found->Name, found->Locale};
    if (!found->IsLanguageDefault)
        d.DisplayName += " - " + found->Name;
    return d;
}

const TInstalledLayout& TKeyboardLayoutAgent::InstalledAt(int position) const
{
    const auto& installed = Installed();
    if (position < 0 || position >= static_cast<int>(installed.size()))
        throw TError(Format(_("List index out of bounds (%d)"), position));
    return installed[static_cast<std::size_t>(position)];
}

const std::vector<std::string>& TKeyboardLayoutAgent::AvailableNames() const
{
    if (!availableNames_) {
        availableNames_.emplace();
        if (availableListed_)
            for (const auto& layout : Installed())
                availableNames_->push_back(layout.Name + " - " + FormatLayoutId(layout.Id));
    }
    return *availableNames_;
}

const std::vector<std::string>& TKeyboardLayoutAgent::InfoLines() const
{
    if (infoLines_)
        return *infoLines_;
    infoLines_.emplace();
    if (!infoSource_)
        return *infoLines_;
    auto& lines = *infoLines_;
    const auto& items = infoSource_->Items;
    lines.push_back(_("Loaded input locale identifiers:"));
    for (std::size_t i = 0; i < items.size() && i < MaxLoadedLayouts; ++i) {
        const auto d = Describe(items[i]);
        lines.push_back("  " + d.DisplayName + " = " + d.VariationName + "-" +
                        Format("%.4X", d.Locale.LanguageId));
    }
    TDescribed active;
    if (infoSource_->Active >= 0 && infoSource_->Active < static_cast<int>(items.size()))
        active = Describe(items[static_cast<std::size_t>(infoSource_->Active)]);
    lines.push_back(_("Current locale identifiers:"));
    lines.push_back(_("  Display name: ") + active.DisplayName);
    lines.push_back(_("  Variantion name: ") + active.VariationName);
    lines.push_back(_("  Language: ") + active.Locale.LanguageName);
    lines.push_back(_("  Country: ") + active.Locale.Country);
    return lines;
}

std::string TKeyboardLayoutAgent::OriginalLayoutName() const
{
    if (!originalLayoutName_)
        originalLayoutName_ = originalLayout_ ? Describe(*originalLayout_).VariationName : "";
    return *originalLayoutName_;
}

void TKeyboardLayoutAgent::SetOriginalLayoutName(const std::string& name)
{
    originalLayoutName_ = name;
}

void TKeyboardLayoutAgent::Refresh()
{
    loaded_ = platform_->LoadedLayouts();
    BuildAvailableList();
    BuildInfo();
}

void TKeyboardLayoutAgent::BuildAvailableList()
{
    availableListed_ = true;
    availableNames_.reset();
}

void TKeyboardLayoutAgent::BuildInfo()
{
    infoSource_ = loaded_;
    infoLines_.reset();
}

bool TKeyboardLayoutAgent::CanActivateLayouts() const
{
    return platform_->CanActivate();
}

std::string TKeyboardLayoutAgent::LayoutName(const std::string& id) const
{
    const int position = IndexOfLayout(id);
    return position < 0 ? id : InstalledAt(position).Name;
}

bool TKeyboardLayoutAgent::ActivateLayout(const std::string& id)
{
    const auto value = ParseLayoutId(id);
    if (!value)
        return false;
    const auto& installed = Installed();
    if (std::none_of(installed.begin(), installed.end(),
                     [&](const TInstalledLayout& i) { return i.Id == *value; }))
        return false;
    if (restoreFile_ && !restoreRecorded_) {
        try {
            restoreFile_->Write(platform_->Kind(), platform_->RememberedState());
            restoreRecorded_ = true;
        } catch (const TError&) {
            // A data folder that cannot be written: the orderly end still restores.
        }
    }
    if (!platform_->Activate(*value))
        return false;
    loaded_ = platform_->LoadedLayouts();
    return true;
}

bool TKeyboardLayoutAgent::ActivateAvailable(int position)
{
    return ActivateLayout(FormatLayoutId(InstalledAt(position).Id));
}

int TKeyboardLayoutAgent::IndexOfLayout(const std::string& id) const
{
    const auto& installed = Installed();
    for (std::size_t i = 0; i < installed.size(); ++i)
        if (FormatLayoutId(installed[i].Id) == id)
            return static_cast<int>(i);
    return -1;
}

std::string TKeyboardLayoutAgent::LayoutIdAt(int position) const
{
    return FormatLayoutId(InstalledAt(position).Id);
}

bool TKeyboardLayoutAgent::RestoreOriginalLayout()
{
    if (!platform_->RestoreRemembered())
        return false;
    if (restoreFile_ && restoreRecorded_) {
        try {
            restoreFile_->Remove(platform_->Kind());
            restoreRecorded_ = false;
        } catch (const TError&) {
            // Left for the next start, which finds the layouts as recorded.
        }
    }
    return true;
}
