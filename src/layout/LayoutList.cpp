// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/LayoutList.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

std::vector<std::string> Split(std::string_view text, char separator)
{
    std::vector<std::string> items;
    for (;;) {
        const auto at = text.find(separator);
        items.emplace_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return items;
        text.remove_prefix(at + 1);
    }
}

bool Contains(const std::vector<TXkbLayoutName>& list, const TXkbLayoutName& name)
{
    return std::find(list.begin(), list.end(), name) != list.end();
}

} // namespace

std::optional<TLayoutList> PlanActivation(const std::vector<TXkbLayoutName>& own,
                                          const TXkbLayoutName& wanted)
{
    const auto at = std::find(own.begin(), own.end(), wanted);
    if (at != own.end())
        return TLayoutList{own, static_cast<int>(at - own.begin())};
    if (own.size() >= MaxLayoutGroups)
        return std::nullopt;
    TLayoutList plan{own, static_cast<int>(own.size())};
    plan.Layouts.push_back(wanted);
    return plan;
}

std::vector<TXkbLayoutName> OwnLayouts(const std::vector<TXkbLayoutName>& current,
                                       const std::optional<TXkbLayoutName>& added,
                                       const std::vector<TXkbLayoutName>& remembered)
{
    std::vector<TXkbLayoutName> own = current;
    if (added && !Contains(remembered, *added))
        own.erase(std::remove(own.begin(), own.end(), *added), own.end());
    return own;
}

TLayoutList RestoredList(const std::vector<TXkbLayoutName>& own, const TLayoutList& remembered)
{
    TLayoutList list{own, 0};
    if (remembered.Active >= 0 && remembered.Active < static_cast<int>(remembered.Layouts.size())) {
        const auto at = std::find(own.begin(), own.end(),
                                  remembered.Layouts[static_cast<std::size_t>(remembered.Active)]);
        if (at != own.end())
            list.Active = static_cast<int>(at - own.begin());
    }
    return list;
}

bool IsPlainXkbName(std::string_view name)
{
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '-';
    });
}

std::string LayoutNamesList(const std::vector<TXkbLayoutName>& layouts)
{
    std::string list;
    for (std::size_t i = 0; i < layouts.size(); ++i)
        list += (i ? "," : "") + layouts[i].Layout;
    return list;
}

std::string VariantNamesList(const std::vector<TXkbLayoutName>& layouts)
{
    std::string list;
    for (std::size_t i = 0; i < layouts.size(); ++i)
        list += (i ? "," : "") + layouts[i].Variant;
    return list;
}

std::vector<TXkbLayoutName> ParseNameLists(std::string_view layouts, std::string_view variants)
{
    std::vector<TXkbLayoutName> list;
    if (layouts.empty())
        return list;
    const auto names = Split(layouts, ',');
    auto kinds = Split(variants, ',');
    kinds.resize(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        list.push_back({names[i], kinds[i]});
    return list;
}

std::string LayoutListText(const TLayoutList& list)
{
    return LayoutNamesList(list.Layouts) + ";" + VariantNamesList(list.Layouts) + ";" +
           std::to_string(list.Active);
}

std::optional<TLayoutList> ParseLayoutListText(std::string_view text)
{
    const auto fields = Split(text, ';');
    if (fields.size() != 3)
        return std::nullopt;
    TLayoutList list{ParseNameLists(fields[0], fields[1]), 0};
    const auto [end, error] =
        std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), list.Active);
    if (error != std::errc() || end != fields[2].data() + fields[2].size() ||
        list.Layouts.empty() || list.Layouts.size() > MaxLayoutGroups || list.Active < 0 ||
        list.Active >= static_cast<int>(list.Layouts.size()))
        return std::nullopt;
    for (const auto& name : list.Layouts)
        if (name.Layout.empty() || !IsPlainXkbName(name.Layout) || !IsPlainXkbName(name.Variant))
            return std::nullopt;
    return list;
}
