// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Errors.h"
#include "game/GameCore.h"
#include "history/Recording.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Records what the game shows, drawing included, as short lines.
class RecordingView : public TGameView
{
public:
    void DrawChar(int x, int y, unsigned char ch, TColor color, const TFontStyles&, TColor) override
    {
        log.push_back("char " + std::to_string(x) + " " + std::to_string(y) + " " +
                      static_cast<char>(ch) + " " + std::to_string(color));
    }
    void FillRect(const TGameRect& r, TColor color) override
    {
        fills.push_back(r);
        log.push_back("fill " + std::to_string(r.Left) + " " + std::to_string(r.Top) + " " +
                      std::to_string(color));
    }
    void XorFrame(const TGameRect& r, int, TColor) override
    {
        log.push_back("xor " + std::to_string(r.Left) + " " + std::to_string(r.Top));
    }
    void ShowStatus(const std::string& text) override { status = text; }
    void ShowMessage(const std::string& text) override
    {
        messages.push_back(text);
        log.push_back("message " + text);
    }

    std::vector<std::string> log;
    std::vector<TGameRect> fills;
    std::vector<std::string> messages;
    std::string status;
};

constexpr int Cell = 10;
constexpr int FieldHeight = 300; // the city band is y 270..300

class GameTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tapwren-core-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        settings_.GameFontSize = Cell;
        settings_.Columns = 20;
        settings_.FunSpeed = false;
        GroupCursor = 1;
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A game on that word file with a city without bricks; after that every
    // draw answers fallback_ (0: every chance succeeds) unless queued.
    TGameCore& Start(const std::string& words, int difficulty = 3)
    {
        const std::string path = (dir_ / "Game.txt").string();
        std::ofstream(path, std::ios::binary) << words;
        fallback_ = 99;
        game_ = std::make_unique<TGameCore>(
            path, view_, FieldHeight, settings_,
            [this](int n) {
                int value = fallback_;
                if (!draws_.empty()) {
                    value = draws_.front();
                    draws_.pop_front();
                }
                return value % n;
            },
            [this] { return now_; });
        fallback_ = 0;
        game_->OnMiss = [this](TGameCore&) { events_.emplace_back("miss"); };
        game_->OnShoot = [this](TGameCore&) { events_.emplace_back("shoot"); };
        game_->OnCityHurt = [this](TGameCore&) { events_.emplace_back("hurt"); };
        game_->OnLevelUp = [this](TGameCore&) { events_.emplace_back("level"); };
        game_->OnStart = [this](int quota, int bricks) {
            events_.push_back("start " + std::to_string(quota) + " " + std::to_string(bricks));
        };
        game_->SetDifficulty(difficulty);
        events_.clear();
        return *game_;
    }

    // A falling word placed by hand, appended to the screen.
    TStrikerPtr Put(const std::string& text, int column, int y, int speed = 2)
    {
        auto word = std::make_shared<strikerType>();
        word->Word = text;
        word->Len = static_cast<int>(text.size());
        word->Column = column;
        word->X = (column - 1) * Cell;
        word->Y = y;
        word->Speed = speed;
        game_->Strikers.push_back(word);
        return word;
    }

    void Type(const std::string& keys)
    {
        for (const char key : keys) {
            game_->CurrentKey = static_cast<unsigned char>(key);
            game_->KeyStep();
        }
    }

    fs::path dir_;
    TGameSettings settings_;
    RecordingView view_;
    std::unique_ptr<TGameCore> game_;
    std::deque<int> draws_;
    int fallback_ = 0;
    std::int32_t now_ = 1'000'000;
    std::vector<std::string> events_;
};

