// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/DrillLines.h"

#include <cstddef>
#include <functional>

// A uniformly distributed index from 0 to count − 1 (count > 0).
using TRandomIndex = std::function<std::size_t(std::size_t count)>;

// A pseudo-random source seeded from the clock.
TRandomIndex ClockSeededIndex();

// Sentences of the course in random order: a sentence completed below 95 %
// comes back unchanged; after anything else (passed, Enter, Esc, the first
// line) another is drawn, with replacement.
class TSentenceDrill : public TLineListDrill
{
public:
    TSentenceDrill(TLineEngine& engine, stopwatch& watch, TDrillHost& host,
                   TRandomIndex random = ClockSeededIndex());

    void NextLine() override;

private:
    TRandomIndex random_;
};
