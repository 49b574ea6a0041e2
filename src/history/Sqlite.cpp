// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Sqlite.h"

#include "base/Errors.h"
#include "base/Translate.h"

#include <filesystem>
#include <sqlite3.h>
#include <utility>

namespace {

// The time limit is looked at after this many of SQLite's steps: often
// enough to stop within a millisecond, seldom enough to cost nothing.
constexpr int ProgressSteps = 1000;

// A path that is there, but as something else than a regular file.
bool IsThereButNoRegularFile(const std::string& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

} // namespace

TSqlite::TSqlite(std::string path, bool create, std::chrono::milliseconds timeLimit)
    : path_(std::move(path)), timeLimit_(timeLimit)
{
    if (path_ != ":memory:")
        for (const std::string& file : {path_, path_ + "-journal"})
            if (IsThereButNoRegularFile(file))
                Fail(Format(_("%s is not a regular file"), file.c_str()));
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        const std::string detail = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        Fail(detail);
    }
    sqlite3_extended_result_codes(db_, 1);
    // Nothing stored in the file runs: no trigger, no view, no function a
    // schema names; and the schema cannot be written around SQLite's checks.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_progress_handler(db_, ProgressSteps, &TSqlite::Progress, this);
}

TSqlite::~TSqlite()
{
    sqlite3_close(db_);
}

void TSqlite::Fail() const
{
    Fail(Detail());
}

std::string TSqlite::Detail() const
{
    if (sqlite3_errcode(db_) == SQLITE_INTERRUPT)
        return Format(_("a request took longer than %g seconds"),
                      std::chrono::duration<double>(timeLimit_).count());
    return sqlite3_errmsg(db_);
}

void TSqlite::Start()
{
    if (abandoned_)
        Fail(sqlite3_errstr(SQLITE_INTERRUPT));
    deadline_ = std::chrono::steady_clock::now() + timeLimit_;
}

int TSqlite::Progress(void* self)
{
    const auto* db = static_cast<const TSqlite*>(self);
    return db->abandoned_ || std::chrono::steady_clock::now() > db->deadline_ ? 1 : 0;
}

std::vector<std::string> TSqlite::Schema()
{
    TStatement objects(*this, "SELECT type || ' ' || name || ' ' || coalesce(sql, '')"
                              " FROM sqlite_master WHERE name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"
                              " ORDER BY type, name");
    std::vector<std::string> schema;
    while (objects.Step())
        schema.push_back(objects.Text(0));
    return schema;
}

void TSqlite::RollBack()
{
    deadline_ = std::chrono::steady_clock::now() + timeLimit_;
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void TSqlite::Fail(const std::string& detail) const
{
    throw TError(
        Format(_("The typing history %s cannot be used: %s."), path_.c_str(), detail.c_str()));
}

void TSqlite::Exec(const char* sql)
{
    Start();
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
    if (sqlite3_stmt_busy(stmt_) == 0)
        db_.Start();
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // Ready for its next use; the message told is this step's.
    const std::string detail = db_.Detail();
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
        db_.RollBack();
}

void TTransaction::Commit()
{
    db_.Exec("COMMIT");
    done_ = true;
}
