// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Errors.h"
#include "game/GameActors.h"
#include "game/GameBars.h"
#include "game/GamePacer.h"
#include "game/GameSettings.h"
#include "game/StrikerSource.h"
#include "profile/ProfileVar.h"

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Answers the queued draws in order, then the fallback.
struct ScriptedRandom
{
    std::deque<int> draws;
    int fallback = 0;

    TRandom Bind()
    {
        return [this](int n) {
            int value = fallback;
            if (!draws.empty()) {
                value = draws.front();
                draws.pop_front();
            }
            EXPECT_LT(value, n);
            return value;
        };
    }
};

class RecordingCanvas : public TGameCanvas
{
public:
    struct Char
    {
        int x, y;
        unsigned char ch;
        TColor color;
        TFontStyles style;
        TColor background;
    };
    struct Xor
    {
        TGameRect rect;
        int pen;
        TColor color;
    };
    void DrawChar(int x, int y, unsigned char ch, TColor color, const TFontStyles& style,
                  TColor background) override
    {
        chars.push_back({x, y, ch, color, style, background});
    }
    void FillRect(const TGameRect& rect, TColor color) override { fills.emplace_back(rect, color); }
    void XorFrame(const TGameRect& rect, int pen, TColor color) override
    {
        xors.push_back({rect, pen, color});
    }

    std::vector<Char> chars;
    std::vector<std::pair<TGameRect, TColor>> fills;
    std::vector<Xor> xors;
};

class TempDir : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tapwren-game-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& content)
    {
        std::ofstream(dir_ / name, std::ios::binary) << content;
        return (dir_ / name).string();
    }

    fs::path dir_;
};

// --- Word file ---

struct GroupCase
{
    std::string name;
    std::string content;
    std::vector<TWordGroup> groups;
};

class WordGroups : public testing::TestWithParam<GroupCase>
{};

TEST_P(WordGroups, SplitsAsExpected)
{
    EXPECT_EQ(ReadWordGroups(GetParam().content), GetParam().groups);
}

INSTANTIATE_TEST_SUITE_P(
    WordFile, WordGroups,
    testing::Values(
        GroupCase{"OneLineOneAndTwoSpaces", "alpha beta  gamma", {{"alpha", "beta", "gamma"}}},
        GroupCase{
            "DoubleSeparatorAndTrailingEmpty", "ab cd\n\n\nef\n\n", {{"ab", "cd"}, {"ef"}, {}}},
        GroupCase{"LeadingEmptyLinesStartNoGroup", "\n\nab\n", {{"ab"}}},
        GroupCase{"EmptyFile", "", {{}}},
        GroupCase{"OuterSpacesOnlySeparate", "  lead trail  \n", {{"lead", "trail"}}},
        GroupCase{"TabsBelongToWords", "a\tb c", {{"a\tb", "c"}}},
        GroupCase{"LineOfSpacesDoesNotSeparate", "ab\n   \ncd", {{"ab", "cd"}}},
        GroupCase{"LineOfSpacesBreaksARunOfEmptyLines", "ab\n\n   \n\ncd", {{"ab"}, {}, {"cd"}}},
        GroupCase{"WindowsLineEnds", "ab\r\n\r\ncd\r\n", {{"ab"}, {"cd"}}},
        GroupCase{"OldMacLineEnds", "ab\r\rcd", {{"ab"}, {"cd"}}},
        GroupCase{"HighBytesAreCharacters", "\xE4rger \xDF", {{"\xE4rger", "\xDF"}}}),
    [](const auto& param) { return param.param.name; });

TEST(WordFile, KeepsGroupsBeyondSixty)
{
    std::string content;
    for (int i = 1; i <= 61; ++i)
        content += "w" + std::to_string(i) + "\n\n";
    const auto groups = ReadWordGroups(content);
    ASSERT_EQ(groups.size(), 62U);
    EXPECT_EQ(groups[60], TWordGroup{"w61"});
}

