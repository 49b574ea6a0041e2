// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Errors.h"

#include <gtest/gtest.h>

namespace {

TEST(Format, ProducesAnyLength)
{
    const std::string long_text(100000, 'x');
    EXPECT_EQ(Format("%d-%s-%c", -42, long_text.c_str(), 'z'), "-42-" + long_text + "-z");
    EXPECT_EQ(Format("%s", ""), "");
}

TEST(Format, UnableToWriteNamesThePath)
{
    try {
        ThrowUnableToWrite("/data/tw.ini");
        FAIL();
    } catch (const TError& e) {
        EXPECT_STREQ(e.what(), "Unable to write to /data/tw.ini");
    }
}

} // namespace
