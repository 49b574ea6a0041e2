// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Sqlite.h"

#include "base/Errors.h"
#include "base/Translate.h"

#include <sqlite3.h>
#include <utility>

TSqlite::TSqlite(std::string path, bool create) : path_(std::move(path))
{
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        const std::string detail = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        Fail(detail);
    }
    sqlite3_extended_result_codes(db_, 1);
}

TSqlite::~TSqlite()
{
    sqlite3_close(db_);
}

void TSqlite::Fail() const
{
    Fail(sqlite3_errmsg(db_));
}

void TSqlite::Fail(const std::string& detail) const
{
    throw TError(
        Format(_("The typing history %s cannot be used: %s."), path_.c_str(), detail.c_str()));
}

void TSqlite::Exec(const char* sql)
{
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail();
}

TStatement::TStatement(TSqlite& db, const char* sql) : db_(db)
{
    if (sqlite3_prepare_v3(db.Handle(), sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) !=
        SQLITE_OK)
        db.Fail();
}

TStatement::~TStatement()
{
    sqlite3_finalize(stmt_);
}

TStatement& TStatement::Bind(int index, std::int64_t value)
{
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK)
        db_.Fail();
    return *this;
}

TStatement& TStatement::Bind(int index, std::string_view text)
{
    if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        db_.Fail();
    return *this;
}

bool TStatement::Step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // Ready for its next use; the message told is this step's.
    const std::string detail = sqlite3_errmsg(db_.Handle());
    sqlite3_reset(stmt_);
    db_.Fail(detail);
}

void TStatement::Run()
{
    while (Step()) {
    }
    Reset();
}

void TStatement::Reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::int64_t TStatement::Int(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

double TStatement::Real(int column) const
{
    return sqlite3_column_double(stmt_, column);
}

std::string TStatement::Text(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text != nullptr
               ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
               : std::string();
}

TTransaction::TTransaction(TSqlite& db) : db_(db)
{
    // Taking the write lock at once makes a busy database wait here, not midway.
    db_.Exec("BEGIN IMMEDIATE");
}

TTransaction::~TTransaction()
{
    if (!done_)
        sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void TTransaction::Commit()
{
    db_.Exec("COMMIT");
    done_ = true;
}
