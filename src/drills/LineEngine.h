// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class stopwatch;

// Character codes that keys produce besides printable characters.
constexpr int KeyBackspace = 8;
constexpr int KeyEnter = 13;
constexpr int KeyEscape = 27;
// A typed character the code page cannot hold: equal to no sample byte.
constexpr int KeyUnmappable = 256;

constexpr unsigned char CharCR = 13;
constexpr unsigned char CharLF = 10;

enum class TLineResult : std::uint8_t
{
    Completed = 0,  // every character typed, then one more key
    Cancelled = 1,  // Esc
    EndedEarly = 2, // Enter in line mode
    None = 3,       // no line has ended yet, or a key came before any line
};

struct TLineStatistics
{
    int KeysPerMinute = 0;
    int Accuracy = 0;
    int WordsPerMinute = 0;
    bool TooFast = false; // more than 700 keys per minute
};

// What the engine asks of the window that shows a drill (and of the drill
// derived from it). Calls arrive in the order the judging makes them.
class TLineDrillHost
{
public:
    virtual ~TLineDrillHost() = default;

    virtual void ShowNextKey(unsigned char ch) = 0; // 0 after the last character
    virtual void MarkRight() = 0;                   // insertion style for a right key
    virtual void MarkWrong() = 0;                   // insertion style for a wrong key
    virtual bool HighlightNext() = 0;
    virtual void NextLine() = 0;

    virtual void MoveCaretToEnd() = 0;
    virtual void ShowTimingMark(bool visible) = 0;
    // Selects one character, start counted from 0; start = the sample's length
    // selects nothing, which removes the highlight.
    virtual void HighlightSample(int start) = 0;
    virtual void ShowStatistics(const TLineStatistics& stats) = 0;
    virtual void CloseWindow() = 0;

    virtual void WrongKey() = 0; // OnWrongKey
    virtual void LineDone() = 0; // OnLineDone
};

class TLineEngine;

// Told of every judged key and of the end of every line, to keep the
// typing history. Called on the judging's way, so it must be cheap.
class TLineObserver
{
public:
    virtual ~TLineObserver() = default;

    // A key judged at a sample position: right when typed is the expected
    // character, wrong otherwise. The first judged key of a line starts it
    // (a line left by a drill's navigation keys never ends).
    virtual void KeyJudged(int position, unsigned char expected, int typed, bool first) = 0;
    // Any line that ends, once its statistics are shown and before the next
    // line is prepared.
    virtual void LineEnded(const TLineEngine& engine) = 0;
};

// What becomes of the key that was judged.
struct TKeyVerdict
{
    bool GoesOn = false; // the input box receives it (Backspace deletes)
    // The character it receives: a space for a line break becomes CR; for
    // KeyUnmappable the window inserts what was typed.
    int Key = 0;

    bool operator==(const TKeyVerdict&) const = default;
};

// Judges typed characters against a sample, keeps the per-position marks and
// times the line. The sample is the engine's own copy, indexed from 1, so a
// key costs the same whatever the sample's length. Drills set SampleLength and
// Position themselves; values that do not fit the sample are tolerated: a
// position outside it reads as 0, matches no key and keeps no mark.
class TLineEngine
{
public:
    TLineEngine(TLineDrillHost& host, stopwatch& watch);

    // The sample; Marks := length + 1 falses. Sets no other field.
    void SetSample(std::string text);
    const std::string& Sample() const { return sample_; }
    // S[i], 1-based; 0 outside 1..length.
    unsigned char At(int i) const;

    // Judges one character (InputEditKeyPress). A key that ends the line does
    // not reach the fresh line's input box.
    TKeyVerdict KeyPress(int k);

    // Statistics of a completed line, shown through the host; decides Passed.
    void ShowStatistics();
    // Keys and words per minute of LineTime, accuracy of ErrorCount, all of
    // SampleLength; zero when SampleLength is not positive.
    TLineStatistics Statistics() const;

    std::vector<bool> Marks;
    int Position = 0;
    int SampleLength = 0;
    int WordCount = 0;
    int ErrorCount = 0;
    std::int32_t LineTime = 0;
    std::int32_t PracticeTime = 0;
    TLineResult LineResult = TLineResult::None;
    bool Passed = true;
    bool Timing = false;
    bool EndOfLine = false;
    bool EnterEndsLine = true;
    bool Guidance = true;
    bool HighlightFlag = false;
    bool PopupStatistics = false;
    TLineObserver* Observer = nullptr; // none, or one that outlives the engine's lines

private:
    unsigned char Next() const;
    void SetMark(int i, bool right);
    int CountErrors() const;
    void StartTiming();
    void EndLine(int k);

    TLineDrillHost& host_;
    stopwatch& watch_;
    std::string sample_;
};
