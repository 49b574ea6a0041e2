// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// One connection to an SQLite database file. Every failure throws TError
// naming the file and what SQLite said.
//
// The file may come from anyone who shares the folder, so the connection
// trusts nothing in it: it runs no trigger and no view, and every statement
// is stopped once it has run for the connection's time limit.
class TSqlite
{
public:
    // The time one statement may run; the queries of a year of a class's
    // practice take a few milliseconds.
    static constexpr std::chrono::milliseconds StatementTimeLimit{2000};

    // Opens the file, creating it when create is true. A file or journal
    // that is there but no regular file (a pipe, a folder) is refused before
    // SQLite reads it: reading a pipe would wait for good.
    TSqlite(std::string path, bool create,
            std::chrono::milliseconds timeLimit = StatementTimeLimit);
    ~TSqlite();
    TSqlite(const TSqlite&) = delete;
    TSqlite& operator=(const TSqlite&) = delete;

    // Runs statements that return no rows.
    void Exec(const char* sql);
    const std::string& Path() const { return path_; }
    sqlite3* Handle() const { return db_; }
    // The CREATE statements of the file's tables, indexes, views and
    // triggers, in order; SQLite's own objects left out.
    std::vector<std::string> Schema();
    // From any thread: the running statement stops at its next step, and
    // every later one fails at once.
    void Abandon() { abandoned_ = true; }
    // Throws the TError of the last failure, or of the one described.
    [[noreturn]] void Fail() const;
    [[noreturn]] void Fail(const std::string& detail) const;
    // What went wrong last, in words.
    std::string Detail() const;

private:
    friend class TStatement;
    friend class TTransaction;
    // A statement starts now: its time runs from here. Throws once the
    // connection is abandoned.
    void Start();
    // Ends the open transaction, whatever it did.
    void RollBack();
    static int Progress(void* self);

    std::string path_;
    sqlite3* db_ = nullptr;
    std::chrono::milliseconds timeLimit_;
    std::chrono::steady_clock::time_point deadline_;
    std::atomic<bool> abandoned_{false};
};

// A prepared statement; bind indexes count from 1, columns from 0.
class TStatement
{
public:
    TStatement(TSqlite& db, const char* sql);
    ~TStatement();
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    TStatement& Bind(int index, std::int64_t value);
    TStatement& Bind(int index, std::string_view text);
    // True while there is a row to read.
    bool Step();
    // Steps a statement that returns no rows, then makes it ready again.
    void Run();
    void Reset();

    std::int64_t Int(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;

private:
    TSqlite& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Runs a group of statements as one transaction: committed by Commit,
// rolled back when left without it.
class TTransaction
{
public:
    explicit TTransaction(TSqlite& db);
    ~TTransaction();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;
    void Commit();

private:
    TSqlite& db_;
    bool done_ = false;
};
