#pragma once

#include "history/HistoryRecords.h"

#include <functional>
#include <memory>
#include <string>

class THistoryStore;

// One user's history for one run: the store of the data folder, opened when
// first needed. A history that cannot be opened or written is told once, by
// OnFailure, and from then on the run records nothing; practice goes on.
class THistory
{
public:
    using TFailure = std::function<void(const std::string& message)>;

    // dataDir ends with a separator; the store is opened on first need.
    THistory(std::string dataDir, std::string user, TFailure onFailure);
    ~THistory();

    void Add(const TLineRecord& line);
    void Add(const TGameRecord& game);

    // The store, opened now if it is not yet; null once the history failed.
    THistoryStore* Store();

private:
    template <class Record> void AddRecord(const Record& record);
    void Fail(const std::string& reason);

    std::string dataDir_;
    std::string user_;
    TFailure onFailure_;
    std::unique_ptr<THistoryStore> store_;
    bool failed_ = false;
};
