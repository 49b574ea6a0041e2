// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// One connection to an SQLite database file. Every failure throws TError
// naming the file and what SQLite said.
class TSqlite
{
public:
    // Opens the file, creating it when create is true.
    TSqlite(std::string path, bool create);
    ~TSqlite();
    TSqlite(const TSqlite&) = delete;
    TSqlite& operator=(const TSqlite&) = delete;

    // Runs statements that return no rows.
    void Exec(const char* sql);
    const std::string& Path() const { return path_; }
    sqlite3* Handle() const { return db_; }
    // Throws the TError of the last failure, or of the one described.
    [[noreturn]] void Fail() const;
    [[noreturn]] void Fail(const std::string& detail) const;

private:
    std::string path_;
    sqlite3* db_ = nullptr;
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
