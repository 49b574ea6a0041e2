// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryStore.h"

#include "base/Errors.h"
#include "base/Translate.h"
#include "drills/LineEngine.h"

#include <array>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <map>
#include <sqlite3.h>
#include <utility>

namespace {

// A locked file is waited for this long before the write gives up: long
// enough for another computer's short transaction, short enough not to hold
// up the next line.
constexpr int BusyTimeoutMs = 1000;

// Each step brings the tables from the version before it to its own.
constexpr std::array<const char*, HistorySchemaVersion> SchemaSteps = {
    // 1: daily, key and confusion figures, the lines and the games.
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
    " PRIMARY KEY(user, expected, typed)) WITHOUT ROWID;",
    // 2: the times of key pairs and the missed words.
    "CREATE TABLE pairs(user INTEGER NOT NULL, first INTEGER NOT NULL, second INTEGER NOT NULL,"
    " count INTEGER NOT NULL, ms INTEGER NOT NULL,"
    " PRIMARY KEY(user, first, second)) WITHOUT ROWID;"
    "CREATE TABLE words(user INTEGER NOT NULL, word TEXT NOT NULL, count INTEGER NOT NULL,"
    " PRIMARY KEY(user, word)) WITHOUT ROWID;",
};

// The names of the activities in the export, by THistoryActivity.
constexpr std::array<const char*, 7> ActivityNames = {"",          "course",   "sentence", "free",
                                                      "paragraph", "weakkeys", "game"};

std::string LocalTime(std::int64_t when, const char* format)
{
    const auto t = static_cast<std::time_t>(when);
    std::tm local{};
    localtime_r(&t, &local);
    std::array<char, 32> text{};
    const std::size_t n = std::strftime(text.data(), text.size(), format, &local);
    return std::string(text.data(), n);
}

std::string Day(std::int64_t when)
{
    return LocalTime(when, "%Y-%m-%d");
}

struct TKeyTally
{
    int Typed = 0;
    int Wrong = 0;
    std::int64_t Ms = 0;
    int Timed = 0;
};

struct TPairTally
{
    int Count = 0;
    std::int64_t Ms = 0;
};

using TBytePair = std::pair<unsigned char, unsigned char>;

// What one line adds to the key, confusion, pair and word figures.
struct TLineTally
{
    std::array<TKeyTally, 256> Keys{};
    std::map<TBytePair, int> Confusions;
    std::map<TBytePair, TPairTally> Pairs;
    std::map<std::string, int> Words;
};

bool IsWordSeparator(unsigned char ch)
{
    return ch == ' ' || ch == '\t' || ch == CharCR || ch == CharLF;
}

bool IsAsciiPunctuation(unsigned char ch)
{
    return ch < 128 && std::ispunct(ch) != 0;
}

// The words of the sample that hold a wrong key, each once per line,
// without the punctuation at their ends.
void TallyMissedWords(const TLineRecord& line, TLineTally& tally)
{
    const std::string& s = line.Sample;
    std::vector<bool> wrongAt(s.size() + 1, false);
    for (const TKeyStroke& key : line.Keys)
        if (key.Typed != key.Expected && key.Position >= 1 &&
            static_cast<std::size_t>(key.Position) <= s.size())
            wrongAt[static_cast<std::size_t>(key.Position)] = true;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && IsWordSeparator(static_cast<unsigned char>(s[i])))
            ++i;
        std::size_t end = i;
        bool missed = false;
        while (end < s.size() && !IsWordSeparator(static_cast<unsigned char>(s[end])))
            missed = wrongAt[++end] || missed;
        std::size_t first = i;
        std::size_t last = end;
        while (first < last && IsAsciiPunctuation(static_cast<unsigned char>(s[first])))
            ++first;
        while (last > first && IsAsciiPunctuation(static_cast<unsigned char>(s[last - 1])))
            --last;
        if (missed && first < last)
            ++tally.Words[s.substr(first, last - first)];
        i = end;
    }
}

