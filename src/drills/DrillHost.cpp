// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/DrillHost.h"

#include "drills/LineEngine.h"
#include "drills/stopw.h"

namespace {

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string FirstCharacters(std::string_view utf8, std::size_t count)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (!IsContinuationByte(utf8[i]) && characters++ == count)
            return std::string(utf8.substr(0, i));
    }
    return std::string(utf8);
}

std::string InputBoxAnswer(const std::optional<std::string>& typed, std::string_view defaultText)
{
    if (!typed)
        return std::string(defaultText);
    return FirstCharacters(*typed, InputBoxMaxLength);
}

void StartLine(TLineEngine& engine, stopwatch& watch, TDrillHost& host, const std::string& sample,
               int wordCount)
{
    host.SetSample(sample);
    engine.SampleLength = static_cast<int>(sample.size());
    engine.Position = 1;
    watch.SetElapsed(0);
    engine.WordCount = wordCount;
    host.HideTimingMark();
    engine.Timing = false;
    engine.EndOfLine = false;
    if (!sample.empty())
        host.ShowFirstKey(static_cast<unsigned char>(sample.front()));
    engine.Passed = true;
    host.ResetDisplay();
}
