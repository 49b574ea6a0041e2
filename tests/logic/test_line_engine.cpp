// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/LineEngine.h"
#include "drills/stopw.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

std::string Char(int c)
{
    return c > 32 && c < 127 ? std::string(1, static_cast<char>(c)) : "#" + std::to_string(c);
}

// Records every call of the engine as a short string, in order.
class RecordingHost : public TLineDrillHost
{
public:
    void ShowNextKey(unsigned char ch) override { calls.push_back("next " + Char(ch)); }
    void MarkRight() override { calls.emplace_back("right"); }
    void MarkWrong() override { calls.emplace_back("wrong"); }
    bool HighlightNext() override { return highlight; }
    void NextLine() override
    {
        calls.emplace_back("NextLine");
        if (onNextLine)
            onNextLine();
    }
    void MoveCaretToEnd() override { calls.emplace_back("caret"); }
    void ShowTimingMark(bool visible) override
    {
        calls.emplace_back(visible ? "mark on" : "mark off");
    }
    void HighlightSample(int start) override { calls.push_back("hl " + std::to_string(start)); }
    void ShowStatistics(const TLineStatistics& s) override
    {
        calls.push_back("stats " + std::to_string(s.KeysPerMinute) + " " +
                        std::to_string(s.Accuracy) + " " + std::to_string(s.WordsPerMinute) +
                        (s.TooFast ? " fast" : ""));
    }
    void CloseWindow() override { calls.emplace_back("close"); }
    void WrongKey() override { calls.emplace_back("WrongKey"); }
    void LineDone() override { calls.emplace_back("LineDone"); }

    int Count(const std::string& call) const
    {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }
    Calls Starting(const std::string& prefix) const
    {
        Calls out;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
                     [&](const std::string& c) { return c.starts_with(prefix); });
        return out;
    }

    Calls calls;
    bool highlight = false;
    std::function<void()> onNextLine;
};

constexpr TKeyVerdict Discarded{};

// An engine on a fake clock with a recording host; Prepare does what a
// sentence drill's NextLine does to the engine.
struct Rig
{
    Rig() = default;
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    void Prepare(const std::string& sample, int words = 0)
    {
        engine.SetSample(sample);
        engine.SampleLength = static_cast<int>(sample.size());
        engine.WordCount = words;
        engine.Position = 1;
        watch.SetElapsed(0);
        engine.Passed = true;
        host.calls.clear();
    }
    TKeyVerdict Type(const std::string& keys)
    {
        TKeyVerdict last;
        for (char c : keys)
            last = engine.KeyPress(static_cast<unsigned char>(c));
        return last;
    }

    std::int32_t now = 0;
    stopwatch watch{[this] { return now; }};
    RecordingHost host;
    TLineEngine engine{host, watch};
};

TEST(LineEngine, AnyKeyAfterLastCharacterCompletesLine)
{
    const std::vector<int> finalKeys{' ', KeyEnter, KeyEscape, KeyBackspace};
    for (int key : finalKeys) {
        SCOPED_TRACE(Char(key));
        Rig rig;
        bool endOfLineSeen = false;
        rig.host.onNextLine = [&] { endOfLineSeen = rig.engine.EndOfLine; };
        rig.Prepare("abc", 1);
        rig.now = 1000;
        EXPECT_EQ(rig.engine.KeyPress('a'), (TKeyVerdict{true, 'a'}));
        EXPECT_EQ(rig.Type("bc"), (TKeyVerdict{true, 'c'}));
        rig.now = 2000;
        EXPECT_EQ(rig.engine.KeyPress(key), Discarded);

        EXPECT_EQ(rig.host.calls, (Calls{"caret", "right", "next b", "mark on", "caret", "right",
                                         "next c", "caret", "right", "next #0", "mark off",
                                         "LineDone", "stats 180 100 60", "NextLine"}));
        EXPECT_EQ(rig.engine.LineResult, TLineResult::Completed);
        EXPECT_EQ(rig.engine.ErrorCount, 0);
        EXPECT_EQ(rig.engine.PracticeTime, 1000);
        EXPECT_TRUE(rig.engine.Passed);
        EXPECT_TRUE(endOfLineSeen);
        EXPECT_FALSE(rig.engine.EndOfLine);
        EXPECT_FALSE(rig.engine.Timing);
    }
}

