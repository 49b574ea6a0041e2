// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Errors.h"
#include "drills/LineEngine.h"
#include "drills/stopw.h"
#include "history/History.h"
#include "history/HistoryStore.h"
#include "history/Recording.h"
#include "history/Sqlite.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Noon keeps the day the same in every time zone the tests may run in.
constexpr std::int64_t Day1Noon = 1717243200; // 2024-06-01 12:00 UTC
constexpr std::int64_t Day = 86400;

// A line typed position by position without corrections: typed[i] at
// position i + 1, each gapMs after the one before.
TLineRecord Typed(const std::string& sample, const std::string& typed, std::int32_t gapMs = 100,
                  std::int64_t when = Day1Noon)
{
    TLineRecord line;
    line.When = when;
    line.Sample = sample;
    line.LineTime = gapMs * static_cast<std::int32_t>(typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i)
        line.Keys.push_back({static_cast<int>(i) + 1, static_cast<unsigned char>(sample[i]),
                             static_cast<unsigned char>(typed[i]), i == 0 ? 0 : gapMs});
    return line;
}

TLineRecord Strokes(const std::string& sample, std::vector<TKeyStroke> keys)
{
    TLineRecord line;
    line.When = Day1Noon;
    line.Sample = sample;
    line.Keys = std::move(keys);
    return line;
}

class HistoryDir : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string templ = (fs::temp_directory_path() / "tapwren-history-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        dir_ = templ + "/";
        path_ = dir_ + HistoryFileName;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string dir_;
    std::string path_;
};

