// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/History.h"

#include "base/Errors.h"
#include "base/Translate.h"
#include "history/HistoryStore.h"

#include <utility>

THistory::THistory(std::string dataDir, std::string user, TFailure onFailure)
    : dataDir_(std::move(dataDir)), user_(std::move(user)), onFailure_(std::move(onFailure))
{}

THistory::~THistory()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

void THistory::Add(TLineRecord line)
{
    Queue(std::move(line));
}

void THistory::Add(TGameRecord game)
{
    Queue(std::move(game));
}

void THistory::Queue(TRecord record)
{
    if (failed_)
        return;
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(record));
        if (!thread_.joinable())
            thread_ = std::thread([this] { WriteAll(); });
    }
    wake_.notify_one();
}

void THistory::Flush()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void THistory::WriteAll()
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
    writer_.reset();
}

void THistory::Write(const TRecord& record)
{
    if (failed_)
        return;
    try {
        if (writer_ == nullptr)
            writer_ = OpenHistory(dataDir_);
        std::visit([this](const auto& r) { writer_->Record(user_, r); }, record);
    } catch (const TError& error) {
        writer_.reset();
        Fail(error.what());
    }
}

THistoryStore* THistory::Store()
{
    Flush();
    if (reader_ == nullptr && !failed_) {
        try {
            reader_ = OpenHistory(dataDir_);
        } catch (const TError& error) {
            Fail(error.what());
        }
    }
    return failed_ ? nullptr : reader_.get();
}

void THistory::Fail(const std::string& reason)
{
    if (failed_.exchange(true))
        return;
    if (onFailure_)
        onFailure_(reason + "\n" + _("Practice goes on, but this run is not kept in the history."));
}
