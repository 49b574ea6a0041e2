// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/WeakKeyDrill.h"

#include "base/Errors.h"
#include "base/Translate.h"
#include "drills/CourseFile.h"
#include "drills/DrillHost.h"
#include "drills/LineEngine.h"

#include <utility>

TWeakKeyDrill::TWeakKeyDrill(TLineEngine& engine, stopwatch& watch, TDrillHost& host,
                             TWeakKeyLines lines)
    : engine_(engine), watch_(watch), host_(host), lines_(std::move(lines))
{}

void TWeakKeyDrill::Start()
{
    const std::string sample = lines_();
    if (sample.empty())
        throw TError(_("The course has no words to practise these keys with."));
    StartLine(engine_, watch_, host_, sample, CountSpaceWords(sample));
}

void TWeakKeyDrill::NextLine()
{
    // Below 95 % the line is practised again.
    const std::string sample = engine_.Passed ? lines_() : engine_.Sample();
    StartLine(engine_, watch_, host_, sample, CountSpaceWords(sample));
}