// Runs SQL on the file as another program would.
void RawSql(const std::string& path, const char* sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// A query that keeps SQLite busy for about ten seconds.
constexpr const char* LongQuery =
    "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 50000000)"
    " SELECT count(*) FROM c";

struct KeyCase
{
    const char* name;
    std::vector<TLineRecord> lines;
    unsigned char key;
    int typed;
    int wrong;
    double meanTime;
};

class HistoryKeys : public HistoryDir, public testing::WithParamInterface<KeyCase>
{};

TEST_P(HistoryKeys, AddUpPerKey)
{
    const KeyCase& c = GetParam();
    auto store = OpenHistory(dir_);
    for (const TLineRecord& line : c.lines)
        store->Record("Ann", line);
    const auto keys = store->Keys("Ann");
    const auto it = std::ranges::find(keys, c.key, &TKeyFigures::Key);
    ASSERT_NE(it, keys.end());
    EXPECT_EQ(it->Typed, c.typed);
    EXPECT_EQ(it->Wrong, c.wrong);
    EXPECT_DOUBLE_EQ(it->MeanTime, c.meanTime);
}

INSTANTIATE_TEST_SUITE_P(
    History, HistoryKeys,
    testing::Values(
        KeyCase{"RightKeyIsTimed", {Typed("ab", "ab", 120)}, 'b', 1, 0, 120},
        KeyCase{"FirstKeyOfLineIsUntimed", {Typed("ab", "ab", 120)}, 'a', 1, 0, 0},
        KeyCase{"WrongKeyGivesNoTime", {Typed("ab", "ax", 120)}, 'b', 1, 1, 0},
        KeyCase{"LinesAddUp", {Typed("ab", "ab", 100), Typed("ab", "ab", 300)}, 'b', 2, 0, 200},
        KeyCase{"PauseIsNoTypingTime",
                {Strokes("abc", {{1, 'a', 'a', 0}, {2, 'b', 'b', 100}, {3, 'c', 'c', 2500}})},
                'c',
                1,
                0,
                0},
        // x at 2, Backspace, b at 2: b was asked twice and its time holds the correction.
        KeyCase{"CorrectedKeyCountsBothTimesUntimed",
                {Strokes("ab", {{1, 'a', 'a', 0}, {2, 'b', 'x', 100}, {2, 'b', 'b', 400}})},
                'b',
                2,
                1,
                0},
        KeyCase{"UnmappableKeyIsWrong",
                {Strokes("ab", {{1, 'a', 'a', 0}, {2, 'b', KeyUnmappable, 100}})},
                'b',
                1,
                1,
                0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(HistoryDir, ConfusionsMostFrequentFirst)
{
    auto store = OpenHistory(dir_);
    store->Record("Ann", Typed("aaab", "ssxv"));
    store->Record("Ann", Strokes("ab", {{1, 'a', KeyUnmappable, 0}}));
    store->Record("Bob", Typed("a", "q"));
    const auto all = store->Confusions("Ann", 10);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].Expected, 'a');
    EXPECT_EQ(all[0].Typed, 's');
    EXPECT_EQ(all[0].Count, 2);
    EXPECT_EQ(all[1].Typed, 'x');
    EXPECT_EQ(all[2].Expected, 'b');
    EXPECT_EQ(all[2].Typed, 'v');
    EXPECT_EQ(store->Confusions("Ann", 1).size(), 1u);
}

TEST_F(HistoryDir, SlowPairsOfConsecutiveRightKeys)
{
    auto store = OpenHistory(dir_);
    // ab 100, bc 300, ca 50, ab 100; the wrong d breaks the pairs around it.
    store->Record("Ann", Strokes("abcabde", {{1, 'a', 'a', 0},
                                             {2, 'b', 'b', 100},
                                             {3, 'c', 'c', 300},
                                             {4, 'a', 'a', 50},
                                             {5, 'b', 'b', 100},
                                             {6, 'd', 'f', 100},
                                             {7, 'e', 'e', 100}}));
    const auto pairs = store->SlowPairs("Ann", 1, 10);
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(std::string({char(pairs[0].First), char(pairs[0].Second)}), "bc");
    EXPECT_DOUBLE_EQ(pairs[0].MeanTime, 300);
    EXPECT_EQ(std::string({char(pairs[1].First), char(pairs[1].Second)}), "ab");
    EXPECT_EQ(pairs[1].Count, 2);
    EXPECT_EQ(std::string({char(pairs[2].First), char(pairs[2].Second)}), "ca");
    const auto frequent = store->SlowPairs("Ann", 2, 10);
    ASSERT_EQ(frequent.size(), 1u);
    EXPECT_EQ(frequent[0].First, 'a');
}

TEST_F(HistoryDir, MissedWordsOncePerLineWithoutPunctuation)
{
    auto store = OpenHistory(dir_);
    store->Record("Ann", Typed("the cat, sat.", "the cxy, sa#."));
    store->Record("Ann", Typed("cat sat", "cat saX"));
    const auto words = store->MissedWords("Ann", 10);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].Word, "sat");
    EXPECT_EQ(words[0].Count, 2);
    EXPECT_EQ(words[1].Word, "cat");
    EXPECT_EQ(words[1].Count, 1);
}

TEST_F(HistoryDir, DaysPerActivityAndTogether)
{
    auto store = OpenHistory(dir_);
    TLineRecord course = Typed("ab", "ab", 100, Day1Noon);
    course.Activity = THistoryActivity::Course;
    course.Lesson = 3;
    course.KeysPerMinute = 200;
    course.Accuracy = 100;
    course.WordsPerMinute = 40;
    TLineRecord sentence = course;
    sentence.Activity = THistoryActivity::Sentence;
    sentence.Lesson = 0;
    sentence.KeysPerMinute = 100;
    sentence.Accuracy = 90;
    TLineRecord later = sentence;
    later.When = Day1Noon + Day;
    for (const TLineRecord& line : {course, sentence, later})
        store->Record("Ann", line);
    TGameRecord game;
    game.When = Day1Noon;
    game.Accuracy = 50;
    store->Record("Ann", game);

    const auto together = store->Days("Ann", 0);
    ASSERT_EQ(together.size(), 2u);
    EXPECT_EQ(together[0].Day, "2024-06-01");
    EXPECT_EQ(together[0].Lines, 2);
    EXPECT_DOUBLE_EQ(together[0].KeysPerMinute, 150);
    EXPECT_DOUBLE_EQ(together[0].Accuracy, 95);
    EXPECT_DOUBLE_EQ(together[0].WordsPerMinute, 40);
    EXPECT_EQ(together[0].Lesson, 3);
    EXPECT_EQ(together[1].Day, "2024-06-02");
    EXPECT_EQ(together[1].Lesson, 0);

    const auto sentences = store->Days("Ann", int(THistoryActivity::Sentence));
    ASSERT_EQ(sentences.size(), 2u);
    EXPECT_EQ(sentences[0].Lines, 1);
    const auto games = store->Days("Ann", int(THistoryActivity::Game));
    ASSERT_EQ(games.size(), 1u);
    EXPECT_DOUBLE_EQ(games[0].Accuracy, 50);
    EXPECT_TRUE(store->Days("Bob", 0).empty());
}

