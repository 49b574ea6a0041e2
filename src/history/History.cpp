#include "history/History.h"

#include "base/Errors.h"
#include "base/Translate.h"
#include "history/HistoryStore.h"

#include <utility>

THistory::THistory(std::string dataDir, std::string user, TFailure onFailure)
    : dataDir_(std::move(dataDir)), user_(std::move(user)), onFailure_(std::move(onFailure))
{}

THistory::~THistory() = default;

THistoryStore* THistory::Store()
{
    if (store_ == nullptr && !failed_) {
        try {
            store_ = OpenHistory(dataDir_);
        } catch (const TError& error) {
            Fail(error.what());
        }
    }
    return store_.get();
}

void THistory::Fail(const std::string& reason)
{
    failed_ = true;
    store_.reset();
    if (onFailure_)
        onFailure_(reason + "\n" + _("Practice goes on, but this run is not kept in the history."));
}

template <class Record> void THistory::AddRecord(const Record& record)
{
    THistoryStore* store = Store();
    if (store == nullptr)
        return;
    try {
        store->Record(user_, record);
    } catch (const TError& error) {
        Fail(error.what());
    }
}

void THistory::Add(const TLineRecord& line)
{
    AddRecord(line);
}

void THistory::Add(const TGameRecord& game)
{
    AddRecord(game);
}