TEST(WordFile, GroupChanceFollowsTheTable)
{
    const std::vector<std::pair<int, int>> cases = {{1, 60}, {3, 70}, {9, 20},  {16, 45}, {19, 65},
                                                    {21, 5}, {26, 3}, {27, 10}, {60, 10}, {61, 10}};
    for (const auto& [group, chance] : cases)
        EXPECT_EQ(GroupChance(group), chance) << "group " << group;
}

// --- Word source ---

class SourceTest : public TempDir
{
protected:
    void SetUp() override
    {
        TempDir::SetUp();
        settings_.Columns = 64;
        settings_.GameFontSize = 16;
        settings_.FunSpeed = false;
        GroupCursor = 1;
    }

    strikerSourceType Loaded(const std::string& content)
    {
        strikerSourceType source(Write("Game.txt", content), settings_, random_);
        source.Load();
        return source;
    }

    TGameSettings settings_;
    ScriptedRandom script_;
    TRandom random_ = script_.Bind();
};

TEST_F(SourceTest, LoadReadsGroupsFromTheFile)
{
    const auto source = Loaded("ab cd\n\n\nef\n\n");
    EXPECT_EQ(source.GroupCount, 3);
    EXPECT_EQ(source.Groups, (std::vector<TWordGroup>{{"ab", "cd"}, {"ef"}, {}}));
    EXPECT_EQ(source.Exhausted, std::vector<bool>(3, false));
    EXPECT_EQ(source.ExhaustedCount, 0);
}

TEST_F(SourceTest, MissingFileFailsWithItsPath)
{
    strikerSourceType source((dir_ / "none.txt").string(), settings_, random_);
    try {
        source.Load();
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_NE(std::string(e.what()).find("none.txt"), std::string::npos) << e.what();
    }
}

TEST_F(SourceTest, EmptyFileHasNoWord)
{
    auto source = Loaded("");
    EXPECT_EQ(source.GroupCount, 1);
    EXPECT_FALSE(source.Next());
}

TEST_F(SourceTest, FirstWordComesFromGroupTwo)
{
    auto source = Loaded("x\n\ny\n");
    ASSERT_TRUE(source.Next());
    EXPECT_EQ(source.Current->Word, "y");
    EXPECT_EQ(GroupCursor, 2);
}

