// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/HistoryFigures.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TCodePage;
struct TKeyButtonFigures;

// What the statistics window writes about the history, in UTF-8 and
// translated. Characters and user names come in the code page.

// A character as the tables show it: Space and Enter by name, other
// control characters by their code, the rest as themselves.
std::string KeyName(unsigned char ch, const TCodePage& codePage);
// "t → h"
std::string PairName(unsigned char first, unsigned char second, const TCodePage& codePage);
// "5.0 %": a share of 0..1 as a percentage with one decimal.
std::string PercentText(double share);
// "230 ms", rounded to whole milliseconds.
std::string MillisecondsText(double ms);
// "12 h 5 m 3 s", hours not limited to 24.
std::string DurationText(std::int64_t ms);
// The figures of a key of the keyboard, shown when the pointer rests on it.
std::string KeyFiguresText(const TKeyButtonFigures& key, const TCodePage& codePage);

// The file the history is exported to unless the user names another:
// "tapwren-<user>-<day>.csv", the user name (UTF-8) with every character
// that a file name should not hold replaced by "_".
std::string ExportFileName(std::string_view user, std::string_view day);

// The activities the progress charts tell apart; 0 is all together.
struct TActivityChoice
{
    int Activity;
    const char* Name; // untranslated, for the catalogue
};
extern const std::array<TActivityChoice, 7> ActivityChoices;

// What a progress chart draws.
enum class TProgressMeasure
{
    KeysPerMinute,
    WordsPerMinute,
    Accuracy,
    Lesson,
};
struct TMeasureChoice
{
    TProgressMeasure Measure;
    const char* Name; // untranslated
};
extern const std::array<TMeasureChoice, 4> MeasureChoices;

struct TProgressPoint
{
    std::string Day;
    double Value = 0;

    bool operator==(const TProgressPoint&) const = default;
};
// One point per day that has the measure, in day order: for the lesson
// only the days of the course count.
std::vector<TProgressPoint> ProgressPoints(std::vector<TDayFigures> days, TProgressMeasure measure);