TEST_F(HistoryDir, UsersSummariseLinesAndGamesIgnoringCase)
{
    auto store = OpenHistory(dir_);
    for (int i = 1; i <= RecentLines + 5; ++i) {
        TLineRecord line = Typed("ab", "ab", 100, Day1Noon + i);
        line.KeysPerMinute = i;
        line.Accuracy = 100;
        line.Lesson = i % 7;
        store->Record(i % 2 ? "Ann" : "ANN", line);
    }
    TGameRecord game;
    game.When = Day1Noon + Day;
    game.GameTime = 60000;
    store->Record("Bob", game);

    const auto users = store->Users();
    ASSERT_EQ(users.size(), 2u);
    EXPECT_EQ(users[0].User, "Ann");
    EXPECT_EQ(users[0].PracticeTime, (RecentLines + 5) * 200);
    EXPECT_EQ(users[0].Lesson, 6);
    // The last 20 of 1..25.
    EXPECT_DOUBLE_EQ(users[0].RecentKeysPerMinute, 15.5);
    EXPECT_DOUBLE_EQ(users[0].RecentAccuracy, 100);
    EXPECT_EQ(users[0].LastPractice.substr(0, 10), "2024-06-01");
    EXPECT_EQ(users[1].User, "Bob");
    EXPECT_EQ(users[1].PracticeTime, 60000);
    EXPECT_EQ(users[1].LastPractice.size(), 16u);
}

TEST_F(HistoryDir, ExportsLinesAndGamesInOrder)
{
    auto store = OpenHistory(dir_);
    TLineRecord line = Typed("ab", "ab", 100, Day1Noon);
    line.Course = "Touch, \"basic\"";
    line.Lesson = 2;
    line.KeysPerMinute = 120;
    line.Accuracy = 100;
    line.WordsPerMinute = 24;
    store->Record("Ann", line);
    TGameRecord game;
    game.When = Day1Noon + 60;
    game.Course = "English";
    game.Score = 77;
    game.Hits = 9;
    game.Misses = 1;
    game.Level = 2;
    game.Accuracy = 90;
    game.WordsPerMinute = 12;
    game.GameTime = 45000;
    store->Record("Ann", game);

    std::istringstream csv(store->ExportCsv("ann"));
    std::vector<std::string> rows;
    for (std::string row; std::getline(csv, row);)
        rows.push_back(row);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "when,activity,course,lesson,keys_per_minute,accuracy,words_per_minute,"
                       "time_ms,score,hits,misses,level");
    EXPECT_EQ(rows[1].substr(19), ",course,\"Touch, \"\"basic\"\"\",2,120,100,24,200,,,,");
    EXPECT_EQ(rows[2].substr(19), ",game,English,,,90,12,45000,77,9,1,2");
    EXPECT_EQ(store->ExportCsv("Nobody"), rows[0] + "\n");
}

