// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/HistoryRecords.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <variant>

class THistoryStore;

// One user's history for one run. Records are written by a thread of its
// own, one transaction each, so the disk's syncs (slow on a network folder)
// never hold up the drills. A history that cannot be opened or written is
// told once, by OnFailure, and from then on the run records nothing;
// practice goes on.
class THistory
{
public:
    // Called once, on the writing thread for a failed write.
    using TFailure = std::function<void(const std::string& message)>;

    // dataDir ends with a separator; the store is opened on first need.
    THistory(std::string dataDir, std::string user, TFailure onFailure);
    // Writes what is still waiting.
    ~THistory();
    THistory(const THistory&) = delete;
    THistory& operator=(const THistory&) = delete;

    // Queued for writing; returns at once.
    void Add(TLineRecord line);
    void Add(TGameRecord game);
    // Waits until everything added has been written (or dropped after a failure).
    void Flush();

    // The store for reading on the calling thread, with everything added
    // so far written; null once the history failed.
    THistoryStore* Store();

private:
    using TRecord = std::variant<TLineRecord, TGameRecord>;

    void Queue(TRecord record);
    void WriteAll();
    void Write(const TRecord& record);
    void Fail(const std::string& reason);

    const std::string dataDir_;
    const std::string user_;
    const TFailure onFailure_;
    std::atomic<bool> failed_{false};
    std::unique_ptr<THistoryStore> reader_;
    std::unique_ptr<THistoryStore> writer_; // the writing thread's own

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<TRecord> queue_;
    bool busy_ = false;
    bool stop_ = false;
    std::thread thread_; // started by the first record
};