TLineTally Tally(const TLineRecord& line)
{
    TLineTally tally;
    const TKeyStroke* previous = nullptr;
    for (const TKeyStroke& key : line.Keys) {
        const bool right = key.Typed == key.Expected;
        // After a correction the time since the previous key includes the
        // corrections, and after a pause it is no typing time.
        const bool timed = previous != nullptr && key.Position > previous->Position &&
                           key.SincePrevious > 0 && key.SincePrevious <= LongestKeyPause;
        TKeyTally& k = tally.Keys[key.Expected];
        ++k.Typed;
        if (!right) {
            ++k.Wrong;
            if (key.Typed >= 0 && key.Typed <= 255)
                ++tally.Confusions[{key.Expected, static_cast<unsigned char>(key.Typed)}];
        } else if (timed) {
            k.Ms += key.SincePrevious;
            ++k.Timed;
            if (previous->Typed == previous->Expected && key.Position == previous->Position + 1) {
                TPairTally& pair = tally.Pairs[{previous->Expected, key.Expected}];
                ++pair.Count;
                pair.Ms += key.SincePrevious;
            }
        }
        previous = &key;
    }
    TallyMissedWords(line, tally);
    return tally;
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char ch : text) {
        if (ch == '"')
            quoted += '"';
        quoted += ch;
    }
    return quoted + '"';
}

// Runs a query; a history that cannot be read answers with nothing.
template <class Result, class Read> Result Answer(Read read)
{
    try {
        return read();
    } catch (const TError&) {
        return Result{};
    }
}

} // namespace

struct THistoryStore::TStatements
{
    explicit TStatements(TSqlite& db)
        : FindUser(db, "SELECT id FROM users WHERE name = ?1"),
          AddUser(db, "INSERT INTO users(name) VALUES(?1)"),
          AddLine(db, "INSERT INTO lines(user, at, activity, course, lesson, kpm, accuracy, wpm,"
                      " ms) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)"),
          TrimLines(db, "DELETE FROM lines WHERE user = ?1 AND id <= (SELECT id FROM lines"
                        " WHERE user = ?1 ORDER BY id DESC LIMIT 1 OFFSET ?2)"),
          AddGame(db, "INSERT INTO games(user, at, course, score, hits, misses, level, accuracy,"
                      " wpm, ms) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)"),
          AddDay(db, "INSERT INTO days VALUES(?1, ?2, ?3, 1, ?4, ?5, ?6, ?7, ?8)"
                     " ON CONFLICT DO UPDATE SET lines = lines + 1, kpm = kpm + excluded.kpm,"
                     " wpm = wpm + excluded.wpm, accuracy = accuracy + excluded.accuracy,"
                     " lesson = max(lesson, excluded.lesson), ms = ms + excluded.ms"),
          AddKey(db, "INSERT INTO keys VALUES(?1, ?2, ?3, ?4, ?5, ?6) ON CONFLICT DO UPDATE SET"
                     " typed = typed + excluded.typed, wrong = wrong + excluded.wrong,"
                     " ms = ms + excluded.ms, timed = timed + excluded.timed"),
          AddConfusion(db, "INSERT INTO confusions VALUES(?1, ?2, ?3, ?4)"
                           " ON CONFLICT DO UPDATE SET count = count + excluded.count"),
          AddPair(db, "INSERT INTO pairs VALUES(?1, ?2, ?3, ?4, ?5) ON CONFLICT DO UPDATE SET"
                      " count = count + excluded.count, ms = ms + excluded.ms"),
          AddWord(db, "INSERT INTO words VALUES(?1, ?2, ?3)"
                      " ON CONFLICT DO UPDATE SET count = count + excluded.count"),
          CountWords(db, "SELECT count(*) FROM words WHERE user = ?1"),
          TrimWords(db, "DELETE FROM words WHERE user = ?1 AND word IN (SELECT word FROM words"
                        " WHERE user = ?1 ORDER BY count, word LIMIT ?2)")
    {}

    TStatement FindUser;
    TStatement AddUser;
    TStatement AddLine;
    TStatement TrimLines;
    TStatement AddGame;
    TStatement AddDay;
    TStatement AddKey;
    TStatement AddConfusion;
    TStatement AddPair;
    TStatement AddWord;
    TStatement CountWords;
    TStatement TrimWords;
};

THistoryStore::THistoryStore(const std::string& path) : db_(path, true)
{
    sqlite3_busy_timeout(db_.Handle(), BusyTimeoutMs);
    // A rollback journal, not WAL: WAL needs memory shared between the
    // processes, which a network folder cannot give.
    db_.Exec("PRAGMA journal_mode = DELETE");
    Migrate();
    statements_ = std::make_unique<TStatements>(db_);
}

THistoryStore::~THistoryStore() = default;

int THistoryStore::SchemaVersion()
{
    TStatement version(db_, "PRAGMA user_version");
    return version.Step() ? static_cast<int>(version.Int(0)) : 0;
}

