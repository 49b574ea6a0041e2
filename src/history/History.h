// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/HistoryRecords.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class THistoryStore;

// One user's history for one run. Records are written by a thread of its
// own, one transaction each, so the disk's syncs (slow on a network folder)
// never hold up the drills. A history that cannot be opened or written is
// told once, by OnFailure, and from then on the run records nothing;
// practice goes on.
//
// The window waits for the writing thread only for a while: a file system
// that stops answering holds that thread, never the window.
class THistory
{
public:
    // Called at most once, on the thread that found the failure (the
    // writing thread for a failed write); never once the history is
    // destroyed. It must return at once.
    using TFailure = std::function<void(const std::string& message)>;

    // How long the statistics wait for the lines still being written.
    static constexpr std::chrono::milliseconds ReadWait{2000};
    // How long the end of the run waits for them; what is left then is
    // dropped.
    static constexpr std::chrono::milliseconds ExitWait{5000};

    // dataDir ends with a separator; the store is opened on first need.
    THistory(std::string dataDir, std::string user, TFailure onFailure,
             std::chrono::milliseconds readWait = ReadWait,
             std::chrono::milliseconds exitWait = ExitWait);
    // Writes what is still waiting, for the exit wait at most; a writing
    // thread still busy then is stopped at its next step and left to end
    // alone.
    ~THistory();
    THistory(const THistory&) = delete;
    THistory& operator=(const THistory&) = delete;

    // Queued for writing; returns at once.
    void Add(TLineRecord line);
    void Add(TGameRecord game);
    // Waits until everything added has been written (or dropped after a
    // failure), for the limit at most; false when the writer is still busy.
    bool Flush(std::chrono::milliseconds limit);

    // The store for reading on the calling thread, with everything added
    // so far written; null once the history failed. Throws TError when the
    // writer has not caught up within the read wait.
    THistoryStore* Store();

private:
    class TWriter;

    void StartWriting();

    std::shared_ptr<TWriter> writer_; // shared with the writing thread
    std::thread thread_;              // started by the first record
    std::unique_ptr<THistoryStore> reader_;
    const std::chrono::milliseconds readWait_;
    const std::chrono::milliseconds exitWait_;
};
