// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

// Milliseconds since local midnight, 0 .. 86,399,999.
using TTimeOfDayClock = std::function<std::int32_t()>;
std::int32_t LocalTimeOfDayMs();

// Measures intervals in milliseconds on the local time of day. Elapsed never
// reads below 25 ms, which keeps every division by it safe. An interval that
// crosses midnight is measured across it; a clock set back counts as no time.
class stopwatch
{
public:
    explicit stopwatch(TTimeOfDayClock clock = LocalTimeOfDayMs) : clock_(std::move(clock)) {}

    void SetElapsed(std::int32_t ms) { elapsed_ = ms; }
    void Start();
    void Stop();
    std::int32_t Elapsed();

    bool Stopped() const { return stopped_; }

    static constexpr std::int32_t Floor = 25;

private:
    TTimeOfDayClock clock_;
    std::int32_t elapsed_ = 0;
    std::int32_t mark_ = 0;
    bool stopped_ = true;
};

// The one stopwatch all drill windows share (they run one at a time).
stopwatch& DrillStopwatch();
