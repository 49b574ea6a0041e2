// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/HistoryFigures.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

// A history that answers what a test put into it, for one user, and notes
// what it was asked.
class TFakeHistory final : public THistoryQueries
{
public:
    std::string User;
    // Days of each activity; Days(…, 0) answers AllDays.
    std::vector<std::pair<int, std::vector<TDayFigures>>> ActivityDays;
    std::vector<TDayFigures> AllDays;
    std::vector<TKeyFigures> KeyFigures;
    std::vector<TConfusion> ConfusionFigures;
    std::vector<TPairTime> PairFigures;
    std::vector<TWordMiss> WordFigures;
    std::vector<TUserSummary> Summaries;
    std::string Csv;

    mutable std::vector<std::string> AskedUsers;
    mutable std::vector<int> AskedActivities;

    std::vector<TDayFigures> Days(const std::string& user, int activity) const override
    {
        AskedUsers.push_back(user);
        AskedActivities.push_back(activity);
        if (user != User)
            return {};
        if (activity == 0)
            return AllDays;
        for (const auto& [id, days] : ActivityDays)
            if (id == activity)
                return days;
        return {};
    }
    std::vector<TKeyFigures> Keys(const std::string& user) const override
    {
        return Mine(user, KeyFigures, KeyFigures.size());
    }
    std::vector<TConfusion> Confusions(const std::string& user, int limit) const override
    {
        return Mine(user, ConfusionFigures, std::size_t(limit));
    }
    std::vector<TPairTime> SlowPairs(const std::string& user, int minCount,
                                     int limit) const override
    {
        std::vector<TPairTime> pairs = Mine(user, PairFigures, PairFigures.size());
        std::erase_if(pairs, [minCount](const TPairTime& pair) { return pair.Count < minCount; });
        pairs.resize(std::min(pairs.size(), std::size_t(limit)));
        return pairs;
    }
    std::vector<TWordMiss> MissedWords(const std::string& user, int limit) const override
    {
        return Mine(user, WordFigures, std::size_t(limit));
    }
    std::vector<TUserSummary> Users() const override { return Summaries; }
    std::string ExportCsv(const std::string& user) const override
    {
        return user == User ? Csv : std::string();
    }

private:
    template <class T>
    std::vector<T> Mine(const std::string& user, const std::vector<T>& all, std::size_t limit) const
    {
        AskedUsers.push_back(user);
        if (user != User)
            return {};
        return std::vector<T>(all.begin(),
                              all.begin() + std::ptrdiff_t(std::min(limit, all.size())));
    }
};
