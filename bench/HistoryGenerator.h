// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Fills a typing history as a year of daily practice by a class would: per
// user and day some course, sentence, free and paragraph lines and a game,
// with realistic errors, corrections and times between keys. Shared by the
// benchmarks that need a big history.
#include "history/HistoryStore.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

struct THistoryShape
{
    int Users = 20;
    int Days = 365;
    int LinesPerDay = 40;
    int GamesPerDay = 1;
    std::int64_t FirstDay = 1704110400; // 2024-01-01 12:00 UTC
};

inline std::string GeneratedUser(int i)
{
    return "User" + std::to_string(i + 1);
}

// A line of words of 2 to 8 letters, about 60 characters long.
inline std::string GeneratedSample(std::mt19937& random)
{
    static const std::string letters = "etaoinshrdlucmfwypvbgkjqxz";
    std::geometric_distribution<std::size_t> letter(0.15);
    std::string sample;
    while (sample.size() < 60) {
        if (!sample.empty())
            sample += ' ';
        const std::size_t length = 2 + random() % 7;
        for (std::size_t i = 0; i < length; ++i)
            sample += letters[std::min(letter(random), letters.size() - 1)];
    }
    return sample;
}

// A line as a user who mistypes about one key in 25 and corrects some.
inline TLineRecord GeneratedLine(std::mt19937& random, std::int64_t when, int activity, int lesson)
{
    TLineRecord line;
    line.When = when;
    line.Activity = static_cast<THistoryActivity>(activity);
    line.Course = "English";
    line.Lesson = lesson;
    line.Sample = GeneratedSample(random);
    std::normal_distribution<double> gap(220.0, 60.0);
    std::uniform_int_distribution<int> percent(0, 99);
    int errors = 0;
    std::int32_t total = 0;
    for (std::size_t p = 1; p <= line.Sample.size(); ++p) {
        const auto expected = static_cast<unsigned char>(line.Sample[p - 1]);
        const auto ms = [&] {
            const auto t = static_cast<std::int32_t>(std::max(40.0, gap(random)));
            total += t;
            return line.Keys.empty() ? 0 : t;
        };
        if (percent(random) < 4) {
            line.Keys.push_back({int(p), expected, expected == 'z' ? 'x' : expected + 1, ms()});
            if (percent(random) < 50) // corrected at once
                line.Keys.push_back({int(p), expected, expected, ms()});
            else
                ++errors;
        } else {
            line.Keys.push_back({int(p), expected, expected, ms()});
        }
    }
    const int n = static_cast<int>(line.Sample.size());
    line.LineTime = std::max(total, 25);
    line.KeysPerMinute = n * 60000 / line.LineTime;
    line.Accuracy = (n - errors) * 100 / n;
    line.WordsPerMinute = (n / 6) * 60000 / line.LineTime;
    return line;
}

inline void GenerateHistory(THistoryStore& store, const THistoryShape& shape = {},
                            std::uint32_t seed = 42)
{
    std::mt19937 random(seed);
    for (int day = 0; day < shape.Days; ++day) {
        for (int u = 0; u < shape.Users; ++u) {
            const std::string user = GeneratedUser(u);
            const std::int64_t noon = shape.FirstDay + std::int64_t{day} * 86400 + u * 60;
            for (int i = 0; i < shape.LinesPerDay; ++i) {
                // Mostly the course, then sentences, free and paragraph lines.
                const int activity = i % 8 < 4 ? 1 : i % 8 < 6 ? 2 : i % 8 < 7 ? 3 : 4;
                store.Record(user, GeneratedLine(random, noon + i * 20, activity,
                                                 activity == 1 ? 1 + day / 4 : 0));
            }
            for (int g = 0; g < shape.GamesPerDay; ++g) {
                TGameRecord game;
                game.When = noon + 3600;
                game.Course = "English";
                game.Hits = 20 + static_cast<int>(random() % 30);
                game.Misses = static_cast<int>(random() % 10);
                game.Score = game.Hits * 12 - game.Misses * 9;
                game.Level = 1 + static_cast<int>(random() % 5);
                game.Accuracy = game.Hits * 100 / (game.Hits + game.Misses);
                game.WordsPerMinute = 10 + static_cast<int>(random() % 20);
                game.GameTime = 120000 + static_cast<std::int32_t>(random() % 60000);
                store.Record(user, game);
            }
        }
    }
}
