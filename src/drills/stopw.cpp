// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/stopw.h"

#include <algorithm>
#include <ctime>
#include <limits>

namespace {

constexpr std::int64_t MsPerDay = 24LL * 60 * 60 * 1000;

// The time of day wraps at midnight, so a reading below the mark is either a
// crossing of midnight or a clock that was set back (summer time ending, a
// manual change). A short wrapped interval is the former; nothing in the
// program times half a day, so a longer one is the latter and counts as none.
std::int64_t Interval(std::int32_t from, std::int32_t to)
{
    std::int64_t d = std::int64_t{to} - from;
    if (d < 0) {
        d += MsPerDay;
        if (d > MsPerDay / 2)
            d = 0;
    }
    return d;
}

std::int32_t Saturate(std::int64_t ms)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        ms, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

std::int32_t LocalTimeOfDayMs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    const std::int64_t ms =
        ((std::int64_t{local.tm_hour} * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 +
        now.tv_nsec / 1'000'000;
    // A leap second (tm_sec 60) would otherwise read past the end of the day.
    return static_cast<std::int32_t>(std::min(ms, MsPerDay - 1));
}

void stopwatch::Start()
{
    stopped_ = false;
    mark_ = clock_();
}

void stopwatch::Stop()
{
    if (stopped_)
        return;
    const std::int32_t now = clock_();
    elapsed_ = Saturate(Interval(mark_, now));
    mark_ = now;
    stopped_ = true;
}

std::int32_t stopwatch::Elapsed()
{
    if (!stopped_) {
        const std::int32_t now = clock_();
        elapsed_ = Saturate(elapsed_ + Interval(mark_, now));
        mark_ = now;
    }
    elapsed_ = std::max(elapsed_, Floor);
    return elapsed_;
}

stopwatch& DrillStopwatch()
{
    static stopwatch watch;
    return watch;
}
