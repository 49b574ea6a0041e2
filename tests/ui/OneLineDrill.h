// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/stopw.h"
#include "drills/ui/line.h"

#include <string>

// A drill that repeats one line, as the simplest drill does: every line end
// starts the same sample again, with its first key shown.
class TFmOneLine : public TFmLinePractice
{
public:
    TFmOneLine(const TCodePage& codePage, std::string line)
        : TFmLinePractice(codePage), line_(std::move(line))
    {
    }

    void NextLine() override
    {
        ++nextLines;
        SetSample(line_);
        Engine.SampleLength = static_cast<int>(line_.size());
        Engine.WordCount = 1;
        Engine.Position = 1;
        DrillStopwatch().SetElapsed(0);
        ShowNextKey(Engine.At(1));
        Engine.Passed = true;
        ResetDisplay();
    }

    void Start() { NextLine(); }
    int nextLines = 0;

private:
    std::string line_;
};