TEST_F(HistoryDir, KeepsOnlyTheNewestLinesButEveryLineInTheFigures)
{
    OpenHistory(dir_)->Record("Ann", Typed("a", "a", 100, Day1Noon - 1));
    // As many older lines as are kept, written at once.
    RawSql(path_, ("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                   std::to_string(LinesKept) +
                   ") INSERT INTO lines(user, at, activity, course, lesson, kpm, accuracy, wpm, ms)"
                   " SELECT 1, 1717243200 + i, 1, '', 0, 100, 100, 20, 1000 FROM n")
                      .c_str());
    auto store = OpenHistory(dir_);
    store->Record("Ann", Typed("a", "a", 100, Day1Noon + LinesKept + 1));
    const std::string csv = store->ExportCsv("Ann");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), LinesKept + 1);
    const std::size_t firstRow = csv.find('\n') + 1;
    EXPECT_EQ(csv.substr(firstRow + 19, 27), ",course,,0,100,100,20,1000,")
        << "the oldest went first";
    EXPECT_EQ(store->Days("Ann", 0).at(0).Lines, 2);
}

TEST_F(HistoryDir, RemovingAUserLeavesTheOthers)
{
    {
        auto store = OpenHistory(dir_);
        store->Record("Ann", Typed("ab", "xb"));
        store->Record("Bob", Typed("ab", "xb"));
    }
    RemoveUserHistory(dir_, "ANN");
    auto store = OpenHistory(dir_);
    ASSERT_EQ(store->Users().size(), 1u);
    EXPECT_EQ(store->Users()[0].User, "Bob");
    EXPECT_TRUE(store->Keys("Ann").empty());
    EXPECT_TRUE(store->Confusions("Ann", 5).empty());
    EXPECT_TRUE(store->MissedWords("Ann", 5).empty());
    EXPECT_FALSE(store->Keys("Bob").empty());
}

TEST_F(HistoryDir, RemovingFromAFolderWithoutHistoryCreatesNone)
{
    RemoveUserHistory(dir_, "Ann");
    EXPECT_FALSE(fs::exists(path_));
}

TEST_F(HistoryDir, NewFileHasTheCurrentSchemaAndARollbackJournal)
{
    auto store = OpenHistory(dir_);
    EXPECT_EQ(store->SchemaVersion(), HistorySchemaVersion);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* mode = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &mode, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(mode), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(mode, 0)), "delete");
    sqlite3_finalize(mode);
    sqlite3_close(db);
}

// The first version's tables, as that version wrote them.
constexpr const char* FirstSchema =
    "CREATE TABLE users(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE COLLATE NOCASE);"
    "CREATE TABLE lines(id INTEGER PRIMARY KEY, user INTEGER NOT NULL, at INTEGER NOT NULL,"
    " activity INTEGER NOT NULL, course TEXT NOT NULL, lesson INTEGER NOT NULL,"
    " kpm INTEGER NOT NULL, accuracy INTEGER NOT NULL, wpm INTEGER NOT NULL,"
    " ms INTEGER NOT NULL);"
    "CREATE INDEX lines_by_user ON lines(user, id);"
    "CREATE TABLE games(id INTEGER PRIMARY KEY, user INTEGER NOT NULL, at INTEGER NOT NULL,"
    " course TEXT NOT NULL, score INTEGER NOT NULL, hits INTEGER NOT NULL,"
    " misses INTEGER NOT NULL, level INTEGER NOT NULL, accuracy INTEGER NOT NULL,"
    " wpm INTEGER NOT NULL, ms INTEGER NOT NULL);"
    "CREATE INDEX games_by_user ON games(user, id);"
    "CREATE TABLE days(user INTEGER NOT NULL, day TEXT NOT NULL, activity INTEGER NOT NULL,"
    " lines INTEGER NOT NULL, kpm INTEGER NOT NULL, wpm INTEGER NOT NULL,"
    " accuracy INTEGER NOT NULL, lesson INTEGER NOT NULL, ms INTEGER NOT NULL,"
    " PRIMARY KEY(user, day, activity)) WITHOUT ROWID;"
    "CREATE TABLE keys(user INTEGER NOT NULL, key INTEGER NOT NULL, typed INTEGER NOT NULL,"
    " wrong INTEGER NOT NULL, ms INTEGER NOT NULL, timed INTEGER NOT NULL,"
    " PRIMARY KEY(user, key)) WITHOUT ROWID;"
    "CREATE TABLE confusions(user INTEGER NOT NULL, expected INTEGER NOT NULL,"
    " typed INTEGER NOT NULL, count INTEGER NOT NULL,"
    " PRIMARY KEY(user, expected, typed)) WITHOUT ROWID;";