TEST_F(SourceTest, EmptyGroupIsSkippedUntilAllAreUsedUp)
{
    auto source = Loaded("a b c\n\n");
    std::vector<std::string> words;
    while (source.Next())
        words.push_back(source.Current->Word);
    EXPECT_EQ(words, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(source.ExhaustedCount, 2);
    EXPECT_FALSE(source.Next());
}

TEST_F(SourceTest, FailedRollSkipsAGroupWithWords)
{
    auto source = Loaded("x\n\ny\n");
    script_.draws = {50, 0, 0}; // group 2 misses its 50 %, group 1 takes its 60 %
    ASSERT_TRUE(source.Next());
    EXPECT_EQ(source.Current->Word, "x");
    EXPECT_EQ(GroupCursor, 1);
    EXPECT_EQ(source.Groups[1], TWordGroup{"y"});
}

TEST_F(SourceTest, CursorCarriesOverToTheNextGame)
{
    auto first = Loaded("a\n\nb\n\nc\n");
    ASSERT_TRUE(first.Next()); // group 2
    auto second = Loaded("d\n\ne\n\nf\n");
    ASSERT_TRUE(second.Next());
    EXPECT_EQ(second.Current->Word, "f");
}

TEST_F(SourceTest, PicksTheDrawnEntryAndRemovesIt)
{
    GroupCursor = 0;
    auto source = Loaded("a b c\n");
    script_.draws = {0, 1};
    ASSERT_TRUE(source.Next());
    EXPECT_EQ(source.Current->Word, "b");
    EXPECT_EQ(source.Groups[0], (TWordGroup{"a", "c"}));
}

struct ColumnCase
{
    int columns, lastColumn, lastLength, spread, length, column;
};

class ColumnRule : public SourceTest, public testing::WithParamInterface<ColumnCase>
{};

TEST_P(ColumnRule, PlacesTheWord)
{
    const ColumnCase& c = GetParam();
    settings_.Columns = c.columns;
    GroupCursor = 0;
    auto source = Loaded(std::string(static_cast<std::size_t>(c.length), 'w'));
    source.LastColumn = c.lastColumn;
    source.LastLength = c.lastLength;
    script_.draws = {0, 0, c.spread};
    ASSERT_TRUE(source.Next());
    EXPECT_EQ(source.Current->Column, c.column);
    EXPECT_EQ(source.Current->X, (c.column - 1) * 16);
    EXPECT_EQ(source.Current->Len, c.length);
    EXPECT_EQ(source.Current->Y, 0);
    EXPECT_EQ(source.Current->Typed, -1);
    EXPECT_EQ(source.LastColumn, c.column);
    EXPECT_EQ(source.LastLength, c.length);
}

INSTANTIATE_TEST_SUITE_P(WordSource, ColumnRule,
                         testing::Values(ColumnCase{64, 0, 0, 0, 4, 1},
                                         ColumnCase{64, 10, 5, 7, 4, 23},
                                         ColumnCase{64, 60, 3, 5, 4, 5},  // round the edge
                                         ColumnCase{20, 0, 0, 9, 10, 10}, // ends in column 19
                                         ColumnCase{20, 5, 5, 0, 10, 1},  // would end in 20
                                         ColumnCase{20, 0, 0, 9, 11, 1},  // would pass the edge
                                         ColumnCase{5, 0, 0, 0, 9, 1},    // wider than the field
                                         ColumnCase{1, 0, 0, 0, 1, 1}));  // one column

TEST_F(SourceTest, SpeedIsDrawnOnlyWithFunSpeed)
{
    GroupCursor = 0;
    settings_.FunSpeed = true;
    auto source = Loaded("a b c\n");
    std::vector<int> speeds;
    for (int draw = 0; draw < 3; ++draw) {
        script_.draws = {0, 0, 0, draw};
        ASSERT_TRUE(source.Next());
        speeds.push_back(source.Current->Speed);
    }
    EXPECT_EQ(speeds, (std::vector<int>{1, 2, 3}));

    settings_.FunSpeed = false;
    auto plain = Loaded("a b c\n");
    script_.fallback = 2; // a speed draw would give 3
    for (int i = 0; i < 3; ++i) {
        script_.draws = {0, 0, 0};
        ASSERT_TRUE(plain.Next());
        EXPECT_EQ(plain.Current->Speed, 2);
    }
}

TEST_F(SourceTest, ErrorInNextIsReportedAndAnswersFalse)
{
    const TRandom failing = [](int) -> int { throw std::runtime_error("boom"); };
    strikerSourceType source(Write("Game.txt", "a b\n"), settings_, failing);
    source.Load();
    std::string reported;
    source.OnError = [&reported](const std::string& message) { reported = message; };
    EXPECT_FALSE(source.Next());
    EXPECT_EQ(reported, "boom StrikerSource available");
}

// --- Falling words, city, bullets ---

TEST(Striker, DrawsTypedLettersRedAndErasesInBackground)
{
    TGameSettings settings;
    settings.GameFontSize = 10;
    settings.GameFontColor = RGBColor(255, 255, 0);
    settings.GameBgColor = RGBColor(0, 0, 64);
    settings.PlainStyle = {};
    settings.TypedStyle.Bold = true;
    strikerType word;
    word.Word = "cat";
    word.Len = 3;
    word.X = 40;
    word.Y = 7;
    word.Typed = 1;
    RecordingCanvas canvas;

    DrawStriker(word, canvas, settings);
    ASSERT_EQ(canvas.chars.size(), 3U);
    EXPECT_EQ(canvas.chars[0].x, 40);
    EXPECT_EQ(canvas.chars[2].x, 60);
    EXPECT_EQ(canvas.chars[1].ch, 'a');
    EXPECT_EQ(canvas.chars[0].color, clRed);
    EXPECT_TRUE(canvas.chars[0].style.Bold);
    EXPECT_EQ(canvas.chars[1].color, settings.GameFontColor);
    EXPECT_FALSE(canvas.chars[1].style.Bold);
    EXPECT_EQ(canvas.chars[1].background, settings.GameBgColor);

    canvas.chars.clear();
    DropStriker(word, canvas, settings);
    ASSERT_EQ(canvas.chars.size(), 6U);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(canvas.chars[static_cast<std::size_t>(i)].y, 7);
        EXPECT_EQ(canvas.chars[static_cast<std::size_t>(i)].color, settings.GameBgColor);
        EXPECT_FALSE(canvas.chars[static_cast<std::size_t>(i)].style.Bold);
    }
    EXPECT_EQ(canvas.chars[3].y, 8);
    EXPECT_EQ(word.Y, 8);
}