int THistoryStore::CheckedVersion()
{
    const int version = SchemaVersion();
    if (version > HistorySchemaVersion)
        throw TError(Format(_("The typing history %s comes from a newer version of Tapwren."),
                            db_.Path().c_str()));
    // The folder may be shared: a trigger someone added would run with every
    // line written, so the file must hold exactly what the steps make.
    TSqlite ours(":memory:", true);
    for (int step = 0; step < version; ++step)
        ours.Exec(SchemaSteps[static_cast<std::size_t>(step)]);
    if (db_.Schema() != ours.Schema())
        throw TError(Format(_("The typing history %s has tables, indexes, views or triggers that "
                              "differ from those Tapwren made, so it is not used."),
                            db_.Path().c_str()));
    return version;
}

void THistoryStore::Migrate()
{
    if (CheckedVersion() == HistorySchemaVersion)
        return;
    TTransaction transaction(db_);
    // Read again under the lock: another program may have just done it.
    const int version = CheckedVersion();
    for (int step = version; step < HistorySchemaVersion; ++step)
        db_.Exec(SchemaSteps[static_cast<std::size_t>(step)]);
    db_.Exec(("PRAGMA user_version = " + std::to_string(HistorySchemaVersion)).c_str());
    transaction.Commit();
}

std::int64_t THistoryStore::FindUser(const std::string& user) const
{
    TStatement& find = statements_->FindUser;
    find.Bind(1, user);
    const std::int64_t id = find.Step() ? find.Int(0) : 0;
    find.Reset();
    return id;
}

std::int64_t THistoryStore::UserId(const std::string& user)
{
    if (const std::int64_t id = FindUser(user))
        return id;
    statements_->AddUser.Bind(1, user).Run();
    return sqlite3_last_insert_rowid(db_.Handle());
}

void THistoryStore::AddDay(std::int64_t user, std::int64_t when, THistoryActivity activity,
                           int lesson, int kpm, int wpm, int accuracy, std::int32_t ms)
{
    statements_->AddDay.Bind(1, user)
        .Bind(2, Day(when))
        .Bind(3, static_cast<std::int64_t>(activity))
        .Bind(4, kpm)
        .Bind(5, wpm)
        .Bind(6, accuracy)
        .Bind(7, lesson)
        .Bind(8, ms)
        .Run();
}

void THistoryStore::Record(const std::string& user, const TLineRecord& line)
{
    const TLineTally tally = Tally(line);
    TStatements& s = *statements_;
    TTransaction transaction(db_);
    const std::int64_t id = UserId(user);
    s.AddLine.Bind(1, id)
        .Bind(2, line.When)
        .Bind(3, static_cast<std::int64_t>(line.Activity))
        .Bind(4, line.Course)
        .Bind(5, line.Lesson)
        .Bind(6, line.KeysPerMinute)
        .Bind(7, line.Accuracy)
        .Bind(8, line.WordsPerMinute)
        .Bind(9, line.LineTime)
        .Run();
    s.TrimLines.Bind(1, id).Bind(2, LinesKept).Run();
    AddDay(id, line.When, line.Activity, line.Lesson, line.KeysPerMinute, line.WordsPerMinute,
           line.Accuracy, line.LineTime);
    for (std::size_t key = 0; key < tally.Keys.size(); ++key) {
        const TKeyTally& k = tally.Keys[key];
        if (k.Typed > 0)
            s.AddKey.Bind(1, id)
                .Bind(2, static_cast<std::int64_t>(key))
                .Bind(3, k.Typed)
                .Bind(4, k.Wrong)
                .Bind(5, k.Ms)
                .Bind(6, k.Timed)
                .Run();
    }
    for (const auto& [keys, count] : tally.Confusions)
        s.AddConfusion.Bind(1, id).Bind(2, keys.first).Bind(3, keys.second).Bind(4, count).Run();
    for (const auto& [keys, pair] : tally.Pairs)
        s.AddPair.Bind(1, id)
            .Bind(2, keys.first)
            .Bind(3, keys.second)
            .Bind(4, pair.Count)
            .Bind(5, pair.Ms)
            .Run();
    for (const auto& [word, count] : tally.Words)
        s.AddWord.Bind(1, id).Bind(2, word).Bind(3, count).Run();
    if (!tally.Words.empty()) {
        s.CountWords.Bind(1, id);
        const std::int64_t words = s.CountWords.Step() ? s.CountWords.Int(0) : 0;
        s.CountWords.Reset();
        if (words > MissedWordsKept)
            s.TrimWords.Bind(1, id).Bind(2, words - MissedWordsKept).Run();
    }
    transaction.Commit();
}

