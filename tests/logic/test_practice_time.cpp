// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PracticeTime.h"
#include "profile/ProfileVar.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(PracticeTime, SplitsIntoWholeHoursMinutesSeconds)
{
    struct Case
    {
        std::int32_t ms;
        THoursMinutesSeconds hms;
    };
    for (const Case& c : {Case{0, {0, 0, 0}}, Case{999, {0, 0, 0}}, Case{5025400, {1, 23, 45}},
                          Case{3723000, {1, 2, 3}}, Case{90000000, {25, 0, 0}},
                          Case{std::numeric_limits<std::int32_t>::max(), {596, 31, 23}}})
        EXPECT_EQ(SplitDuration(c.ms), c.hms) << c.ms;
}

TEST(PracticeTime, RunIsAddedToTheTotalOnceHoweverOftenTheCloseIsTried)
{
    TProfile profile;
    profile.TimeTotal = 90000000;
    TRunPracticeTime run;
    run.Add(5000000);
    run.Add(25400);
    run.AddToTotal(profile);
    run.AddToTotal(profile);
    EXPECT_EQ(profile.TimeTotal, 95025400);
    EXPECT_EQ(run.Report("Ann", profile.TimeTotal),
              "Ann: The practice time is 1 h 23 m 45 s, total practice time is 26 h 23 m 45 s.");
}

TEST(PracticeTime, RunStopsAtTheLimitInsteadOfWrapping)
{
    TRunPracticeTime run;
    run.Add(std::numeric_limits<std::int32_t>::max());
    run.Add(1000);
    EXPECT_EQ(run.Ms(), std::numeric_limits<std::int32_t>::max());
}

TEST(PracticeTime, ReportRightAfterLogonShowsZeroForTheRun)
{
    EXPECT_EQ(TRunPracticeTime().Report("Default", 3723000),
              "Default: The practice time is 0 h 0 m 0 s, total practice time is 1 h 2 m 3 s.");
}

} // namespace
