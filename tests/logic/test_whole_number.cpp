// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WholeNumber.h"

#include <gtest/gtest.h>

TEST(WholeNumberEntry, DigitsAndOneLeadingSignOnly)
{
    struct Case
    {
        const char* text;
        bool accepted;
    };
    const Case cases[] = {{"", true},    {"0", true},    {"-4", true},  {"+10", true},
                          {"-", true},   {"1a", false},  {"4-", false}, {"--1", false},
                          {" 1", false}, {"1.5", false}, {"x", false}};
    for (const Case& c : cases)
        EXPECT_EQ(IsWholeNumberEntry(c.text), c.accepted) << c.text;
}
