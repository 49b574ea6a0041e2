// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UserList.h"

#include <gtest/gtest.h>

namespace {

const TUserList Three({"Default", "Anna", "Bob"});
const TUserList One({"Default"});
const TUserList None;

struct LogonCase
{
    const TUserList* List;
    const char* Name;
    TLogonRefusal Expected;
};

class LogonCheck : public testing::TestWithParam<LogonCase>
{};

TEST_P(LogonCheck, RefusesEmptyAndUnlistedNames)
{
    const auto& c = GetParam();
    EXPECT_EQ(CheckLogon(*c.List, c.Name), c.Expected);
    EXPECT_EQ(CanBeTemplate(*c.List, c.Name), c.Expected == TLogonRefusal::None);
}

INSTANTIATE_TEST_SUITE_P(Names, LogonCheck,
                         testing::Values(LogonCase{&Three, "Anna", TLogonRefusal::None},
                                         LogonCase{&Three, "aNNA", TLogonRefusal::None},
                                         LogonCase{&Three, "", TLogonRefusal::NoName},
                                         LogonCase{&Three, "Ann", TLogonRefusal::NotListed},
                                         LogonCase{&Three, "Anna ", TLogonRefusal::NotListed},
                                         LogonCase{&None, "", TLogonRefusal::NoName},
                                         LogonCase{&None, "Default", TLogonRefusal::NotListed}));

struct RemovalCase
{
    const TUserList* List;
    const char* Name;
    TRemoval Expected;
};

class RemovalCheck : public testing::TestWithParam<RemovalCase>
{};

TEST_P(RemovalCheck, KeepsOneProfileAndErasesOnlyListedNames)
{
    const auto& c = GetParam();
    EXPECT_EQ(CheckRemoval(*c.List, c.Name), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Names, RemovalCheck,
                         testing::Values(RemovalCase{&Three, "anna", TRemoval::Erase},
                                         RemovalCase{&Three, "Nobody", TRemoval::NotListed},
                                         RemovalCase{&Three, "", TRemoval::NotListed},
                                         RemovalCase{&One, "Default", TRemoval::LastProfile},
                                         RemovalCase{&One, "Nobody", TRemoval::LastProfile},
                                         RemovalCase{&None, "", TRemoval::LastProfile}));

TEST(UserList, RemoveDeletesTheMatchingEntryOnly)
{
    TUserList list({"Default", "Anna", "Bob"});
    list.Remove("ANNA");
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"Default", "Bob"}));
    list.Remove("Nobody");
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.IndexOf("bob"), 1u);
}

} // namespace
