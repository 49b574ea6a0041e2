// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/FreeDrill.h"

#include "base/Translate.h"
#include "drills/CourseFile.h"
#include "drills/LineEngine.h"
#include "drills/TextImport.h"
#include "drills/stopw.h"

namespace {

constexpr std::size_t LongestFreeText = 40;
constexpr std::size_t FreeLineLength = 80;

} // namespace

std::string MakeFreeLine(std::string_view text)
{
    std::string unit(text.substr(0, LongestFreeText));
    const bool spaced = unit.size() < LongestFreeText;
    if (spaced)
        unit += ' ';
    const std::size_t copies = FreeLineLength / (unit.size() + 1);
    std::string line;
    line.reserve(copies * unit.size());
    for (std::size_t i = 0; i < copies; ++i)
        line += unit;
    if (spaced && !line.empty())
        line.pop_back();
    return line;
}

TFreeDrill::TFreeDrill(TLineEngine& engine, stopwatch& watch, TDrillHost& host,
                       const TCodePage& codePage)
    : engine_(engine), watch_(watch), host_(host), codePage_(codePage)
{}

bool TFreeDrill::KeyDown(TDrillKey key)
{
    switch (key) {
    case TDrillKey::End:
    case TDrillKey::Home:
    case TDrillKey::Left:
    case TDrillKey::Up:
    case TDrillKey::Right:
    case TDrillKey::Down:
    case TDrillKey::Delete:
        return true;
    case TDrillKey::Insert:
        LineDefined = false;
        NextLine();
        return false;
    default:
        return false;
    }
}

void TFreeDrill::NextLine()
{
    if (!LineDefined) {
        const std::string answer = InputBoxAnswer(
            host_.InputBox(_("Input Box"), _("Please input what to practise:"), DefaultFreeText),
            DefaultFreeText);
        // Text that leaves nothing in the code page counts as no answer.
        const std::string text = TextToCodePageLine(answer, codePage_);
        if (!text.empty()) {
            const std::string line = MakeFreeLine(text);
            host_.SetSample(line);
            engine_.SampleLength = static_cast<int>(line.size());
            engine_.WordCount = CountSpaceWords(line);
            LineDefined = true;
        }
    }
    const std::string& sample = engine_.Sample();
    if (!sample.empty()) {
        engine_.Position = 1;
        watch_.SetElapsed(0);
        // The mark shows a timed line; this one starts untimed, also when an
        // empty answer restarts the old line in its middle.
        host_.HideTimingMark();
        engine_.Timing = false;
        engine_.EndOfLine = false;
        host_.ShowFirstKey(static_cast<unsigned char>(sample.front()));
    }
    host_.ResetDisplay();
}
