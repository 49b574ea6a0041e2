// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/HistoryFigures.h"
#include "history/HistoryRecords.h"
#include "history/Sqlite.h"

#include <memory>
#include <string>

// The typing history's file in the data folder, beside twc.ini: one file
// for all users of the folder.
inline constexpr const char* HistoryFileName = "history.db";
// What the file's PRAGMA user_version says of its tables.
inline constexpr int HistorySchemaVersion = 2;

// Keys further apart than this are a pause, not typing: their time is left
// out of the key and pair times.
inline constexpr std::int32_t LongestKeyPause = 2000;
// Per user, the newest lines kept one by one (for the recent figures and the
// export); every line stays in the daily, key, pair and word figures.
inline constexpr int LinesKept = 5000;
// Per user, the most often missed words kept.
inline constexpr int MissedWordsKept = 1000;
// The lines the users' recent figures are taken over.
inline constexpr int RecentLines = 20;

// One data folder's history: aggregates per user, day and activity, per key,
// per confusion and per key pair, the missed words, and the newest lines and
// the games one by one. Every write is one transaction. A store works on the
// user-interface thread only. Users match without regard to case, as their
// profiles do.
class THistoryStore final : public THistoryQueries
{
public:
    // Opens the file, creating it and its tables when missing and bringing
    // an older file's tables up to date. Throws TError when the file cannot
    // be opened, is no history, holds anything besides our tables or comes
    // from a newer version.
    explicit THistoryStore(const std::string& path);
    ~THistoryStore() override;

    void Record(const std::string& user, const TLineRecord& line);
    void Record(const std::string& user, const TGameRecord& game);
    // Everything recorded for the user.
    void RemoveUser(const std::string& user);

    int SchemaVersion();
    // From any thread: the statement running stops at its next step, and
    // every later one fails.
    void Abandon() { db_.Abandon(); }

    // THistoryQueries: a failed read answers empty.
    std::vector<TDayFigures> Days(const std::string& user, int activity) const override;
    std::vector<TKeyFigures> Keys(const std::string& user) const override;
    std::vector<TConfusion> Confusions(const std::string& user, int limit) const override;
    std::vector<TPairTime> SlowPairs(const std::string& user, int minCount,
                                     int limit) const override;
    std::vector<TWordMiss> MissedWords(const std::string& user, int limit) const override;
    std::vector<TUserSummary> Users() const override;
    std::string ExportCsv(const std::string& user) const override;

private:
    struct TStatements;

    // The file's version, once its tables are found to be exactly those of
    // that version; throws TError otherwise.
    int CheckedVersion();
    void Migrate();
    std::int64_t UserId(const std::string& user);
    std::int64_t FindUser(const std::string& user) const;
    void AddDay(std::int64_t user, std::int64_t when, THistoryActivity activity, int lesson,
                int kpm, int wpm, int accuracy, std::int32_t ms);

    mutable TSqlite db_;
    std::unique_ptr<TStatements> statements_;
};

// The history of the data folder (its path ends with a separator), as the
// drills record into it and the statistics window reads it. Throws TError as
// THistoryStore does.
std::unique_ptr<THistoryStore> OpenHistory(const std::string& dataDir);

// Forgets a user's history, as removing or re-creating the user does; a
// folder without a history file is left without one. Throws TError.
void RemoveUserHistory(const std::string& dataDir, const std::string& user);