void THistoryStore::Record(const std::string& user, const TGameRecord& game)
{
    TTransaction transaction(db_);
    const std::int64_t id = UserId(user);
    statements_->AddGame.Bind(1, id)
        .Bind(2, game.When)
        .Bind(3, game.Course)
        .Bind(4, game.Score)
        .Bind(5, game.Hits)
        .Bind(6, game.Misses)
        .Bind(7, game.Level)
        .Bind(8, game.Accuracy)
        .Bind(9, game.WordsPerMinute)
        .Bind(10, game.GameTime)
        .Run();
    AddDay(id, game.When, THistoryActivity::Game, 0, 0, game.WordsPerMinute, game.Accuracy,
           game.GameTime);
    transaction.Commit();
}

void THistoryStore::RemoveUser(const std::string& user)
{
    TTransaction transaction(db_);
    if (const std::int64_t id = FindUser(user)) {
        for (const char* table :
             {"lines", "games", "days", "keys", "confusions", "pairs", "words"}) {
            TStatement erase(db_,
                             ("DELETE FROM " + std::string(table) + " WHERE user = ?1").c_str());
            erase.Bind(1, id).Run();
        }
        TStatement(db_, "DELETE FROM users WHERE id = ?1").Bind(1, id).Run();
    }
    transaction.Commit();
}

std::vector<TDayFigures> THistoryStore::Days(const std::string& user, int activity) const
{
    return Answer<std::vector<TDayFigures>>([&] {
        TStatement q(db_, "SELECT day, sum(lines), sum(kpm), sum(wpm), sum(accuracy),"
                          " max(lesson) FROM days WHERE user = (SELECT id FROM users"
                          " WHERE name = ?1) AND (activity = ?2 OR (?2 = 0 AND activity <> ?3))"
                          " GROUP BY day ORDER BY day");
        q.Bind(1, user)
            .Bind(2, activity)
            .Bind(3, static_cast<std::int64_t>(THistoryActivity::Game));
        std::vector<TDayFigures> days;
        while (q.Step()) {
            TDayFigures d;
            d.Day = q.Text(0);
            d.Lines = static_cast<int>(q.Int(1));
            const double lines = std::max(d.Lines, 1);
            d.KeysPerMinute = q.Real(2) / lines;
            d.WordsPerMinute = q.Real(3) / lines;
            d.Accuracy = q.Real(4) / lines;
            d.Lesson = static_cast<int>(q.Int(5));
            days.push_back(d);
        }
        return days;
    });
}

std::vector<TKeyFigures> THistoryStore::Keys(const std::string& user) const
{
    return Answer<std::vector<TKeyFigures>>([&] {
        TStatement q(db_, "SELECT key, typed, wrong, ms, timed FROM keys"
                          " WHERE user = (SELECT id FROM users WHERE name = ?1)");
        q.Bind(1, user);
        std::vector<TKeyFigures> keys;
        while (q.Step()) {
            TKeyFigures k;
            k.Key = static_cast<unsigned char>(q.Int(0));
            k.Typed = static_cast<int>(q.Int(1));
            k.Wrong = static_cast<int>(q.Int(2));
            const std::int64_t timed = q.Int(4);
            k.MeanTime = timed > 0 ? q.Real(3) / static_cast<double>(timed) : 0.0;
            keys.push_back(k);
        }
        return keys;
    });
}

std::vector<TConfusion> THistoryStore::Confusions(const std::string& user, int limit) const
{
    return Answer<std::vector<TConfusion>>([&] {
        TStatement q(db_, "SELECT expected, typed, count FROM confusions"
                          " WHERE user = (SELECT id FROM users WHERE name = ?1)"
                          " ORDER BY count DESC, expected, typed LIMIT ?2");
        q.Bind(1, user).Bind(2, limit);
        std::vector<TConfusion> confusions;
        while (q.Step())
            confusions.push_back({static_cast<unsigned char>(q.Int(0)),
                                  static_cast<unsigned char>(q.Int(1)),
                                  static_cast<int>(q.Int(2))});
        return confusions;
    });
}

