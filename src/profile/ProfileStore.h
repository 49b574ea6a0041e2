// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/IniFile.h"
#include "profile/ProfileVar.h"

#include <string>
#include <string_view>
#include <vector>

// Whether an INI section can hold the name so that the next read finds it
// again: not empty, no "]", CR, LF or NUL, and no blank at either end (the
// reader trims those).
bool IsStorableUserName(std::string_view name);

// A profile's section of an INI document: read in file order into the
// profile, or written value by value in the profile's key order (a missing
// section is appended; keys the profile does not write stay as they are).
// Writing throws TError for a name that is not storable, before anything
// changes, or for a value the INI format cannot hold (a line break).
void ReadProfile(const TIniDocument& doc, std::string_view name, TProfile& profile);
void WriteProfile(TIniDocument& doc, std::string_view name, const TProfile& profile);

// All users' profiles in one INI file, a section per user.
class TProfileStore
{
public:
    explicit TProfileStore(std::string path) : file_(std::move(path)) {}
    const std::string& FileName() const { return file_.FileName(); }

    // A missing file or section gives every default. A name that is not
    // storable cannot have a section and reads as missing.
    void LoadProfile(TProfile& profile, const std::string& name) const;
    // One read-modify-write of the file under its lock; a failed write
    // leaves the file as it was.
    void SaveProfile(const TProfile& profile, const std::string& name);

    // Points the profile's OnLoad and OnSave at this store, which must
    // outlive the binding.
    void Bind(TProfile& profile);

    // Section names in file order.
    std::vector<std::string> Users() const;
    void EraseUser(const std::string& name);

private:
    TIniFile file_;
};
