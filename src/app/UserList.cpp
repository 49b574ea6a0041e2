// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UserList.h"

#include "base/TextCase.h"

#include <algorithm>

std::optional<std::size_t> TUserList::IndexOf(std::string_view name) const
{
    const auto it =
        std::ranges::find_if(names_, [name](const std::string& n) { return SameText(n, name); });
    if (it == names_.end())
        return std::nullopt;
    return static_cast<std::size_t>(it - names_.begin());
}

void TUserList::Remove(std::string_view name)
{
    if (const auto index = IndexOf(name))
        names_.erase(names_.begin() + static_cast<std::ptrdiff_t>(*index));
}

TLogonRefusal CheckLogon(const TUserList& list, std::string_view name)
{
    if (name.empty())
        return TLogonRefusal::NoName;
    if (!list.Contains(name))
        return TLogonRefusal::NotListed;
    return TLogonRefusal::None;
}

bool CanBeTemplate(const TUserList& list, std::string_view name)
{
    return CheckLogon(list, name) == TLogonRefusal::None;
}

TRemoval CheckRemoval(const TUserList& list, std::string_view name)
{
    if (list.Count() <= 1)
        return TRemoval::LastProfile;
    // A name that matches no entry names no section either: erasing by it
    // would at best do nothing, and an empty name must never reach the store.
    if (!list.Contains(name))
        return TRemoval::NotListed;
    return TRemoval::Erase;
}
