// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/LineEngine.h"

#include "drills/stopw.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <utility>

namespace {

constexpr int KeySpace = ' ';
constexpr int FastestBelievable = 700; // keys per minute
constexpr int PassingAccuracy = 95;

int ClampToInt(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// 64-bit, because a paragraph drill's sample can be long enough for
// count × 60,000 to overflow an int.
int PerMinute(int count, std::int32_t ms)
{
    return ClampToInt(std::int64_t{count} * 60 * 1000 / std::max(ms, stopwatch::Floor));
}

} // namespace

TLineEngine::TLineEngine(TLineDrillHost& host, stopwatch& watch) : host_(host), watch_(watch)
{
    SetSample({});
}

void TLineEngine::SetSample(std::string text)
{
    sample_ = std::move(text);
    Marks.assign(sample_.size() + 1, false);
}

unsigned char TLineEngine::At(int i) const
{
    if (i < 1 || static_cast<std::size_t>(i) > sample_.size())
        return 0;
    return static_cast<unsigned char>(sample_[static_cast<std::size_t>(i) - 1]);
}

unsigned char TLineEngine::Next() const
{
    return Position > SampleLength ? 0 : At(Position);
}

void TLineEngine::SetMark(int i, bool right)
{
    if (i >= 1 && static_cast<std::size_t>(i) < Marks.size())
        Marks[static_cast<std::size_t>(i)] = right;
}

int TLineEngine::CountErrors() const
{
    if (SampleLength < 1)
        return 0;
    // Positions beyond the marks were never typed right.
    const std::size_t marked =
        std::min(static_cast<std::size_t>(SampleLength), Marks.empty() ? 0 : Marks.size() - 1);
    int errors = SampleLength - static_cast<int>(marked);
    for (std::size_t i = 1; i <= marked; ++i)
        if (!Marks[i])
            ++errors;
    return errors;
}

void TLineEngine::StartTiming()
{
    if (Timing)
        return;
    host_.ShowTimingMark(true);
    watch_.Start();
    Timing = true;
}

TKeyVerdict TLineEngine::KeyPress(int k)
{
    constexpr TKeyVerdict discarded{};
    TKeyVerdict verdict{true, k};
    int& p = Position;

    if (SampleLength < p || SampleLength < 1) {
        EndOfLine = true;
        // The key is swallowed, so it counts as neither Esc nor Enter below.
        k = 0;
    } else {
        const unsigned char expected = At(p);
        if (k != 0 && k == expected) {
            if (Observer != nullptr)
                Observer->KeyJudged(p, expected, k, !Timing);
            host_.MoveCaretToEnd();
            host_.MarkRight();
            SetMark(p++, true);
            if (!EnterEndsLine && k == CharCR)
                SetMark(p++, true);
            host_.ShowNextKey(Next());
            StartTiming();
        } else if (k == KeyBackspace) {
            if (p > 1) {
                p -= At(p - 1) == CharLF && At(p - 2) == CharCR ? 2 : 1;
                host_.ShowNextKey(Next());
            }
        } else if (k == KeyEnter) {
            if (EnterEndsLine)
                EndOfLine = true;
        } else if (k == KeyEscape) {
            EndOfLine = true;
        } else if (k == 0) {
            verdict = discarded;
        } else if (expected == CharCR) {
            if (k == KeySpace) {
                verdict.Key = KeyEnter;
                SetMark(p, true);
                SetMark(p + 1, true);
                p += 2;
            } else {
                verdict = discarded;
            }
        } else {
            if (Observer != nullptr)
                Observer->KeyJudged(p, expected, k, !Timing);
            host_.MoveCaretToEnd();
            host_.MarkWrong();
            host_.WrongKey();
            SetMark(p++, false);
            host_.ShowNextKey(Next());
            StartTiming();
        }
    }

    if (EndOfLine) {
        EndLine(k);
        return discarded;
    }
    if (host_.HighlightNext())
        host_.HighlightSample(std::clamp(p - 1, 0, static_cast<int>(sample_.size())));
    return verdict;
}

void TLineEngine::EndLine(int k)
{
    watch_.Stop();
    LineTime = watch_.Elapsed();
    PracticeTime += LineTime;
    host_.ShowTimingMark(false);

    if (k != KeyEscape)
        ErrorCount = CountErrors();

    if (SampleLength < Position)
        LineResult = TLineResult::Completed;
    else if (k == KeyEscape)
        LineResult = TLineResult::Cancelled;
    else if (k == KeyEnter)
        LineResult = TLineResult::EndedEarly;
    else
        LineResult = TLineResult::None;

    if (LineResult == TLineResult::Completed) {
        host_.LineDone();
        ShowStatistics();
    } else if (LineResult == TLineResult::Cancelled) {
        host_.CloseWindow();
    }
    if (Observer != nullptr)
        Observer->LineEnded(*this);

    host_.NextLine();
    Timing = false;
    EndOfLine = false;
}

TLineStatistics TLineEngine::Statistics() const
{
    TLineStatistics stats;
    if (SampleLength <= 0)
        return stats;
    stats.KeysPerMinute = PerMinute(SampleLength, LineTime);
    stats.Accuracy = ClampToInt((std::int64_t{SampleLength} - ErrorCount) * 100 / SampleLength);
    stats.WordsPerMinute = PerMinute(WordCount, LineTime);
    stats.TooFast = stats.KeysPerMinute > FastestBelievable;
    return stats;
}

void TLineEngine::ShowStatistics()
{
    Passed = true;
    if (SampleLength <= 0)
        return;
    const TLineStatistics stats = Statistics();
    host_.ShowStatistics(stats);
    if (stats.Accuracy < PassingAccuracy)
        Passed = false;
}
