// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/stopw.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t Day = 86'400'000;

// One step of a script run against a stopwatch on a fake clock.
struct Step
{
    enum Kind
    {
        At,
        Start,
        Stop,
        Set,
        Read
    } kind;
    std::int32_t value = 0; // clock time for At, milliseconds for Set, expected for Read
};

struct ScriptCase
{
    std::string name;
    std::vector<Step> steps;
};

class StopwatchScript : public testing::TestWithParam<ScriptCase>
{};

TEST_P(StopwatchScript, ReadsAsExpected)
{
    std::int32_t now = 0;
    stopwatch watch([&now] { return now; });
    int line = 0;
    for (const Step& step : GetParam().steps) {
        ++line;
        switch (step.kind) {
        case Step::At:
            now = step.value;
            break;
        case Step::Start:
            watch.Start();
            break;
        case Step::Stop:
            watch.Stop();
            break;
        case Step::Set:
            watch.SetElapsed(step.value);
            break;
        case Step::Read:
            EXPECT_EQ(watch.Elapsed(), step.value) << "step " << line;
            break;
        }
    }
}

using S = Step;

INSTANTIATE_TEST_SUITE_P(
    Stopwatch, StopwatchScript,
    testing::Values(
        // The raised floor is stored: a later running reading adds to 25.
        ScriptCase{"NewReadsFloorAndKeepsIt",
                   {{S::Read, 25},
                    {S::Read, 25},
                    {S::At, 1000},
                    {S::Start},
                    {S::At, 1100},
                    {S::Read, 125}}},
        ScriptCase{"StartStopMeasuresInterval",
                   {{S::At, 5000}, {S::Start}, {S::At, 6200}, {S::Stop}, {S::Read, 1200}}},
        ScriptCase{"StopWhenStoppedChangesNothing",
                   {{S::Start},
                    {S::At, 500},
                    {S::Stop},
                    {S::At, 900},
                    {S::Stop},
                    {S::Read, 500},
                    {S::At, 4000},
                    {S::Read, 500}}},
        ScriptCase{
            "StopKeepsOnlyTimeSinceLastReading",
            {{S::Start}, {S::At, 1000}, {S::Read, 1000}, {S::At, 1500}, {S::Stop}, {S::Read, 500}}},
        ScriptCase{"StartDoesNotClearElapsed",
                   {{S::Set, 1000}, {S::Start}, {S::At, 200}, {S::Read, 1200}}},
        ScriptCase{"ResetWhileRunningKeepsRunning",
                   {{S::Start},
                    {S::At, 300},
                    {S::Read, 300},
                    {S::Set, 0},
                    {S::At, 310},
                    {S::Read, 25},
                    {S::At, 400},
                    {S::Read, 115}}},
        ScriptCase{"MidnightCrossingMeasuredAcross",
                   {{S::At, Day - 1000}, {S::Start}, {S::At, 1500}, {S::Stop}, {S::Read, 2500}}},
        ScriptCase{"MidnightCrossingWhileRunningReadings",
                   {{S::At, Day - 100}, {S::Start}, {S::At, 400}, {S::Read, 500}}},
        ScriptCase{"ClockSetBackCountsAsNoTime",
                   {{S::At, 3 * 3'600'000},
                    {S::Start},
                    {S::At, 2 * 3'600'000 + 500},
                    {S::Stop},
                    {S::Read, 25}}},
        ScriptCase{
            "HugeStoredValueSaturates",
            {{S::Set, 2'147'483'000}, {S::Start}, {S::At, 10'000}, {S::Read, 2'147'483'647}}}),
    [](const testing::TestParamInfo<ScriptCase>& param) { return param.param.name; });

// Under a fixed zone 5 hours east of UTC the time of day is the UTC seconds of
// the day shifted by 5 hours.
TEST(Stopwatch, LocalTimeOfDayFollowsTimeZone)
{
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "XYZ-5", 1);
    tzset();

    const std::time_t utc = std::time(nullptr);
    const std::int32_t ms = LocalTimeOfDayMs();
    const std::int64_t expected = (static_cast<std::int64_t>(utc) + 5 * 3600) % 86'400 * 1000;

    if (old)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();

    EXPECT_GE(ms, 0);
    EXPECT_LT(ms, Day);
    // The two readings may straddle a second (or midnight).
    const std::int64_t diff = (ms - expected + Day) % Day;
    EXPECT_LT(diff, 2000) << ms << " vs " << expected;
}

} // namespace
