// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Translate.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The users the logon window offers, in the store's order. A typed name
// matches its entry without regard to case.
class TUserList
{
public:
    TUserList() = default;
    explicit TUserList(std::vector<std::string> names) : names_(std::move(names)) {}

    const std::vector<std::string>& Names() const { return names_; }
    std::size_t Count() const { return names_.size(); }

    std::optional<std::size_t> IndexOf(std::string_view name) const;
    bool Contains(std::string_view name) const { return IndexOf(name).has_value(); }
    // Deletes the entry that matches the name, if any.
    void Remove(std::string_view name);

private:
    std::vector<std::string> names_;
};

// What the logon window does with the name in its box.
enum class TLogonRefusal
{
    None,
    NoName,
    NotListed
};
TLogonRefusal CheckLogon(const TUserList& list, std::string_view name);
// Adding a user needs a listed user as the template.
bool CanBeTemplate(const TUserList& list, std::string_view name);

enum class TRemoval
{
    Erase,       // erase the section and the list entry
    NotListed,   // nothing in the store carries the name: nothing to erase
    LastProfile, // refused: the store must keep at least one profile
};
TRemoval CheckRemoval(const TUserList& list, std::string_view name);

// The untranslated texts of the logon window's messages.
inline constexpr const char* NoNameMessage = N_("Please select a user name from the user list.");
inline constexpr const char* NotListedMessage = N_(
    "The user name is not in the list. Please either select from the list or add a new user name.");
inline constexpr const char* NoTemplateMessage =
    N_("To use an existing profile as basic template to define a new profile, Please select a user "
       "name from the user combobox.");
inline constexpr const char* AddedMessage = N_(" is added to the list.");
inline constexpr const char* AlreadyListedMessage =
    N_("The user name is already in the dropdown list. Please pick up the name and logon.");
inline constexpr const char* ConfirmRemoveMessage =
    N_("You are going to erase the profile of selected user. Do you want to confirm?");
inline constexpr const char* LastProfileMessage =
    N_("There should be at least one profile. Abort.");