TEST_F(GameTest, DifficultyThreeStartValues)
{
    auto& game = Start("a b c\n");
    EXPECT_EQ(game.Score, 1600);
    EXPECT_EQ(game.Quota, 110);
    EXPECT_EQ(game.NewWordInterval, 2750);
    EXPECT_EQ(game.DropInterval, 190);
    EXPECT_EQ(game.Level, 3);
    EXPECT_EQ(game.Hits, 0);
    EXPECT_EQ(game.TotalBricks, 0);

    game.OnStart = [this](int quota, int bricks) {
        events_.push_back("start " + std::to_string(quota) + " " + std::to_string(bricks));
    };
    game.SetDifficulty(10);
    EXPECT_EQ(game.NewWordInterval, 1000);
    EXPECT_EQ(game.DropInterval, 50);
    EXPECT_EQ(game.Score, 3000);
    EXPECT_EQ(events_, (std::vector<std::string>{"start 250 0"}));
}

TEST_F(GameTest, DifficultyOutsideTheRangeIsThree)
{
    for (const int difficulty : {0, 11, -4}) {
        EXPECT_EQ(Start("a\n", difficulty).Difficulty, 3) << difficulty;
    }
    EXPECT_EQ(DifficultyFromEntry("0"), 3);
    EXPECT_EQ(DifficultyFromEntry("11"), 3);
    EXPECT_EQ(DifficultyFromEntry("-4"), 3);
    EXPECT_EQ(DifficultyFromEntry("10"), 10);
    EXPECT_THROW(DifficultyFromEntry(""), TError);
    try {
        DifficultyFromEntry("abc");
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
}

TEST_F(GameTest, MissingWordFileFailsTheGame)
{
    EXPECT_THROW(TGameCore((dir_ / "none.txt").string(), view_, FieldHeight, settings_,
                           [](int) { return 0; }),
                 TError);
}

TEST_F(GameTest, FieldWithoutCellsOrColumnsStillPlays)
{
    settings_.GameFontSize = 0;
    settings_.Columns = 0;
    auto& game = Start("abc\n");
    EXPECT_EQ(game.Parameters().GameFontSize, 1);
    EXPECT_EQ(game.Parameters().Columns, 1);
    EXPECT_TRUE(game.Iterate());
    ASSERT_EQ(game.Strikers.size(), 1U);
    EXPECT_EQ(game.Strikers.front()->Column, 1);
}

TEST_F(GameTest, StatusLine)
{
    auto& game = Start("a\n");
    int bricks = -1;
    game.OnStatus = [&bricks](int left, int, int) { bricks = left; };
    now_ += 5000;
    game.Iterate(); // starts the game clock
    now_ += 12'345;
    game.Hits = 4;
    game.UpdateStatus();
    EXPECT_EQ(view_.status, " Difficulty: 3   Hit: 4   Lost: 0   Time: 12s  Score : 1600");
    EXPECT_EQ(bricks, 0);
}

struct DueCase
{
    int interval;
    std::vector<std::pair<int, bool>> tests; // clock advance, answer
};

class DueTest : public GameTest, public testing::WithParamInterface<DueCase>
{};

TEST_P(DueTest, AnswersOncePerInterval)
{
    auto& game = Start("a\n");
    TIntervalTimer timer([this] { return now_; });
    int step = 0;
    for (const auto& [advance, due] : GetParam().tests) {
        now_ += advance;
        EXPECT_EQ(game.Due(timer, GetParam().interval), due) << "test " << ++step;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Game, DueTest,
    testing::Values(
        // The watch reads 25 at its start, so 100 ms are due after 76.
        DueCase{100, {{0, false}, {75, false}, {1, true}, {500, false}, {75, false}, {1, true}}},
        DueCase{24, {{0, true}, {0, true}, {0, true}}},
        DueCase{25, {{0, false}, {1, true}, {0, false}}}, DueCase{-50, {{0, true}, {0, true}}}));

struct SpawnCase
{
    int difficulty;
    int roll;
    bool spawned;
};

class SpawnChance : public GameTest, public testing::WithParamInterface<SpawnCase>
{};

TEST_P(SpawnChance, NewWordNeedsTheDifficultysChance)
{
    auto& game = Start("a b\n\nc d\n", GetParam().difficulty);
    Put("zz", 1, 0);
    game.Iterate(); // the new-word timer starts
    now_ += game.NewWordInterval + 1;
    draws_ = {GetParam().roll};
    game.Iterate();
    EXPECT_EQ(game.Strikers.size(), GetParam().spawned ? 2U : 1U);
    EXPECT_EQ(game.Spawned, GetParam().spawned ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Game, SpawnChance,
                         testing::Values(SpawnCase{3, 34, true}, SpawnCase{3, 35, false},
                                         SpawnCase{1, 24, true}, SpawnCase{1, 25, false},
                                         SpawnCase{10, 69, true}, SpawnCase{10, 70, false}));

TEST_F(GameTest, EmptyFieldGetsAWordAtOnce)
{
    auto& game = Start("a b\n");
    EXPECT_TRUE(game.Iterate());
    ASSERT_EQ(game.Strikers.size(), 1U);
    EXPECT_EQ(game.Spawned, 1);
}

TEST_F(GameTest, KeyThatStartsNoWordChangesNothing)
{
    auto& game = Start("a\n");
    auto word = Put("dog", 1, 0);
    Type("x");
    Type("D"); // case matters
    EXPECT_FALSE(game.Selecting);
    EXPECT_EQ(word->Typed, -1);
    EXPECT_EQ(game.Score, 1600);
    EXPECT_TRUE(events_.empty());
}

TEST_F(GameTest, EarliestWordIsSelected)
{
    auto& game = Start("a\n");
    auto shot = Put("sat", 1, 0);
    shot->State = TStrikerState::Shot;
    auto first = Put("sun", 5, 40);
    auto second = Put("sea", 10, 80);
    Type("s");
    EXPECT_TRUE(game.Selecting);
    EXPECT_EQ(game.Selected, first);
    EXPECT_EQ(first->Typed, 1);
    EXPECT_EQ(second->Typed, -1);
}

TEST_F(GameTest, WrongKeyResetsTheWordAndStartsNoOther)
{
    auto& game = Start("a\n");
    auto word = Put("sun", 1, 0);
    auto other = Put("moon", 8, 0);
    Type("sum");
    EXPECT_FALSE(game.Selecting);
    EXPECT_EQ(word->Typed, -1);
    EXPECT_EQ(word->State, TStrikerState::Falling);
    EXPECT_EQ(other->Typed, -1);
    EXPECT_EQ(events_, (std::vector<std::string>{"miss"}));
    EXPECT_EQ(game.Score, 1600);
}

struct ShotCase
{
    std::string word;
    int points;
};

class ShotScore : public GameTest, public testing::WithParamInterface<ShotCase>
{};

TEST_P(ShotScore, CompletedWordIsShot)
{
    auto& game = Start("a\n");
    auto word = Put(GetParam().word, 2, 30);
    Type(GetParam().word);
    EXPECT_EQ(game.Score, 1600 + GetParam().points);
    EXPECT_EQ(game.Hits, 1);
    EXPECT_EQ(word->State, TStrikerState::Shot);
    EXPECT_EQ(word->Typed, word->Len);
    EXPECT_FALSE(game.Selecting);
    EXPECT_EQ(events_, (std::vector<std::string>{"shoot"}));
    ASSERT_EQ(game.Bullets.size(), 1U);
    EXPECT_EQ(game.Bullets.front().Y, FieldHeight + 1);
    EXPECT_EQ(game.Bullets.front().Target, word);
}

INSTANTIATE_TEST_SUITE_P(Game, ShotScore,
                         testing::Values(ShotCase{"a", 1}, ShotCase{"ab", 10},
                                         ShotCase{"garden", 30}));

TEST_F(GameTest, ErrorInKeyStepIsShownAndTheGameGoesOn)
{
    auto& game = Start("a\n");
    Put("a", 1, 0);
    Put("b", 3, 0);
    game.OnShoot = [](TGameCore&) { throw TError("no sound"); };
    Type("a");
    EXPECT_EQ(view_.messages,
              (std::vector<std::string>{"TError--no sound threadType  strikers_go2"}));
    game.OnShoot = nullptr;
    Type("b");
    EXPECT_EQ(game.Hits, 2);
}

struct LevelCase
{
    std::string name;
    int lost;
    std::vector<int> risesAt;
};

class LevelRise : public GameTest, public testing::WithParamInterface<LevelCase>
{};

TEST_P(LevelRise, ComesWithHitsAndFewLosses)
{
    auto& game = Start("a\n");
    game.Lost = GetParam().lost;
    std::vector<int> rises;
    for (int hit = 1; hit <= game.Quota; ++hit) {
        const int score = game.Score;
        const int level = game.Level;
        game.Hits = hit;
        game.CheckDifficulty();
        if (game.Level != level) {
            rises.push_back(hit);
            EXPECT_EQ(game.Level, level + 1);
            EXPECT_EQ(game.Score, score + 300);
            EXPECT_TRUE(game.LevelJustChanged);
            game.LevelJustChanged = false;
        }
    }
    EXPECT_EQ(rises, GetParam().risesAt);
    EXPECT_EQ(std::count(events_.begin(), events_.end(), "level"),
              static_cast<long>(GetParam().risesAt.size()));
    EXPECT_EQ(game.Level, 3 + static_cast<int>(GetParam().risesAt.size()));
}

INSTANTIATE_TEST_SUITE_P(Game, LevelRise,
                         testing::Values(LevelCase{"NoLoss", 0, {28, 56, 82}},
                                         LevelCase{"OneLoss", 1, {42, 56, 82}},
                                         LevelCase{"ManyLosses", 5, {}}),
                         [](const auto& param) { return param.param.name; });

TEST_F(GameTest, LevelRiseIntervals)
{
    auto& game = Start("a\n");
    game.Hits = 28;
    game.CheckDifficulty();
    EXPECT_EQ(game.NewWordInterval, 2500);
    EXPECT_EQ(game.DropInterval, 170);
}

TEST_F(GameTest, WordsAreHeldBackAfterALevelChange)
{
    auto& game = Start("a b c d e f g\n");
    auto one = Put("xa", 1, 0);
    auto two = Put("xb", 5, 0);
    Put("xc", 9, 0);
    game.LevelJustChanged = true;
    const auto newWordDue = [&] {
        game.Iterate(); // the timer restarts
        now_ += game.NewWordInterval + 1;
        game.Iterate();
    };
    newWordDue();
    EXPECT_EQ(game.Strikers.size(), 3U);
    EXPECT_EQ(game.Spawned, 0);

    game.Strikers.remove(one);
    EXPECT_TRUE(game.HoldNewWords());
    game.Strikers.remove(two);
    EXPECT_FALSE(game.HoldNewWords());
    EXPECT_FALSE(game.LevelJustChanged);
    newWordDue();
    EXPECT_EQ(game.Strikers.size(), 2U);
}

TEST_F(GameTest, WordOverABareColumnFallsThrough)
{
    auto& game = Start("a\n");
    auto word = Put("abcdef", 3, FieldHeight - 2);
    game.DropStep();
    EXPECT_EQ(word->State, TStrikerState::Falling);
    game.DropStep();
    EXPECT_EQ(word->State, TStrikerState::Finished);
    EXPECT_EQ(game.Lost, 1);
    EXPECT_EQ(game.Score, 1600 - 18);
    game.DropStep();
    EXPECT_TRUE(game.Strikers.empty());
    EXPECT_TRUE(events_.empty());
}

TEST_F(GameTest, BrickOnlyInTheBottomRowIsStruckFromTheTopRowsBand)
{
    auto& game = Start("a\n");
    for (const int column : {2, 3, 4, 5, 6})
        game.City.SetBrick(3, column, true);
    auto word = Put("abc", 3, FieldHeight - 3 * Cell - Cell - 2); // bottom edge at 268
    game.DropStep();
    EXPECT_EQ(game.Strikers.size(), 1U);
    view_.fills.clear();
    game.DropStep(); // bottom edge at 270
    EXPECT_TRUE(game.Strikers.empty());
    EXPECT_EQ(game.Lost, 1);
    EXPECT_EQ(game.Score, 1600 - 9);
    EXPECT_EQ(events_, (std::vector<std::string>{"hurt"}));
    for (int column = 1; column <= 7; ++column)
        EXPECT_EQ(game.City.Brick(3, column), column == 2 || column == 6 ? 1 : 0) << column;
    ASSERT_EQ(view_.fills.size(), 1U);
    EXPECT_EQ(view_.fills[0], (TGameRect{20, 290, 50, 300}));
}

TEST_F(GameTest, HighestRowUnderTheWordIsStruckUntilTheWordPassesIt)
{
    auto& game = Start("a\n");
    game.City.SetBrick(1, 1, true);
    game.City.SetBrick(2, 1, true);
    game.City.SetBrick(3, 1, true);
    game.City.SetBrick(2, 2, true);
    game.City.SetBrick(3, 2, true);
    Put("ab", 1, 270); // bottom edge 281 after the drop: past row 1
    game.DropStep();
    EXPECT_TRUE(game.Strikers.empty());
    EXPECT_EQ(game.City.Brick(1, 1), 1);
    EXPECT_EQ(game.City.Brick(2, 1), 0);
    EXPECT_EQ(game.City.Brick(2, 2), 0);
    EXPECT_EQ(game.City.Brick(3, 1), 1);
}

TEST_F(GameTest, RemovingAWordDoesNotSkipTheNext)
{
    auto& game = Start("a\n");
    auto gone = Put("ab", 1, 10);
    gone->State = TStrikerState::Finished;
    for (const int column : {5, 6})
        game.City.SetBrick(1, column, true);
    Put("cd", 5, 260);
    auto last = Put("ef", 10, 10);
    game.DropStep();
    ASSERT_EQ(game.Strikers.size(), 1U);
    EXPECT_EQ(game.Strikers.front(), last);
    EXPECT_EQ(last->Y, 11);
}

TEST_F(GameTest, WordWiderThanTheFieldStrikesOnlyItsColumns)
{
    auto& game = Start("a\n");
    game.City.SetBrick(3, 20, true);
    Put(std::string(30, 'w'), 1, 269);
    game.DropStep();
    EXPECT_TRUE(game.Strikers.empty());
    EXPECT_EQ(game.City.BrickCount(), 0);
}

struct PhaseCase
{
    int speed;
    int moves; // in three drop steps
};

class FunSpeedPhase : public GameTest, public testing::WithParamInterface<PhaseCase>
{};

TEST_P(FunSpeedPhase, FasterWordsMoveMoreOften)
{
    settings_.FunSpeed = true;
    auto& game = Start("a\n");
    auto word = Put("ab", 1, 0, GetParam().speed);
    for (int i = 0; i < 3; ++i)
        game.DropStep();
    EXPECT_EQ(word->Y, GetParam().moves);
}

INSTANTIATE_TEST_SUITE_P(Game, FunSpeedPhase,
                         testing::Values(PhaseCase{1, 1}, PhaseCase{2, 2}, PhaseCase{3, 3}));

TEST_F(GameTest, WithoutFunSpeedEveryFallingWordMovesAtEveryStep)
{
    auto& game = Start("a\n");
    auto one = Put("ab", 1, 0);
    auto two = Put("cd", 5, 0);
    auto shot = Put("ef", 9, 0);
    shot->State = TStrikerState::Shot;
    for (int i = 0; i < 3; ++i)
        game.DropStep();
    EXPECT_EQ(one->Y, 3);
    EXPECT_EQ(two->Y, 3);
    EXPECT_EQ(shot->Y, 0);
    EXPECT_EQ(game.Phase, 2);
}

TEST_F(GameTest, BulletFinishesItsWordWhichTheNextDropRemoves)
{
    auto& game = Start("a\n");
    auto word = Put("hi", 1, FieldHeight - 20);
    Type("hi");
    ASSERT_EQ(game.Bullets.size(), 1U);
    int steps = 0;
    while (word->State != TStrikerState::Finished && steps < 100) {
        game.BulletStep();
        ++steps;
    }
    EXPECT_EQ(steps, 3); // 11 pixels: two moves, then the arrival
    EXPECT_TRUE(game.Bullets.front().Done);
    game.BulletStep();
    EXPECT_TRUE(game.Bullets.empty());
    game.DropStep();
    EXPECT_TRUE(game.Strikers.empty());
    EXPECT_EQ(game.Lost, 0);
}

TEST_F(GameTest, OnlyTheLastOfTwoKeysIsJudged)
{
    auto& game = Start("a\n");
    auto first = Put("ab", 1, 0);
    auto second = Put("ba", 5, 0);
    game.SetKey('a');
    game.SetKey('b');
    game.Iterate();
    EXPECT_EQ(game.CurrentKey, 'b');
    EXPECT_EQ(game.Selected, second);
    EXPECT_EQ(first->Typed, -1);

    game.SetKey(KeyEscape);
    game.Iterate();
    EXPECT_EQ(game.CurrentKey, 'b');
    EXPECT_EQ(second->Typed, 1);
}

TEST_F(GameTest, ScoreReachingZeroEndsTheGameWithTheResult)
{
    auto& game = Start("a\n");
    game.Iterate();
    game.Strikers.clear();
    Put("abcdef", 1, FieldHeight - 1);
    game.Score = 18;
    now_ += 60'000;
    EXPECT_FALSE(game.Iterate());
    EXPECT_EQ(game.Score, 0);
    EXPECT_TRUE(game.Terminated());
    ASSERT_EQ(view_.messages.size(), 1U);
    EXPECT_EQ(view_.messages[0], "   Accuracy: 0%   WPM: 0   Expected WPM: 1");
    EXPECT_FALSE(game.Iterate());
    EXPECT_EQ(view_.messages.size(), 1U);
}

TEST_F(GameTest, GameWithoutWordsEndsAtOnceWithoutDividingByZero)
{
    auto& game = Start("");
    EXPECT_FALSE(game.Iterate());
    EXPECT_EQ(view_.messages,
              (std::vector<std::string>{"   Accuracy: 0%   WPM: 0   Expected WPM: 0"}));
}

TEST_F(GameTest, ResultFigures)
{
    auto& game = Start("a\n");
    game.Iterate();
    now_ += 120'000;
    game.Hits = 30;
    game.Lost = 10;
    EXPECT_EQ(game.Result(), (TGameResult{75, 15, 20}));
}

TEST_F(GameTest, EndedGameIsToldOnceBeforeItsResultForTheHistory)
{
    auto& game = Start("a\n");
    std::vector<TGameRecord> records;
    game.OnGameOver = [&](TGameCore& over) {
        EXPECT_TRUE(view_.messages.empty());
        records.push_back(GameRecordOf(over, "English", 1717243200));
    };
    game.Iterate();
    now_ += 120'000;
    game.Hits = 3;
    game.Lost = 1;
    game.Level = 2;
    game.Score = 40;
    game.Strikers.clear();
    game.Quota = game.Spawned;
    EXPECT_FALSE(game.Iterate());
    EXPECT_FALSE(game.Iterate());
    ASSERT_EQ(records.size(), 1U);
    const TGameRecord& record = records[0];
    EXPECT_EQ(record.When, 1717243200);
    EXPECT_EQ(record.Course, "English");
    EXPECT_EQ(record.Score, 40);
    EXPECT_EQ(record.Hits, 3);
    EXPECT_EQ(record.Misses, 1);
    EXPECT_EQ(record.Level, 2);
    EXPECT_EQ(record.Accuracy, 75);
    EXPECT_EQ(record.WordsPerMinute, 1);
    EXPECT_EQ(record.GameTime, 120'000);
    EXPECT_EQ(view_.messages.size(), 1U);

    auto& stopped = Start("a b\n");
    stopped.OnGameOver = [&](TGameCore&) { FAIL() << "a stopped game has no result"; };
    stopped.Stop();
    EXPECT_FALSE(stopped.Iterate());
}

TEST_F(GameTest, StoppedGameRunsNoMore)
{
    auto& game = Start("a b\n");
    game.Stop();
    EXPECT_FALSE(game.Iterate());
    EXPECT_TRUE(game.Strikers.empty());
    EXPECT_TRUE(view_.messages.empty());
}

TEST_F(GameTest, QuotaEndsTheGame)
{
    auto& game = Start("a b c d e f g h\n");
    game.Quota = 2;
    Put("zz", 1, 0);
    for (int i = 0; i < 6; ++i) { // due at every second test
        now_ += game.NewWordInterval + 1;
        game.Iterate();
    }
    EXPECT_EQ(game.Spawned, 2);
    EXPECT_EQ(game.Strikers.size(), 3U);
    game.Strikers.clear();
    EXPECT_FALSE(game.Iterate());
    EXPECT_EQ(view_.messages.size(), 1U);
}

TEST_F(GameTest, RepaintDrawsCityAndWords)
{
    auto& game = Start("a\n");
    game.City.SetBrick(3, 1, true);
    Put("hi", 2, 5);
    view_.log.clear();
    game.Repaint();
    EXPECT_EQ(view_.log,
              (std::vector<std::string>{"fill 0 290 " + std::to_string(BrickColor),
                                        "char 10 5 h " + std::to_string(settings_.GameFontColor),
                                        "char 20 5 i " + std::to_string(settings_.GameFontColor)}));
}

// Plays a whole game: a seeded generator, a clock that moves 10 ms per
// iteration and a player who types the earliest falling word unless it starts after
// "m", so that some words reach the city.
std::vector<std::string> PlayGame(const std::string& path, RecordingView& view,
                                  const TGameSettings& settings)
{
    GroupCursor = 1;
    std::int32_t now = 0;
    std::mt19937 engine(2024);
    TGameCore game(
        path, view, 200, settings,
        [&engine](int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine); },
        [&now] { return now; });
    std::vector<std::string> events;
    game.OnShoot = [&events](TGameCore& g) {
        events.push_back("shoot " + std::to_string(g.Score));
    };
    game.OnCityHurt = [&events](TGameCore& g) {
        events.push_back("hurt " + std::to_string(g.Score));
    };
    game.SetDifficulty(10);
    int iterations = 0;
    do {
        now += GamePaceMs;
        for (const auto& word : game.Strikers)
            if (word->State == TStrikerState::Falling && word->Word[0] < 'm' &&
                iterations % 30 == 0) {
                const int next = word->Typed < 0 ? 0 : word->Typed;
                game.SetKey(static_cast<unsigned char>(word->Word[static_cast<std::size_t>(next)]));
                break;
            }
        ++iterations;
    } while (game.Iterate() && iterations < 1'000'000);
    EXPECT_EQ(game.Hits + game.Lost, game.Spawned);
    events.push_back("hits " + std::to_string(game.Hits) + " lost " + std::to_string(game.Lost));
    return events;
}

TEST_F(GameTest, GameReplaysExactly)
{
    const std::string path = (dir_ / "Game.txt").string();
    std::ofstream(path, std::ios::binary) << "cat dog sun\n\nmoon tree a\n\nriver stone\n";
    settings_.FunSpeed = true;
    RecordingView first;
    RecordingView second;
    const auto events = PlayGame(path, first, settings_);
    EXPECT_EQ(PlayGame(path, second, settings_), events);
    EXPECT_EQ(second.log, first.log);
    ASSERT_FALSE(first.messages.empty());
    EXPECT_TRUE(first.messages.back().starts_with("   Accuracy: "));
    const auto seen = [&events](const std::string& prefix) {
        return std::any_of(events.begin(), events.end(),
                           [&prefix](const std::string& e) { return e.starts_with(prefix); });
    };
    EXPECT_TRUE(seen("shoot "));
    EXPECT_TRUE(seen("hurt "));
}

} // namespace
