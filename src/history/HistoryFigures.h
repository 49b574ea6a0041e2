// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the typing history tells about a user, as the statistics window and
// the weak-key drill read it. Characters are bytes of the 8-bit code page;
// days are "YYYY-MM-DD" in local time; times are milliseconds.

enum class THistoryActivity : std::uint8_t
{
    Course = 1,
    Sentence = 2,
    Free = 3,
    Paragraph = 4,
    WeakKeys = 5,
    Game = 6,
};

// One day's figures of one activity, or of all together.
struct TDayFigures
{
    std::string Day;
    int Lines = 0;
    double KeysPerMinute = 0; // means over the day's lines
    double WordsPerMinute = 0;
    double Accuracy = 0; // percent
    int Lesson = 0;      // highest course lesson practised that day, 0 if none
};

struct TKeyFigures
{
    unsigned char Key = 0;
    int Typed = 0; // times it was expected
    int Wrong = 0; // times something else was typed instead
    double ErrorRate() const { return Typed > 0 ? double(Wrong) / Typed : 0.0; }
    double MeanTime = 0; // mean time since the previous key, over right keys
};

struct TConfusion
{
    unsigned char Expected = 0;
    unsigned char Typed = 0;
    int Count = 0;
};

struct TPairTime
{
    unsigned char First = 0;
    unsigned char Second = 0;
    int Count = 0;
    double MeanTime = 0; // from First to Second
};

struct TWordMiss
{
    std::string Word;
    int Count = 0;
};

// One row per user of the data folder.
struct TUserSummary
{
    std::string User;
    std::int64_t PracticeTime = 0;  // over every recorded line and game
    int Lesson = 0;                 // highest course lesson recorded
    double RecentKeysPerMinute = 0; // over the last 20 lines
    double RecentAccuracy = 0;
    std::string LastPractice; // "YYYY-MM-DD HH:MM", empty if never
};

// Read access to one data folder's history. A history that cannot be read
// answers with empty lists.
class THistoryQueries
{
public:
    virtual ~THistoryQueries() = default;

    // The drills' lines together when activity is 0 (games have no keys per
    // minute). For Game, Lines counts the games and Accuracy is their hit rate.
    virtual std::vector<TDayFigures> Days(const std::string& user, int activity) const = 0;
    // Every key the user was asked to type, in no particular order.
    virtual std::vector<TKeyFigures> Keys(const std::string& user) const = 0;
    // Most frequent first, at most limit.
    virtual std::vector<TConfusion> Confusions(const std::string& user, int limit) const = 0;
    // Slowest first, pairs seen at least minCount times, at most limit.
    virtual std::vector<TPairTime> SlowPairs(const std::string& user, int minCount,
                                             int limit) const = 0;
    // Most often mistyped first, at most limit.
    virtual std::vector<TWordMiss> MissedWords(const std::string& user, int limit) const = 0;
    virtual std::vector<TUserSummary> Users() const = 0;
    // The user's history as CSV text, a header line then one line per record.
    virtual std::string ExportCsv(const std::string& user) const = 0;
};
