// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/SentenceDrill.h"

#include "drills/CourseFile.h"
#include "drills/DrillHost.h"
#include "drills/LineEngine.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <utility>

TRandomIndex ClockSeededIndex()
{
    const auto seed = static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count());
    // Shared, because a std::function must be copyable.
    auto generator = std::make_shared<std::mt19937>(seed);
    return [generator](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(*generator);
    };
}

TSentenceDrill::TSentenceDrill(TLineEngine& engine, stopwatch& watch, TDrillHost& host,
                               TRandomIndex random)
    : TLineListDrill(engine, watch, host), random_(std::move(random))
{}

void TSentenceDrill::NextLine()
{
    // Below 95 % the sentence is practised again.
    std::string sample = engine_.Sample();
    if (engine_.Passed) {
        RequireLines();
        // A source that misses its range still picks a line.
        sample = TrimLine(Lines[std::min(random_(Lines.size()), Lines.size() - 1)]);
    }
    StartLine(engine_, watch_, host_, sample, CountSpaceWords(sample));
}
