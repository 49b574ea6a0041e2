// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadedTemplate.h"
#include "TestCodePage.h"
#include "base/CodePage.h"
#include "history/KeyShades.h"
#include "history/StatisticsTexts.h"
#include "keyboard/KeyTypes.h"
#include "keyboard/MainData.h"

#include <gtest/gtest.h>

namespace {

// Keys A, E and Space (Name order A, E, Space); a and A on A, e on E.
TDataMod ThreeKeys()
{
    return Loaded(
        {
            {.Name = "Space", .KeyValue = 32, .KeyType = KeyTypeChar},
            {.Name = "A", .KeyValue = 65, .KeyType = KeyTypeLetter},
            {.Name = "E", .KeyValue = 69, .KeyType = KeyTypeLetter},
        },
        {
            {.Name = "A", .Code = 'A', .KeyNo = 65, .Shift = true},
            {.Name = "a", .Code = 'a', .KeyNo = 65},
            {.Name = "e", .Code = 'e', .KeyNo = 69},
            {.Name = "space", .Code = ' ', .KeyNo = 32},
        });
}

TKeyFigures Key(unsigned char key, int typed, int wrong, double meanTime)
{
    return {.Key = key, .Typed = typed, .Wrong = wrong, .MeanTime = meanTime};
}

TEST(ButtonFigures, AddsUpTheCharactersOfEachKey)
{
    const TDataMod data = ThreeKeys();
    // 'q' has no key; the capital and the small letter share one.
    const std::vector<TKeyButtonFigures> buttons = ButtonFigures(
        data, {Key('a', 30, 3, 200), Key('q', 5, 5, 0), Key('A', 10, 1, 400), Key('e', 8, 8, 0)});
    ASSERT_EQ(buttons.size(), 3u);
    const TKeyButtonFigures& a = buttons[0];
    EXPECT_EQ(a.Characters, (std::vector<unsigned char>{'A', 'a'}));
    EXPECT_EQ(a.Typed, 40);
    EXPECT_EQ(a.Wrong, 4);
    // Weighted by right keys: (27 × 200 + 9 × 400) / 36.
    EXPECT_DOUBLE_EQ(a.MeanTime, 250.0);
    EXPECT_EQ(buttons[1].Typed, 8);
    EXPECT_EQ(buttons[1].MeanTime, 0.0); // never right
    EXPECT_EQ(buttons[2].Typed, 0);
    EXPECT_TRUE(buttons[2].Characters.empty());
}

TEST(ButtonFigures, NoTemplateGivesNoKeys)
{
    EXPECT_TRUE(ButtonFigures(TDataMod(Cp1252()), {Key('a', 3, 0, 100)}).empty());
}

TEST(ScaleColor, RunsFromGreenOverYellowToRed)
{
    EXPECT_EQ(ScaleColor(0), RGBColor(60, 180, 75));
    EXPECT_EQ(ScaleColor(0.5), RGBColor(240, 200, 40));
    EXPECT_EQ(ScaleColor(1), RGBColor(220, 50, 40));
    EXPECT_EQ(ScaleColor(-3), ScaleColor(0));
    EXPECT_EQ(ScaleColor(7), ScaleColor(1));
    EXPECT_EQ(ScaleColor(0.25), RGBColor(150, 190, 58));
}

TEST(KeyShades, ErrorRatesReachRedAtTheLimitAndTimesSpanTheKeys)
{
    const auto figures = [](int typed, int wrong, double time) {
        TKeyButtonFigures key;
        key.Typed = typed;
        key.Wrong = wrong;
        key.MeanTime = time;
        return key;
    };
    const std::vector<TKeyButtonFigures> keys = {figures(100, 0, 150), figures(100, 5, 250),
                                                 figures(100, 20, 350), figures(0, 0, 0),
                                                 figures(4, 4, 0)};
    const TKeyShades errors(keys, TKeyMeasure::ErrorRate);
    EXPECT_EQ(errors.Shade(keys[0]), ScaleColor(0));
    EXPECT_EQ(errors.Shade(keys[1]), ScaleColor(0.5));
    EXPECT_EQ(errors.Shade(keys[2]), ScaleColor(1));
    EXPECT_EQ(errors.Shade(keys[3]), std::nullopt);
    EXPECT_EQ(errors.Shade(keys[4]), ScaleColor(1));

    const TKeyShades times(keys, TKeyMeasure::MeanTime);
    EXPECT_EQ(times.Shade(keys[0]), ScaleColor(0));
    EXPECT_EQ(times.Shade(keys[1]), ScaleColor(0.5));
    EXPECT_EQ(times.Shade(keys[2]), ScaleColor(1));
    EXPECT_EQ(times.Shade(keys[3]), std::nullopt);
    EXPECT_EQ(times.Shade(keys[4]), std::nullopt); // never right: no time

    // One timed key alone is the fastest.
    const std::vector<TKeyButtonFigures> one = {figures(10, 1, 300)};
    EXPECT_EQ(TKeyShades(one, TKeyMeasure::MeanTime).Shade(one[0]), ScaleColor(0));
}

TEST(WeakestKeys, HighestErrorRateFirstAmongKeysSeenOftenEnough)
{
    const std::vector<TKeyFigures> keys = {
        Key('a', 100, 2, 200), Key('b', 50, 10, 300), Key('c', 9, 9, 0), // too few
        Key('d', 10, 2, 400),  Key('e', 20, 4, 100),  Key('f', 40, 0, 500), Key('g', 40, 0, 500),
    };
    std::vector<unsigned char> order;
    for (const TKeyFigures& key : WeakestKeys(keys))
        order.push_back(key.Key);
    // d and e share 20 %: the slower first; f and g tie wholly: by code.
    EXPECT_EQ(order, (std::vector<unsigned char>{'d', 'b', 'e', 'a', 'f', 'g'}));
    EXPECT_EQ(WeakestKeys(keys, 10, 2).size(), 2u);
    EXPECT_TRUE(WeakestKeys({}).empty());
}

TEST(StatisticsTexts, NamesKeysAndFigures)
{
    EXPECT_EQ(KeyName(' ', Cp1252()), "Space");
    EXPECT_EQ(KeyName('\r', Cp1252()), "Enter");
    EXPECT_EQ(KeyName(9, Cp1252()), "#9");
    EXPECT_EQ(KeyName('x', Cp1252()), "x");
    EXPECT_EQ(KeyName(0xE4, Cp1252()), "\u00e4");
    EXPECT_EQ(PairName('t', ' ', Cp1252()), "t \u2192 Space");
    EXPECT_EQ(PercentText(0.05), "5.0 %");
    EXPECT_EQ(MillisecondsText(229.6), "230 ms");
    EXPECT_EQ(DurationText(0), "0 h 0 m 0 s");
    EXPECT_EQ(DurationText(90'000'000 + 65'999), "25 h 1 m 5 s");
    EXPECT_EQ(DurationText(std::int64_t(1) << 40), "305419 h 53 m 47 s"); // beyond 32 bits

    TKeyButtonFigures key;
    EXPECT_EQ(KeyFiguresText(key, Cp1252()), "Not typed yet.");
    key.Characters = {'A', 'a'};
    key.Typed = 40;
    key.Wrong = 4;
    key.MeanTime = 250;
    EXPECT_EQ(KeyFiguresText(key, Cp1252()),
              "A a: typed 40 times, 4 wrong (10.0 %)\nMean time: 250 ms");
    key.Wrong = 40;
    EXPECT_EQ(KeyFiguresText(key, Cp1252()), "A a: typed 40 times, 40 wrong (100.0 %)");
}

TEST(ExportFileName, KeepsTheNameReadableAndSafe)
{
    const struct
    {
        std::string user;
        std::string name;
    } cases[] = {
        {"Ann", "tapwren-Ann-2026-12-10.csv"},
        {"J\u00fcrgen M", "tapwren-J\u00fcrgen_M-2026-12-10.csv"},
        {"../a/b\\c:d*e?f\"g<h>i|j\tk", "tapwren-.._a_b_c_d_e_f_g_h_i_j_k-2026-12-10.csv"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExportFileName(c.user, "2026-12-10"), c.name) << c.user;
}

TEST(ProgressPoints, OnePointPerDayInDayOrder)
{
    const std::vector<TDayFigures> days = {
        {.Day = "2026-03-02",
         .Lines = 4,
         .KeysPerMinute = 150,
         .WordsPerMinute = 30,
         .Accuracy = 97,
         .Lesson = 0},
        {.Day = "2026-03-01",
         .Lines = 2,
         .KeysPerMinute = 120,
         .WordsPerMinute = 24,
         .Accuracy = 92,
         .Lesson = 3},
    };
    const struct
    {
        TProgressMeasure measure;
        std::vector<TProgressPoint> points;
    } cases[] = {
        {TProgressMeasure::KeysPerMinute, {{"2026-03-01", 120}, {"2026-03-02", 150}}},
        {TProgressMeasure::WordsPerMinute, {{"2026-03-01", 24}, {"2026-03-02", 30}}},
        {TProgressMeasure::Accuracy, {{"2026-03-01", 92}, {"2026-03-02", 97}}},
        {TProgressMeasure::Lesson, {{"2026-03-01", 3}}}, // no course on the second day
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgressPoints(days, c.measure), c.points) << int(c.measure);
    EXPECT_TRUE(ProgressPoints({}, TProgressMeasure::Accuracy).empty());
}

} // namespace