TEST_F(HistoryDir, FirstVersionFileIsBroughtUpToDateKeepingItsFigures)
{
    RawSql(path_, FirstSchema);
    RawSql(path_, "INSERT INTO users VALUES(1, 'Ann');"
                  "INSERT INTO lines VALUES(1, 1, 1717243200, 1, 'English', 4, 150, 96, 30, 8000);"
                  "INSERT INTO days VALUES(1, '2024-06-01', 1, 1, 150, 30, 96, 4, 8000);"
                  "INSERT INTO keys VALUES(1, 97, 10, 2, 900, 9);"
                  "INSERT INTO confusions VALUES(1, 97, 115, 2);"
                  "PRAGMA user_version = 1;");
    auto store = OpenHistory(dir_);
    EXPECT_EQ(store->SchemaVersion(), HistorySchemaVersion);
    ASSERT_EQ(store->Users().size(), 1u);
    EXPECT_EQ(store->Users()[0].PracticeTime, 8000);
    EXPECT_EQ(store->Users()[0].Lesson, 4);
    ASSERT_EQ(store->Keys("Ann").size(), 1u);
    EXPECT_DOUBLE_EQ(store->Keys("Ann")[0].MeanTime, 100);
    EXPECT_EQ(store->Confusions("Ann", 5).at(0).Count, 2);

    store->Record("Ann", Typed("the cat", "the cax", 100, Day1Noon));
    EXPECT_EQ(store->MissedWords("Ann", 5).at(0).Word, "cat");
    EXPECT_FALSE(store->SlowPairs("Ann", 1, 5).empty());
    EXPECT_EQ(store->Days("Ann", 0).at(0).Lines, 2);
}