TEST(City, NoBrickFloats)
{
    TGameSettings settings;
    settings.Columns = 200; // wider than any fixed grid would hold
    std::mt19937 engine(7);
    const TRandom random = [&engine](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(engine);
    };
    const cityType city(300, settings, random);
    int topBricks = 0;
    for (int column = 1; column <= 200; ++column) {
        topBricks += city.Brick(1, column);
        for (int row = 1; row < 3; ++row) {
            if (city.Brick(row, column) == 1) {
                EXPECT_EQ(city.Brick(row + 1, column), 1) << "column " << column;
            }
        }
    }
    EXPECT_GT(topBricks, 0);
    EXPECT_LT(topBricks, 200);
    EXPECT_EQ(city.Brick(1, 201), 0);
}

TEST(City, BuildRollsOnlyWhereNoBrickIsAbove)
{
    TGameSettings settings;
    settings.Columns = 2;
    ScriptedRandom script;
    // Row 1: brick, none. Row 2, column 2: none. Row 3, column 2: brick.
    script.draws = {39, 40, 99, 0};
    script.fallback = 99;
    const cityType city(300, settings, script.Bind());
    EXPECT_TRUE(script.draws.empty());
    EXPECT_EQ(city.BrickCount(), 4);
    EXPECT_EQ(city.Brick(2, 2), 0);
    EXPECT_EQ(city.Brick(3, 2), 1);
}

TEST(City, DrawsBricksAndErasesABand)
{
    TGameSettings settings;
    settings.Columns = 4;
    settings.GameFontSize = 10;
    settings.GameBgColor = RGBColor(1, 2, 3);
    ScriptedRandom script;
    script.fallback = 99;
    cityType city(100, settings, script.Bind());
    city.SetBrick(1, 2, true);
    city.SetBrick(3, 4, true);
    EXPECT_EQ(city.BrickCount(), 2);
    RecordingCanvas canvas;

    city.Draw(canvas);
    ASSERT_EQ(canvas.fills.size(), 2U);
    EXPECT_EQ(canvas.fills[0], (std::pair{TGameRect{10, 70, 20, 80}, BrickColor}));
    EXPECT_EQ(canvas.fills[1], (std::pair{TGameRect{30, 90, 40, 100}, BrickColor}));

    canvas.fills.clear();
    EraseBricks(city, canvas, 2, 2, 5, settings);
    EXPECT_EQ(canvas.fills[0], (std::pair{TGameRect{10, 80, 40, 90}, settings.GameBgColor}));
}

struct BulletCase
{
    int distance; // from the word's bottom edge to the bullet's top
    int moves;
};

class BulletFlight : public testing::TestWithParam<BulletCase>
{};