std::vector<TPairTime> THistoryStore::SlowPairs(const std::string& user, int minCount,
                                                int limit) const
{
    return Answer<std::vector<TPairTime>>([&] {
        TStatement q(db_, "SELECT first, second, count, ms * 1.0 / count AS mean FROM pairs"
                          " WHERE user = (SELECT id FROM users WHERE name = ?1)"
                          " AND count >= ?2 ORDER BY mean DESC, first, second LIMIT ?3");
        q.Bind(1, user).Bind(2, std::max(minCount, 1)).Bind(3, limit);
        std::vector<TPairTime> pairs;
        while (q.Step())
            pairs.push_back({static_cast<unsigned char>(q.Int(0)),
                             static_cast<unsigned char>(q.Int(1)), static_cast<int>(q.Int(2)),
                             q.Real(3)});
        return pairs;
    });
}

std::vector<TWordMiss> THistoryStore::MissedWords(const std::string& user, int limit) const
{
    return Answer<std::vector<TWordMiss>>([&] {
        TStatement q(db_, "SELECT word, count FROM words"
                          " WHERE user = (SELECT id FROM users WHERE name = ?1)"
                          " ORDER BY count DESC, word LIMIT ?2");
        q.Bind(1, user).Bind(2, limit);
        std::vector<TWordMiss> words;
        while (q.Step())
            words.push_back({q.Text(0), static_cast<int>(q.Int(1))});
        return words;
    });
}

std::vector<TUserSummary> THistoryStore::Users() const
{
    return Answer<std::vector<TUserSummary>>([&] {
        TStatement q(
            db_,
            "SELECT name,"
            " (SELECT coalesce(sum(ms), 0) FROM days WHERE user = u.id),"
            " (SELECT coalesce(max(lesson), 0) FROM days WHERE user = u.id),"
            " (SELECT coalesce(avg(kpm), 0) FROM (SELECT kpm FROM lines WHERE user = u.id"
            "  ORDER BY id DESC LIMIT ?1)),"
            " (SELECT coalesce(avg(accuracy), 0) FROM (SELECT accuracy FROM lines"
            "  WHERE user = u.id ORDER BY id DESC LIMIT ?1)),"
            " max(coalesce((SELECT at FROM lines WHERE user = u.id ORDER BY id DESC LIMIT 1), 0),"
            "     coalesce((SELECT at FROM games WHERE user = u.id ORDER BY id DESC LIMIT 1), 0))"
            " FROM users AS u ORDER BY name");
        q.Bind(1, RecentLines);
        std::vector<TUserSummary> users;
        while (q.Step()) {
            TUserSummary u;
            u.User = q.Text(0);
            u.PracticeTime = q.Int(1);
            u.Lesson = static_cast<int>(q.Int(2));
            u.RecentKeysPerMinute = q.Real(3);
            u.RecentAccuracy = q.Real(4);
            if (const std::int64_t last = q.Int(5))
                u.LastPractice = LocalTime(last, "%Y-%m-%d %H:%M");
            users.push_back(u);
        }
        return users;
    });
}

std::string THistoryStore::ExportCsv(const std::string& user) const
{
    std::string csv = "when,activity,course,lesson,keys_per_minute,accuracy,words_per_minute,"
                      "time_ms,score,hits,misses,level\n";
    return Answer<std::string>([&] {
        TStatement q(db_, "SELECT at, activity, course, lesson, kpm, accuracy, wpm, ms, NULL,"
                          " NULL, NULL, NULL, id, 0 FROM lines WHERE user = ?1"
                          " UNION ALL SELECT at, ?2, course, NULL, NULL, accuracy, wpm, ms,"
                          " score, hits, misses, level, id, 1 FROM games WHERE user = ?1"
                          " ORDER BY 1, 14, 13");
        q.Bind(1, FindUser(user)).Bind(2, static_cast<std::int64_t>(THistoryActivity::Game));
        while (q.Step()) {
            const auto activity = static_cast<std::size_t>(q.Int(1));
            csv += LocalTime(q.Int(0), "%Y-%m-%d %H:%M:%S");
            csv += ',';
            csv += activity < ActivityNames.size() ? ActivityNames[activity] : "";
            csv += ',' + CsvField(q.Text(2));
            for (int column = 3; column < 12; ++column)
                csv += ',' + q.Text(column);
            csv += '\n';
        }
        return csv;
    });
}

std::unique_ptr<THistoryStore> OpenHistory(const std::string& dataDir)
{
    return std::make_unique<THistoryStore>(dataDir + HistoryFileName);
}

void RemoveUserHistory(const std::string& dataDir, const std::string& user)
{
    std::error_code error;
    if (!std::filesystem::exists(dataDir + HistoryFileName, error))
        return;
    OpenHistory(dataDir)->RemoveUser(user);
}
