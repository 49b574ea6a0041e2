// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Recording.h"

#include "game/GameCore.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <utility>

namespace {

// Room for a long line without growing while it is typed.
constexpr std::size_t KeysReserved = 512;

} // namespace

std::int64_t SteadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t WallSeconds()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

TLineRecorder::TLineRecorder(TSink sink, THistoryActivity activity, std::string course,
                             TSteadyClock steady, TWallClock wall)
    : sink_(std::move(sink)), steady_(std::move(steady)), wall_(std::move(wall))
{
    line_.Activity = activity;
    line_.Course = std::move(course);
    line_.Keys.reserve(KeysReserved);
}

void TLineRecorder::KeyJudged(int position, unsigned char expected, int typed, bool first)
{
    const std::int64_t now = steady_();
    if (first)
        line_.Keys.clear();
    const std::int64_t since =
        line_.Keys.empty() ? 0
                           : std::clamp<std::int64_t>(now - previous_, 1,
                                                      std::numeric_limits<std::int32_t>::max());
    previous_ = now;
    line_.Keys.push_back({position, expected, typed, static_cast<std::int32_t>(since)});
}

void TLineRecorder::LineEnded(const TLineEngine& engine)
{
    if (engine.LineResult == TLineResult::Completed && engine.SampleLength > 0) {
        const TLineStatistics stats = engine.Statistics();
        line_.When = wall_();
        line_.Lesson = Lesson ? Lesson() : 0;
        line_.KeysPerMinute = stats.KeysPerMinute;
        line_.Accuracy = stats.Accuracy;
        line_.WordsPerMinute = stats.WordsPerMinute;
        line_.LineTime = engine.LineTime;
        line_.Sample = engine.Sample().substr(
            0, std::min(engine.Sample().size(), static_cast<std::size_t>(engine.SampleLength)));
        sink_(line_);
    }
    line_.Keys.clear();
}

TGameRecord GameRecordOf(TGameCore& game, const std::string& course, std::int64_t when)
{
    const TGameResult result = game.Result();
    TGameRecord record;
    record.When = when;
    record.Course = course;
    record.Score = game.Score;
    record.Hits = game.Hits;
    record.Misses = game.Lost;
    record.Level = game.Level;
    record.Accuracy = result.Accuracy;
    record.WordsPerMinute = result.WordsPerMinute;
    record.GameTime = game.GameWatch.Elapsed();
    return record;
}
