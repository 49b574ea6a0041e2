// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/LineEngine.h"
#include "history/HistoryRecords.h"

#include <cstdint>
#include <functional>
#include <string>

class TGameCore;

// Milliseconds on a clock that never goes back, for the times between keys.
using TSteadyClock = std::function<std::int64_t()>;
std::int64_t SteadyMs();
// Seconds since the epoch, for when a line or a game ended.
using TWallClock = std::function<std::int64_t()>;
std::int64_t WallSeconds();

// Keeps the judged keys of the current line in memory and hands every
// completed line, whole, to the sink; lines that end otherwise are dropped.
class TLineRecorder final : public TLineObserver
{
public:
    using TSink = std::function<void(const TLineRecord&)>;

    TLineRecorder(TSink sink, THistoryActivity activity, std::string course,
                  TSteadyClock steady = SteadyMs, TWallClock wall = WallSeconds);

    // The 1-based lesson of the line that ends, for the course drill.
    std::function<int()> Lesson;

    void KeyJudged(int position, unsigned char expected, int typed, bool first) override;
    void LineEnded(const TLineEngine& engine) override;

private:
    TSink sink_;
    TSteadyClock steady_;
    TWallClock wall_;
    TLineRecord line_;
    std::int64_t previous_ = 0;
};

// The record of a game that has just ended with a result.
TGameRecord GameRecordOf(TGameCore& game, const std::string& course, std::int64_t when);
