// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/CourseDrill.h"

#include "base/IniFile.h"
#include "base/Translate.h"
#include "drills/CourseFile.h"
#include "drills/LineEngine.h"

#include <algorithm>
#include <cstdint>

namespace {

// Of a go-to answer, only this many characters are read.
constexpr std::size_t GoToDigits = 10;

} // namespace

TCourseDrill::TCourseDrill(TLineEngine& engine, stopwatch& watch, TCourseHost& host)
    : TLineListDrill(engine, watch, host), host_(host)
{}

bool TCourseDrill::KeyDown(TDrillKey key)
{
    switch (key) {
    case TDrillKey::End:
    case TDrillKey::Home:
    case TDrillKey::Delete:
        Command = TCourseCommand::Discarded;
        return true;
    case TDrillKey::Left:
    case TDrillKey::Up:
        Command = TCourseCommand::Previous;
        break;
    case TDrillKey::Right:
    case TDrillKey::Down:
        Command = TCourseCommand::Next;
        break;
    case TDrillKey::Insert:
        Command = TCourseCommand::GoTo;
        break;
    default:
        Command = TCourseCommand::Other;
        return false;
    }
    NextLine();
    return false;
}

std::string TCourseDrill::LessonPosition() const
{
    return std::to_string(Lesson + 1) + " / " + std::to_string(Lines.size());
}

void TCourseDrill::Previous()
{
    if (--Lesson < 0) {
        Lesson = 0;
        host_.Information(_("Beginning of the course."));
    }
}

void TCourseDrill::Advance()
{
    if (++Lesson >= static_cast<int>(Lines.size())) {
        Lesson = static_cast<int>(Lines.size()) - 1;
        host_.Information(_("End of the course."));
    }
}

void TCourseDrill::GoTo()
{
    const std::string shown = std::to_string(Lesson + 1);
    const std::string answer = InputBoxAnswer(
        host_.InputBox(_("Input Box"), _("Please input a number to goto somewhere of the course:"),
                       shown),
        shown);
    const auto n = ParseInteger(FirstCharacters(answer, GoToDigits));
    if (!n) {
        host_.Information(_("Invalid input."));
        return;
    }
    // 64 bits: n − 1 of the lowest 32-bit number does not fit 32.
    const std::int64_t index = std::int64_t{*n} - 1;
    if (index >= 0 && index < static_cast<std::int64_t>(Lines.size()))
        Lesson = static_cast<int>(index);
}

void TCourseDrill::NextLine()
{
    RequireLines();
    // A lesson stored for a longer version of the course file is brought to
    // the nearest lesson there is.
    Lesson = std::clamp(Lesson, 0, static_cast<int>(Lines.size()) - 1);

    switch (Command) {
    case TCourseCommand::Previous:
        Previous();
        break;
    case TCourseCommand::Next:
        Advance();
        break;
    case TCourseCommand::GoTo:
        GoTo();
        break;
    case TCourseCommand::Discarded:
    case TCourseCommand::Other:
        break;
    }
    // A command acts once; a later NextLine that no key caused moves nowhere.
    Command = TCourseCommand::Other;

    if (engine_.EndOfLine && engine_.LineResult != TLineResult::Cancelled && engine_.Passed)
        Advance();

    const std::string sample = TrimLine(Lines[static_cast<std::size_t>(Lesson)]);
    StartLine(engine_, watch_, host_, sample, CountSpaceWords(sample));
    host_.ShowLessonPosition(LessonPosition());
}
