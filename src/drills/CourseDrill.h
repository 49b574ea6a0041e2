// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/DrillHost.h"
#include "drills/DrillLines.h"

#include <string>

// What the course drill asks of its window besides TDrillHost.
class TCourseHost : public TDrillHost
{
public:
    // Label1: the lesson number and the number of lessons, e.g. "3 / 120".
    virtual void ShowLessonPosition(const std::string& text) = 0;
};

// What the next NextLine of the course drill does first.
enum class TCourseCommand
{
    Previous = 1,
    Next = 2,
    GoTo = 3,
    Discarded = 9, // a key the filter discarded
    Other = 10,
};

// The lessons of a course, one line each, in order. A lesson completed with
// 95 % or more, or ended early with Enter, leads to the next; one completed
// below 95 % is repeated; Esc moves nowhere. The arrow keys step back and
// forth, Insert asks for a lesson number.
class TCourseDrill : public TLineListDrill
{
public:
    TCourseDrill(TLineEngine& engine, stopwatch& watch, TCourseHost& host);

    // The course's key filter (InputEditKeyDown), for every key that goes
    // down; true when the key is discarded. The navigation keys prepare
    // their lesson at once.
    bool KeyDown(TDrillKey key);
    void NextLine() override;

    // The lesson to start at, e.g. the profile's Progress. LoadFile brings a
    // value beyond the course's lines to its nearest lesson.
    void SetLesson(int lesson) { Lesson = lesson; }
    // "3 / 120" for Lesson 2 of 120.
    std::string LessonPosition() const;

    int Lesson = 0; // 0-based index into Lines; stored as Progress
    TCourseCommand Command = TCourseCommand::Other;

private:
    void Previous();
    void Advance();
    void GoTo();

    TCourseHost& host_;
};
