// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PracticeTime.h"

#include "base/Errors.h"
#include "base/Translate.h"
#include "profile/ProfileVar.h"

#include <algorithm>
#include <limits>

THoursMinutesSeconds SplitDuration(std::int32_t ms)
{
    return {ms / 3600000, ms / 60000 % 60, ms / 1000 % 60};
}

void TRunPracticeTime::Add(std::int32_t ms)
{
    const std::int64_t sum = std::int64_t{ms_} + ms;
    ms_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void TRunPracticeTime::AddToTotal(TProfile& profile)
{
    if (addedToTotal_)
        return;
    profile.AddPracticeTime(ms_);
    addedToTotal_ = true;
}

std::string TRunPracticeTime::Report(const std::string& userName, std::int32_t total) const
{
    const THoursMinutesSeconds run = SplitDuration(ms_);
    const THoursMinutesSeconds all = SplitDuration(total);
    return Format(_("%s: The practice time is %d h %d m %d s, total practice time is %d h %d m "
                    "%d s."),
                  userName.c_str(), run.Hours, run.Minutes, run.Seconds, all.Hours, all.Minutes,
                  all.Seconds);
}
