// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/HistoryFigures.h"

#include <cstdint>
#include <string>
#include <vector>

// What one judged key of a line adds to the history.
struct TKeyStroke
{
    int Position = 0;               // 1-based index into the line's sample
    unsigned char Expected = 0;     // the sample's character there
    int Typed = 0;                  // Expected when right; may be KeyUnmappable
    std::int32_t SincePrevious = 0; // ms since the line's previous judged key; 0 for its first
};

// A completed drill line, as the recorder hands it to the store in one piece.
struct TLineRecord
{
    std::int64_t When = 0; // seconds since the epoch, when the line ended
    THistoryActivity Activity = THistoryActivity::Course;
    std::string Course;
    int Lesson = 0; // 1-based course lesson, 0 for other activities
    int KeysPerMinute = 0;
    int Accuracy = 0;
    int WordsPerMinute = 0;
    std::int32_t LineTime = 0;
    std::string Sample;
    std::vector<TKeyStroke> Keys;
};

// A game that ended with a result.
struct TGameRecord
{
    std::int64_t When = 0;
    std::string Course;
    int Score = 0;
    int Hits = 0;
    int Misses = 0;
    int Level = 0;
    int Accuracy = 0;
    int WordsPerMinute = 0;
    std::int32_t GameTime = 0;
};