TEST(LineEngine, CorrectedErrorIsHeardButNotCounted)
{
    Rig rig;
    rig.Prepare("abc");
    rig.Type("a");
    EXPECT_EQ(rig.engine.KeyPress('x'), (TKeyVerdict{true, 'x'}));
    EXPECT_EQ(rig.engine.KeyPress(KeyBackspace), (TKeyVerdict{true, KeyBackspace}));
    EXPECT_EQ(rig.engine.Position, 2);
    EXPECT_EQ(rig.host.calls.back(), "next b");
    rig.Type("bc");
    rig.now = 1000;
    rig.Type(" ");

    EXPECT_EQ(rig.host.Count("WrongKey"), 1);
    EXPECT_EQ(rig.engine.ErrorCount, 0);
    EXPECT_EQ(rig.host.Starting("stats"), Calls{"stats 180 100 0"});
}

TEST(LineEngine, AccuracyDecidesPassing)
{
    const std::string forty(40, 'a');
    std::string fortyTyped = forty;
    fortyTyped[3] = fortyTyped[20] = 'x';
    struct Case
    {
        std::string sample, typed;
        int accuracy;
        bool passed;
    };
    const std::vector<Case> cases{
        {"abc", "axc", 66, false},
        {forty, fortyTyped, 95, true},
        {forty.substr(1), fortyTyped.substr(1), 94, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Rig rig;
        bool passedAtNextLine = true;
        int accuracy = -1;
        rig.host.onNextLine = [&] {
            passedAtNextLine = rig.engine.Passed;
            accuracy = rig.engine.Statistics().Accuracy;
            rig.Prepare("next line");
        };
        rig.Prepare(c.sample);
        rig.Type(c.typed + " ");

        EXPECT_EQ(rig.engine.ErrorCount, c.typed == "axc" ? 1 : 2);
        EXPECT_EQ(accuracy, c.accuracy);
        EXPECT_EQ(passedAtNextLine, c.passed);
        EXPECT_TRUE(rig.engine.Passed) << "the drill's NextLine sets it again";
        EXPECT_EQ(rig.engine.Sample(), "next line");
        EXPECT_EQ(rig.engine.Position, 1);
    }
}

TEST(LineEngine, SpeedFromLineTime)
{
    struct Case
    {
        int length, words;
        std::int32_t ms;
        const char* stats;
    };
    const std::vector<Case> cases{
        {10, 2, 856, "stats 700 100 140"},
        {10, 2, 855, "stats 701 100 140 fast"},
        {10, 0, 1000, "stats 600 100 0"},
        // length × 60,000 is beyond an int
        {50'000, 10'000, 600'000, "stats 5000 100 1000 fast"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        Rig rig;
        const std::string sample(static_cast<std::size_t>(c.length), 'k');
        rig.Prepare(sample, c.words);
        rig.now = 5000;
        rig.Type(sample);
        rig.now += c.ms;
        rig.Type(" ");
        EXPECT_EQ(rig.engine.LineTime, c.ms);
        EXPECT_EQ(rig.host.Starting("stats"), Calls{c.stats});
    }
}

TEST(LineEngine, BackspaceAtFirstPositionChangesNothing)
{
    Rig rig;
    rig.Prepare("abc");
    EXPECT_EQ(rig.engine.KeyPress(KeyBackspace), (TKeyVerdict{true, KeyBackspace}));
    EXPECT_EQ(rig.engine.Position, 1);
    EXPECT_TRUE(rig.host.calls.empty());
    EXPECT_FALSE(rig.engine.Timing);
}

TEST(LineEngine, EscOrEnterEndsLineEarly)
{
    struct Case
    {
        int key;
        TLineResult result;
        bool closes;
        int errorCount; // Esc leaves the previous count
    };
    const std::vector<Case> cases{
        {KeyEscape, TLineResult::Cancelled, true, 7},
        {KeyEnter, TLineResult::EndedEarly, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Rig rig;
        rig.Prepare("abc");
        rig.engine.ErrorCount = 7;
        rig.now = 100;
        rig.Type("a");
        rig.now = 600;
        EXPECT_EQ(rig.engine.KeyPress(c.key), Discarded);

        EXPECT_EQ(rig.engine.LineResult, c.result);
        EXPECT_EQ(rig.host.Count("close"), c.closes ? 1 : 0);
        EXPECT_EQ(rig.host.Count("LineDone"), 0);
        EXPECT_TRUE(rig.host.Starting("stats").empty());
        EXPECT_EQ(rig.host.calls.back(), "NextLine");
        EXPECT_EQ(rig.engine.PracticeTime, 500);
        EXPECT_EQ(rig.engine.ErrorCount, c.errorCount);
        EXPECT_TRUE(rig.engine.Passed);
        EXPECT_FALSE(rig.engine.Timing);
    }
}

TEST(LineEngine, TextModeLineBreak)
{
    struct Case
    {
        const char* name;
        std::vector<int> keys;
        TKeyVerdict last;
        int position;
        Calls lastCalls;
        bool breakMarked;
    };
    const std::vector<Case> cases{
        {"EnterTypesBreak",
         {'a', 'b', KeyEnter},
         {true, KeyEnter},
         5,
         {"caret", "right", "next c"},
         true},
        {"SpaceTypesBreak", {'a', 'b', ' '}, {true, KeyEnter}, 5, {}, true},
        {"OtherKeyIgnoredAtBreak", {'a', 'b', 'x'}, Discarded, 3, {}, false},
        {"BackspaceStepsOverBreak",
         {'a', 'b', KeyEnter, KeyBackspace},
         {true, KeyBackspace},
         3,
         {"next #13"},
         true},
        {"EnterWithoutBreakNotJudged", {'a', KeyEnter}, {true, KeyEnter}, 2, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.engine.EnterEndsLine = false;
        rig.Prepare("ab\r\ncd");
        TKeyVerdict last;
        for (int k : c.keys) {
            rig.host.calls.clear();
            last = rig.engine.KeyPress(k);
        }
        EXPECT_EQ(last, c.last);
        EXPECT_EQ(rig.engine.Position, c.position);
        EXPECT_EQ(rig.host.calls, c.lastCalls);
        EXPECT_EQ(rig.engine.Marks[3] && rig.engine.Marks[4], c.breakMarked);
        EXPECT_EQ(rig.engine.LineResult, TLineResult::None);
    }
}

TEST(LineEngine, TextModeBreakCountsAsTwoRightCharacters)
{
    Rig rig;
    rig.engine.EnterEndsLine = false;
    rig.Prepare("ab\r\ncd", 2);
    rig.now = 0;
    rig.Type("ab cd");
    rig.now = 60'000;
    rig.Type("x");
    EXPECT_EQ(rig.engine.LineResult, TLineResult::Completed);
    EXPECT_EQ(rig.host.Starting("stats"), Calls{"stats 6 100 2"});
}

TEST(LineEngine, HighlightFollowsNextCharacter)
{
    struct Case
    {
        bool highlight;
        Calls highlights;
    };
    const std::vector<Case> cases{
        {false, {}},
        // The last one selects past the end: nothing left to highlight.
        {true, {"hl 1", "hl 2", "hl 1", "hl 2", "hl 3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.highlight);
        Rig rig;
        rig.host.highlight = c.highlight;
        rig.Prepare("abc");
        EXPECT_TRUE(rig.host.Starting("hl").empty());
        rig.Type("ax\bbc ");
        EXPECT_EQ(rig.host.Starting("hl"), c.highlights);
    }
}

TEST(LineEngine, EmptySampleEndsAtFirstKey)
{
    struct Case
    {
        int position, key;
        TLineResult result;
        Calls calls;
        bool passed;
    };
    const std::vector<Case> cases{
        {1, 'a', TLineResult::Completed, {"mark off", "LineDone", "NextLine"}, true},
        {0, 'a', TLineResult::None, {"mark off", "NextLine"}, false},
        {0, KeyEscape, TLineResult::None, {"mark off", "NextLine"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        SCOPED_TRACE(c.key);
        Rig rig;
        rig.Prepare("");
        rig.engine.Position = c.position;
        rig.engine.Passed = false;
        EXPECT_EQ(rig.engine.KeyPress(c.key), Discarded);
        EXPECT_EQ(rig.engine.LineResult, c.result);
        EXPECT_EQ(rig.host.calls, c.calls);
        EXPECT_EQ(rig.engine.Passed, c.passed);
    }
}

TEST(LineEngine, UnmappableKeyIsWrong)
{
    Rig rig;
    rig.Prepare("abc");
    EXPECT_EQ(rig.engine.KeyPress(KeyUnmappable), (TKeyVerdict{true, KeyUnmappable}));
    EXPECT_EQ(rig.host.calls, (Calls{"caret", "wrong", "WrongKey", "next b", "mark on"}));
    EXPECT_EQ(rig.engine.Position, 2);
    EXPECT_FALSE(rig.engine.Marks[1]);
    EXPECT_TRUE(rig.engine.Timing);
}

// Drills set SampleLength and Position themselves; values that do not fit
// the sample must neither read nor write outside it.
TEST(LineEngine, PositionsOutsideSampleAreSafe)
{
    struct Outcome
    {
        int position;
        TLineResult result;
        int errors;
    };
    struct Case
    {
        const char* name;
        std::string sample;
        int length, position;
        bool textMode;
        std::string keys;
        Outcome outcome;
    };
    // Long enough to live on the heap, where a read past it is caught.
    const std::string letters = "abcdefghijklmnopqrst";
    const std::string nul(1, '\0');
    using R = TLineResult;
    const std::vector<Case> cases{
        {"LengthBeyondSample", letters, 23, 1, false, letters + "xyz ", {24, R::Completed, 3}},
        {"NulNeverMatchesBeyondSample", "ab", 3, 3, false, nul, {3, R::None, 0}},
        {"LengthShorterThanSample", "abcd", 2, 1, false, "abx", {3, R::Completed, 0}},
        {"CrAtEndTypedWithEnter", "ab\r", 3, 1, true, "ab\rx", {5, R::Completed, 0}},
        {"CrAtEndTypedWithSpace", "a\r", 2, 1, true, "a x", {4, R::Completed, 0}},
        {"LengthOnEmptySample", "", 10, 1, false, "x\r", {2, R::EndedEarly, 10}},
        {"HugeLength", "ab", 1'000'000'000, 1, false, "ab\r", {3, R::EndedEarly, 999'999'998}},
        {"NegativePosition", "abc", 3, -2, false, "aaaa\r", {2, R::EndedEarly, 2}},
        {"BackspaceOverLeadingBareLf", "\nab", 3, 1, true, "\n\b", {1, R::None, 0}},
        {"BackspaceOverBareLf", "a\nb", 3, 1, true, "a\n\b", {2, R::None, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.host.highlight = true;
        rig.engine.EnterEndsLine = !c.textMode;
        rig.engine.SetSample(c.sample);
        rig.engine.SampleLength = c.length;
        rig.engine.Position = c.position;
        rig.Type(c.keys);

        EXPECT_EQ(rig.engine.Position, c.outcome.position);
        EXPECT_EQ(rig.engine.LineResult, c.outcome.result);
        EXPECT_EQ(rig.engine.ErrorCount, c.outcome.errors);
        EXPECT_EQ(rig.engine.Marks.size(), c.sample.size() + 1);
        for (const std::string& hl : rig.host.Starting("hl ")) {
            const int start = std::stoi(hl.substr(3));
            EXPECT_GE(start, 0);
            EXPECT_LE(start, static_cast<int>(c.sample.size()));
        }
    }
}

} // namespace
