// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/History.h"

#include "base/Errors.h"
#include "base/Translate.h"
#include "history/HistoryStore.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>
#include <variant>

// What the writing thread works on. The thread holds it too, so a thread
// left behind at the end of the run still finds it. mutex_ is never held
// while the file is used, so waiting for it is as short as the waits say.
class THistory::TWriter
{
public:
    using TRecord = std::variant<TLineRecord, TGameRecord>;

    TWriter(std::string dataDir, std::string user, TFailure onFailure)
        : dataDir_(std::move(dataDir)), user_(std::move(user)), onFailure_(std::move(onFailure))
    {}

    const std::string& DataDir() const { return dataDir_; }
    bool Failed() const { return failed_; }

    void Queue(TRecord record)
    {
        if (failed_)
            return;
        {
            const std::lock_guard lock(mutex_);
            queue_.push_back(std::move(record));
        }
        wake_.notify_one();
    }

    bool WaitIdle(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(mutex_);
        return idle_.wait_for(lock, limit, [this] { return queue_.empty() && !busy_; });
    }

    // No more records: the thread ends once the queue is written.
    void Stop()
    {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
    }

    bool WaitEnded(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(mutex_);
        return idle_.wait_for(lock, limit, [this] { return ended_; });
    }

    // What still waits is dropped, the record being written stops at its
    // next step, and nobody is told anything any more.
    void Abandon()
    {
        {
            const std::lock_guard lock(mutex_);
            abandoned_ = true;
            queue_.clear();
            if (store_ != nullptr)
                store_->Abandon();
        }
        const std::lock_guard tell(tellMutex_);
        silent_ = true;
    }

    // The writing thread.
    void Run()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
            if (queue_.empty())
                break;
            const TRecord record = std::move(queue_.front());
            queue_.pop_front();
            busy_ = true;
            lock.unlock();
            Write(record);
            lock.lock();
            busy_ = false;
            if (queue_.empty())
                idle_.notify_all();
        }
        std::unique_ptr<THistoryStore> store = std::move(store_);
        lock.unlock();
        store.reset();
        lock.lock();
        ended_ = true;
        idle_.notify_all();
    }

    void Fail(const std::string& reason)
    {
        if (failed_.exchange(true))
            return;
        const std::lock_guard tell(tellMutex_);
        if (!silent_ && onFailure_)
            onFailure_(reason + "\n" +
                       _("Practice goes on, but this run is not kept in the history."));
    }

private:
    void Write(const TRecord& record)
    {
        if (failed_)
            return;
        try {
            // Only this thread sets the store; the lock is for Abandon.
            if (store_ == nullptr) {
                std::unique_ptr<THistoryStore> store = OpenHistory(dataDir_);
                const std::lock_guard lock(mutex_);
                if (abandoned_)
                    store->Abandon();
                store_ = std::move(store);
            }
            std::visit([this](const auto& r) { store_->Record(user_, r); }, record);
        } catch (const TError& error) {
            std::unique_ptr<THistoryStore> store;
            {
                const std::lock_guard lock(mutex_);
                store = std::move(store_);
            }
            store.reset();
            Fail(error.what());
        }
    }

    const std::string dataDir_;
    const std::string user_;
    const TFailure onFailure_;
    std::atomic<bool> failed_{false};

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<TRecord> queue_;
    std::unique_ptr<THistoryStore> store_;
    bool busy_ = false;
    bool stop_ = false;
    bool ended_ = false;
    bool abandoned_ = false;

    std::mutex tellMutex_; // held while onFailure runs
    bool silent_ = false;
};

THistory::THistory(std::string dataDir, std::string user, TFailure onFailure,
                   std::chrono::milliseconds readWait, std::chrono::milliseconds exitWait)
    : writer_(std::make_shared<TWriter>(std::move(dataDir), std::move(user), std::move(onFailure))),
      readWait_(readWait), exitWait_(exitWait)
{}

THistory::~THistory()
{
    reader_.reset();
    if (!thread_.joinable())
        return;
    writer_->Stop();
    if (writer_->WaitEnded(exitWait_)) {
        thread_.join();
        return;
    }
    writer_->Abandon();
    thread_.detach();
}

void THistory::Add(TLineRecord line)
{
    writer_->Queue(std::move(line));
    StartWriting();
}

void THistory::Add(TGameRecord game)
{
    writer_->Queue(std::move(game));
    StartWriting();
}

void THistory::StartWriting()
{
    if (!thread_.joinable())
        thread_ = std::thread([writer = writer_] { writer->Run(); });
}

bool THistory::Flush(std::chrono::milliseconds limit)
{
    return writer_->WaitIdle(limit);
}

THistoryStore* THistory::Store()
{
    if (!Flush(readWait_))
        throw TError(_("The typing history is still being written. Please try again in a moment."));
    if (reader_ == nullptr && !writer_->Failed()) {
        try {
            reader_ = OpenHistory(writer_->DataDir());
        } catch (const TError& error) {
            writer_->Fail(error.what());
        }
    }
    return writer_->Failed() ? nullptr : reader_.get();
}
