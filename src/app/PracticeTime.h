// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

class TProfile;

// A duration in milliseconds as whole hours (not limited to 24), minutes and
// seconds; the milliseconds left over are dropped.
struct THoursMinutesSeconds
{
    int Hours = 0;
    int Minutes = 0;
    int Seconds = 0;

    bool operator==(const THoursMinutesSeconds&) const = default;
};
THoursMinutesSeconds SplitDuration(std::int32_t ms);

// The practice time of one run, from logon until the main window closes:
// the sum of every drill's practice time (games do not count).
class TRunPracticeTime
{
public:
    std::int32_t Ms() const { return ms_; }
    // Adds a drill's time, stopping at the limit of 32 bits instead of
    // wrapping round.
    void Add(std::int32_t ms);

    // Adds the run's time to the profile's TimeTotal. However often the
    // close is tried (a failed save abandons it), the run counts only once.
    void AddToTotal(TProfile& profile);

    // "%s: The practice time is ..., total practice time is ...", translated,
    // for a user name already in UTF-8.
    std::string Report(const std::string& userName, std::int32_t total) const;

private:
    std::int32_t ms_ = 0;
    bool addedToTotal_ = false;
};