TEST_P(BulletFlight, MovesUntilItReachesTheWord)
{
    TGameSettings settings;
    settings.GameFontSize = 16;
    auto word = std::make_shared<strikerType>();
    word->Word = "hello";
    word->Len = 5;
    word->X = 32;
    word->Y = 50;
    word->State = TStrikerState::Shot;
    bulletType bullet(66 + GetParam().distance, word, 16);
    EXPECT_EQ(bullet.X, 32 + 40);
    RecordingCanvas canvas;

    int steps = 0;
    while (!bullet.Done && steps < 1000) {
        StepBullet(bullet, canvas, settings);
        ++steps;
    }
    EXPECT_EQ(steps, GetParam().moves + 1);
    EXPECT_EQ(canvas.xors.size(), 2U * static_cast<std::size_t>(GetParam().moves));
    EXPECT_EQ(word->State, TStrikerState::Finished);
    ASSERT_EQ(canvas.fills.size(), 1U);
    EXPECT_EQ(canvas.fills[0].first,
              (TGameRect{bullet.X - 1, bullet.Y - 1, bullet.X + 6, bullet.Y + 10}));
    if (!canvas.xors.empty()) {
        const auto& last = canvas.xors.back();
        EXPECT_EQ(last.rect, (TGameRect{bullet.X, bullet.Y, bullet.X + 4, bullet.Y + 8}));
        EXPECT_EQ(last.pen, 3);
        EXPECT_EQ(last.color, RGBColor(85, 170, 170));
    }
}

INSTANTIATE_TEST_SUITE_P(Bullet, BulletFlight,
                         testing::Values(BulletCase{100, 17}, BulletCase{0, 0}, BulletCase{1, 1},
                                         BulletCase{6, 1}, BulletCase{7, 2}, BulletCase{-5, 0}));

// --- Tuning, bars, difficulty, pacing ---

class TuningTest : public TempDir
{};

TEST_F(TuningTest, MissingFileGivesTheDefaults)
{
    TGameSettings settings;
    settings.NewWordSpeed = 1;
    settings.FunSpeed = false;
    settings.GameFontName = "Arial";
    LoadGameTuning(settings, (dir_ / "twgame.ini").string());
    const TGameSettings defaults;
    EXPECT_EQ(settings.NewWordSpeed, 3500);
    EXPECT_EQ(settings.NewWordSpeedBy, 250);
    EXPECT_EQ(settings.DropSpeed, 250);
    EXPECT_EQ(settings.DropSpeedBy, 20);
    EXPECT_TRUE(settings.FunSpeed);
    EXPECT_EQ(settings.GameFontName, "Courier");
    EXPECT_EQ(settings.GameFontSize, 16);
    EXPECT_EQ(settings.GameBgColor, 0);
    EXPECT_EQ(settings.GameFontColor, 65535);
    EXPECT_FALSE(fs::exists(dir_ / "twgame.ini"));
}

TEST_F(TuningTest, ReadsEveryKey)
{
    TGameSettings settings;
    LoadGameTuning(settings, Write("twgame.ini", "[general]\r\nNewWordSpeed=3000\r\n"
                                                 "NewWordSpeedBy=100\r\nDropSpeed=$C8\r\n"
                                                 "DropSpeedBy=junk\r\nFunSpeed=0\r\n"
                                                 "[Setting]\r\nGameFontName=Mono\r\n"
                                                 "GameFontSize=12\r\nGameBgColor=255\r\n"
                                                 "GameFontColor=-1\r\n"));
    EXPECT_EQ(settings.NewWordSpeed, 3000);
    EXPECT_EQ(settings.NewWordSpeedBy, 100);
    EXPECT_EQ(settings.DropSpeed, 200);
    EXPECT_EQ(settings.DropSpeedBy, 20);
    EXPECT_FALSE(settings.FunSpeed);
    EXPECT_EQ(settings.GameFontName, "Mono");
    EXPECT_EQ(settings.GameFontSize, 12);
    EXPECT_EQ(settings.GameBgColor, 255);
    EXPECT_EQ(settings.GameFontColor, -1);
}

