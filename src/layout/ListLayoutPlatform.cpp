// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/ListLayoutPlatform.h"

#include "layout/XkbRegistry.h"

#include <algorithm>

const std::vector<TXkbRegistryEntry>& TListLayoutPlatform::Registry()
{
    if (!registry_)
        registry_ = ReadXkbRegistry();
    return *registry_;
}

std::optional<TXkbLayoutName> TListLayoutPlatform::NameOfDescription(const std::string& description)
{
    for (const auto& entry : Registry())
        if (entry.Description == description)
            return entry.Name;
    return std::nullopt;
}

std::vector<TInstalledLayout> TListLayoutPlatform::InstalledLayouts()
{
    std::vector<TInstalledLayout> layouts;
    for (const auto& entry : Registry())
        layouts.push_back(InstalledXkbLayout(entry));
    return layouts;
}

TLoadedLayouts TListLayoutPlatform::LoadedLayouts()
{
    TLoadedLayouts loaded;
    const auto list = ReadList();
    if (!list)
        return loaded;
    for (const auto& name : list->Layouts)
        loaded.Items.push_back({XkbLayoutId(name), name.Variant.empty()
                                                       ? name.Layout
                                                       : name.Layout + "(" + name.Variant + ")"});
    loaded.Active = list->Active < static_cast<int>(loaded.Items.size()) ? list->Active : -1;
    return loaded;
}

bool TListLayoutPlatform::Activate(std::uint32_t id)
{
    if (!answered_)
        return false;
    const auto& registry = Registry();
    const auto entry = std::find_if(registry.begin(), registry.end(),
                                    [id](const auto& e) { return XkbLayoutId(e.Name) == id; });
    if (entry == registry.end() || !IsPlainXkbName(entry->Name.Layout) ||
        !IsPlainXkbName(entry->Name.Variant))
        return false;
    const auto current = ReadList();
    if (!current)
        return false;
    const auto own =
        OwnLayouts(current->Layouts, added_, remembered_ ? remembered_->Layouts : current->Layouts);
    const auto plan = PlanActivation(own, entry->Name);
    if (!plan || !Apply(*plan))
        return false;
    added_.reset();
    if (std::find(own.begin(), own.end(), entry->Name) == own.end())
        added_ = entry->Name;
    return true;
}

bool TListLayoutPlatform::Apply(const TLayoutList& target)
{
    const auto current = ReadList();
    if (!current)
        return false;
    if (*current == target)
        return true;
    if (!WriteList(target, current->Layouts != target.Layouts))
        return false;
    return ReadList() == target;
}

void TListLayoutPlatform::RememberCurrent()
{
    remembered_ = ReadList();
    answered_ = remembered_.has_value();
}

bool TListLayoutPlatform::RestoreRemembered()
{
    if (!remembered_)
        return false;
    const auto current = ReadList();
    if (!current)
        return false;
    if (!Apply(
            RestoredList(OwnLayouts(current->Layouts, added_, remembered_->Layouts), *remembered_)))
        return false;
    added_.reset();
    return true;
}

std::string TListLayoutPlatform::RememberedState() const
{
    return remembered_ ? LayoutListText(*remembered_) : std::string();
}

bool TListLayoutPlatform::RestoreState(const std::string& state)
{
    const auto list = ParseLayoutListText(state);
    return list && Apply(*list);
}