TEST_F(HistoryDir, FileOfANewerVersionIsRefusedUntouched)
{
    RawSql(path_, "CREATE TABLE future(x); PRAGMA user_version = 99;");
    try {
        OpenHistory(dir_);
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_NE(std::string(e.what()).find(path_), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("newer version"), std::string::npos);
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "SELECT x FROM future", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// A file in a shared folder may hold what someone else put there; what is
// not exactly our tables is refused, and left as it is.
struct ForeignCase
{
    const char* name;
    const char* sql;
};

class HistoryForeign : public HistoryDir, public testing::WithParamInterface<ForeignCase>
{};

TEST_P(HistoryForeign, IsRefusedUntouched)
{
    OpenHistory(dir_);
    RawSql(path_, GetParam().sql);
    const std::string before = Bytes(path_);
    try {
        OpenHistory(dir_);
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_NE(std::string(e.what()).find(path_), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("differ from those Tapwren made"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(Bytes(path_), before);
}

INSTANTIATE_TEST_SUITE_P(
    History, HistoryForeign,
    testing::Values(ForeignCase{"TriggerOnLines", "CREATE TRIGGER slow AFTER INSERT ON lines BEGIN"
                                                  " SELECT 1; END"},
                    ForeignCase{"View", "CREATE VIEW recent AS SELECT * FROM lines"},
                    ForeignCase{"ExtraTable", "CREATE TABLE notes(x)"},
                    ForeignCase{"ExtraIndex", "CREATE INDEX lines_by_time ON lines(at)"},
                    ForeignCase{"MissingIndex", "DROP INDEX games_by_user"},
                    ForeignCase{"ChangedTable",
                                "DROP TABLE words; CREATE TABLE words(user, word, count)"},
                    ForeignCase{"FirstVersionWithATrigger",
                                "DROP TABLE pairs; DROP TABLE words; PRAGMA user_version = 1;"
                                "CREATE TRIGGER slow AFTER INSERT ON lines BEGIN SELECT 1; END"},
                    ForeignCase{"AnotherProgramsFile", "DROP TABLE pairs; DROP TABLE words;"
                                                       "PRAGMA user_version = 0"}),
    [](const auto& param) { return std::string(param.param.name); });

// Every statement is stopped once it has run for its time, and says so.
// Without a limit this query runs for minutes.
constexpr const char* EndlessQuery =
    "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 500000000)"
    " SELECT count(*) FROM c";

struct SlowStatementCase
{
    const char* name;
    std::function<void(TSqlite&)> run;
};

class SlowStatement : public testing::TestWithParam<SlowStatementCase>
{};

TEST_P(SlowStatement, IsStoppedAfterItsTime)
{
    TSqlite db(":memory:", true, 50ms);
    try {
        GetParam().run(db);
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_NE(std::string(e.what()).find("took longer than"), std::string::npos) << e.what();
    }
    // The next statement has its own time.
    TStatement one(db, "SELECT 1");
    EXPECT_TRUE(one.Step());
}

INSTANTIATE_TEST_SUITE_P(
    History, SlowStatement,
    testing::Values(SlowStatementCase{"Step",
                                      [](TSqlite& db) { TStatement(db, EndlessQuery).Step(); }},
                    SlowStatementCase{"Exec", [](TSqlite& db) { db.Exec(EndlessQuery); }}),
    [](const auto& param) { return std::string(param.param.name); });

// What a history that cannot be used does, told once per run; the queries
// answer empty.
struct FailureCase
{
    const char* name;
    std::function<void(const std::string& dir, const std::string& path)> spoil;
    const char* detail;
};

class HistoryFailure : public HistoryDir, public testing::WithParamInterface<FailureCase>
{};

TEST_P(HistoryFailure, IsToldOnceAndPracticeGoesOn)
{
    const FailureCase& c = GetParam();
    const std::string profiles = dir_ + "twc.ini";
    std::ofstream(profiles) << "[Ann]\nProgress=3\n";
    c.spoil(dir_, path_);
    std::vector<std::string> told;
    {
        THistory history(dir_, "Ann", [&](const std::string& message) { told.push_back(message); });
        for (int i = 0; i < 3; ++i)
            history.Add(Typed("ab", "ab"));
        history.Add(TGameRecord{});
        EXPECT_EQ(history.Store(), nullptr);
    }
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find(path_), std::string::npos) << told[0];
    EXPECT_NE(told[0].find(c.detail), std::string::npos) << told[0];
    std::ifstream in(profiles);
    std::ostringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), "[Ann]\nProgress=3\n");
}

INSTANTIATE_TEST_SUITE_P(
    History, HistoryFailure,
    testing::Values(FailureCase{"NotADatabase",
                                [](const std::string&, const std::string& path) {
                                    std::ofstream(path) << std::string(4096, 'x');
                                },
                                "not a database"},
                    FailureCase{"NotAFile",
                                [](const std::string&, const std::string& path) {
                                    fs::create_directory(path);
                                },
                                "is not a regular file"},
                    // Each line would run the trigger's query, seconds long.
                    FailureCase{"SlowTrigger",
                                [](const std::string& dir, const std::string& path) {
                                    OpenHistory(dir);
                                    RawSql(path, "CREATE TABLE filler(x);"
                                                 "INSERT INTO filler WITH RECURSIVE c(x) AS"
                                                 " (SELECT 1 UNION ALL SELECT x + 1 FROM c"
                                                 " WHERE x < 400) SELECT x FROM c;"
                                                 "CREATE TRIGGER slow AFTER INSERT ON lines BEGIN"
                                                 " SELECT count(*) FROM filler a, filler b,"
                                                 " filler c; END");
                                },
                                "differ from those Tapwren made"},
                    // Reading a pipe waits for whoever may write into it.
                    FailureCase{"FileIsAPipe",
                                [](const std::string&, const std::string& path) {
                                    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
                                },
                                "is not a regular file"},
                    FailureCase{"JournalIsAPipe",
                                [](const std::string& dir, const std::string& path) {
                                    OpenHistory(dir);
                                    ASSERT_EQ(mkfifo((path + "-journal").c_str(), 0600), 0);
                                },
                                "-journal is not a regular file"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(HistoryDir, RunsRecordsAreWrittenInOrderAndReadBackAfterThem)
{
    THistory history(dir_, "Ann", [](const std::string& message) { ADD_FAILURE() << message; });
    for (int i = 0; i < 30; ++i) {
        TLineRecord line = Typed("ab", "ab", 100, Day1Noon + i);
        line.KeysPerMinute = i;
        history.Add(line);
    }
    TGameRecord game;
    game.When = Day1Noon + 30;
    history.Add(game);
    THistoryStore* store = history.Store();
    ASSERT_NE(store, nullptr);
    std::istringstream csv(store->ExportCsv("Ann"));
    std::vector<std::string> rows;
    for (std::string row; std::getline(csv, row);)
        rows.push_back(row);
    ASSERT_EQ(rows.size(), 32u);
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(rows[std::size_t(i) + 1].substr(19),
                  ",course,,0," + std::to_string(i) + ",0,0,200,,,,");
    EXPECT_EQ(rows[31].substr(19, 6), ",game,");
}

TEST_F(HistoryDir, LockedFileIsWaitedForThenToldOnce)
{
    OpenHistory(dir_);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    int told = 0;
    THistory history(dir_, "Ann", [&](const std::string& message) {
        ++told;
        EXPECT_NE(message.find("locked"), std::string::npos) << message;
    });
    history.Add(Typed("ab", "ab"));
    history.Add(Typed("ab", "ab"));
    EXPECT_TRUE(history.Flush(10s));
    EXPECT_EQ(told, 1);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
}

// The threads of this process.
std::size_t Threads()
{
    const auto tasks = fs::directory_iterator("/proc/self/task");
    return static_cast<std::size_t>(std::distance(fs::begin(tasks), fs::end(tasks)));
}

// A file system that stops answering (a network folder gone, a pipe put
// where the journal goes) holds the writing thread for good; the window
// still gets on, at the statistics and at the end of the run.
TEST_F(HistoryDir, StuckWriterIsWaitedForOnlyAWhile)
{
    const std::string journal = path_ + "-journal";
    const std::size_t threads = Threads();
    auto told = std::make_unique<std::vector<std::string>>();
    auto history = std::make_unique<THistory>(
        dir_, "Ann", [&told](const std::string& message) { told->push_back(message); }, 100ms,
        100ms);
    history->Add(Typed("ab", "ab"));
    ASSERT_TRUE(history->Flush(10s));
    ASSERT_EQ(mkfifo(journal.c_str(), 0600), 0);
    history->Add(Typed("ab", "ab"));
    EXPECT_FALSE(history->Flush(100ms));
    try {
        history->Store();
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_NE(std::string(e.what()).find("still being written"), std::string::npos) << e.what();
    }
    history.reset();
    // The thread left behind tells nobody once its history is gone.
    told.reset();

    // Let the thread go (it reads the pipe's end, then finds a plain journal)
    // and see it end.
    int writeEnd = -1;
    for (int tries = 0; writeEnd < 0 && tries < 10000; ++tries) {
        std::this_thread::sleep_for(1ms);
        writeEnd = open(journal.c_str(), O_WRONLY | O_NONBLOCK);
    }
    ASSERT_GE(writeEnd, 0) << "the writer never opened the journal";
    unlink(journal.c_str());
    close(writeEnd);
    for (int tries = 0; Threads() > threads && tries < 10000; ++tries)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(Threads(), threads) << "the writer never ended";
}

// A line drill's window that does nothing; the engine on a fake clock.
class QuietHost : public TLineDrillHost
{
public:
    void ShowNextKey(unsigned char) override {}
    void MarkRight() override {}
    void MarkWrong() override {}
    bool HighlightNext() override { return false; }
    void NextLine() override {}
    void MoveCaretToEnd() override {}
    void ShowTimingMark(bool) override {}
    void HighlightSample(int) override {}
    void ShowStatistics(const TLineStatistics&) override {}
    void CloseWindow() override {}
    void WrongKey() override {}
    void LineDone() override {}
};

struct RecorderRig
{
    RecorderRig()
        : recorder([this](const TLineRecord& line) { lines.push_back(line); },
                   THistoryActivity::Course, "English", [this] { return steady; },
                   [] { return Day1Noon; })
    {
        engine.Observer = &recorder;
        recorder.Lesson = [this] { return lesson; };
    }
    void Start(const std::string& sample)
    {
        engine.SetSample(sample);
        engine.SampleLength = static_cast<int>(sample.size());
        engine.WordCount = 1;
        engine.Position = 1;
        engine.Timing = false;
    }
    void Type(const std::string& keys, std::int64_t gap = 100)
    {
        for (const char k : keys) {
            steady += gap;
            clock += static_cast<std::int32_t>(gap);
            engine.KeyPress(static_cast<unsigned char>(k));
        }
    }

    std::int64_t steady = 1000;
    std::int32_t clock = 0;
    int lesson = 5;
    QuietHost host;
    stopwatch watch{[this] { return clock; }};
    TLineEngine engine{host, watch};
    std::vector<TLineRecord> lines;
    TLineRecorder recorder;
};

TEST(LineRecorder, CompletedLineIsHandedOverWhole)
{
    RecorderRig rig;
    rig.Start("abc");
    rig.Type("ax");
    rig.Type("\b", 300);
    rig.Type("bc ");
    ASSERT_EQ(rig.lines.size(), 1u);
    const TLineRecord& line = rig.lines[0];
    EXPECT_EQ(line.When, Day1Noon);
    EXPECT_EQ(line.Activity, THistoryActivity::Course);
    EXPECT_EQ(line.Course, "English");
    EXPECT_EQ(line.Lesson, 5);
    EXPECT_EQ(line.Sample, "abc");
    EXPECT_EQ(line.Accuracy, 100);
    EXPECT_EQ(line.LineTime, rig.engine.LineTime);
    EXPECT_EQ(line.KeysPerMinute, rig.engine.Statistics().KeysPerMinute);
    ASSERT_EQ(line.Keys.size(), 4u);
    EXPECT_EQ(line.Keys[0].SincePrevious, 0);
    EXPECT_EQ(line.Keys[1].Typed, 'x');
    EXPECT_EQ(line.Keys[1].Position, 2);
    // The Backspace between them belongs to the time of the retyped key.
    EXPECT_EQ(line.Keys[2].Position, 2);
    EXPECT_EQ(line.Keys[2].Expected, 'b');
    EXPECT_EQ(line.Keys[2].SincePrevious, 400);
    EXPECT_EQ(line.Keys[3].SincePrevious, 100);
}

TEST(LineRecorder, LinesThatDoNotCompleteAreDropped)
{
    RecorderRig rig;
    rig.Start("abc");
    rig.Type("ab\r");
    rig.Start("abc");
    rig.Type("a\x1b");
    EXPECT_TRUE(rig.lines.empty());
    // A line left for another (a course's arrow keys) starts afresh.
    rig.Start("xyz");
    rig.Type("xy");
    rig.Start("abc");
    rig.Type("abc ");
    ASSERT_EQ(rig.lines.size(), 1u);
    EXPECT_EQ(rig.lines[0].Keys.size(), 3u);
    EXPECT_EQ(rig.lines[0].Keys[0].Expected, 'a');
}

} // namespace