TEST_F(TuningTest, ProfileOverridesFontColoursAndFunSpeedButNotTiming)
{
    TGameSettings settings;
    LoadGameTuning(settings, Write("twgame.ini", "[General]\nDropSpeed=300\nFunSpeed=1\n"
                                                 "[Setting]\nGameFontSize=30\n"));
    TProfile profile;
    profile.FunSpeed = false;
    profile.GameBgColor = RGBColor(0, 0, 128);
    profile.GameFont = {"Mono", 12, RGBColor(0, 255, 0), true, false, true, false};
    ApplyGameProfile(settings, profile);
    EXPECT_FALSE(settings.FunSpeed);
    EXPECT_EQ(settings.GameFontSize, 12);
    EXPECT_EQ(settings.GameFontName, "Mono");
    EXPECT_EQ(settings.GameFontColor, RGBColor(0, 255, 0));
    EXPECT_EQ(settings.GameBgColor, RGBColor(0, 0, 128));
    EXPECT_EQ(settings.PlainStyle, (TFontStyles{true, false, true, false}));
    EXPECT_EQ(settings.TypedStyle, settings.PlainStyle);
    EXPECT_EQ(settings.DropSpeed, 300);
}

TEST(FieldColumns, DividesTheWidthAndNeverGivesZero)
{
    EXPECT_EQ(FieldColumns(1024, 16), 64);
    EXPECT_EQ(FieldColumns(1024, 10), 102);
    EXPECT_EQ(FieldColumns(1024, 0), 1024);
    EXPECT_EQ(FieldColumns(8, 16), 1);
}

TEST(Bars, BlendColor)
{
    EXPECT_EQ(BlendColor(clRed, RGBColor(0, 255, 0), 0, 100), clRed);
    EXPECT_EQ(BlendColor(clRed, RGBColor(0, 255, 0), 50, 100), RGBColor(155, 100, 0));
    EXPECT_EQ(BlendColor(clRed, RGBColor(0, 255, 0), 100, 100), RGBColor(55, 200, 0));
    EXPECT_EQ(BlendColor(clRed, RGBColor(0, 255, 255), 100, 100), RGBColor(55, 200, 200));
    EXPECT_EQ(BlendColor(clRed, RGBColor(0, 255, 0), 300, 100), RGBColor(0, 255, 0));
    EXPECT_EQ(BlendColor(clRed, clWhite, 5, 0), clRed);
}

struct BarsCase
{
    std::string name;
    int quota, totalBricks, bricksLeft, hits, lost;
    int totalLeft, hitLost, cityLife;
};

class Bars : public testing::TestWithParam<BarsCase>
{};

TEST_P(Bars, ShowTheShares)
{
    const BarsCase& c = GetParam();
    const TGameBars bars = GameBars(c.quota, c.totalBricks, c.bricksLeft, c.hits, c.lost);
    EXPECT_EQ(bars.TotalLeft, c.totalLeft);
    EXPECT_EQ(bars.HitLost, c.hitLost);
    EXPECT_EQ(bars.CityLife, c.cityLife);
    EXPECT_EQ(bars.CityLifeColor, BlendColor(clRed, RGBColor(0, 255, 0), c.cityLife, 100));
    EXPECT_EQ(bars.HitLostColor, BlendColor(clRed, RGBColor(0, 255, 255), c.hitLost, 100));
}

INSTANTIATE_TEST_SUITE_P(Game, Bars,
                         testing::Values(BarsCase{"MidGame", 110, 90, 45, 22, 11, 30, 80, 50},
                                         BarsCase{"Start", 110, 90, 90, 0, 0, 0, 100, 100},
                                         BarsCase{"CityWithoutBricks", 110, 0, 0, 1, 0, 0, 99, 0},
                                         BarsCase{"NoQuota", 0, 10, 3, 0, 0, 0, 0, 30}),
                         [](const auto& param) { return param.param.name; });

TEST(Pacer, TickLetsOneWaitThroughAndStopEndsWaiting)
{
    TGamePacer pacer;
    pacer.Tick();
    pacer.Tick();
    EXPECT_TRUE(pacer.Wait());

    bool answer = true;
    std::thread engine([&] { answer = pacer.Wait(); });
    pacer.Stop();
    engine.join();
    EXPECT_FALSE(answer);
    pacer.Tick();
    EXPECT_FALSE(pacer.Wait());
}

} // namespace
