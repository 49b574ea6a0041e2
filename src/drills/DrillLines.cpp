// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/DrillLines.h"

#include "base/Errors.h"
#include "base/Translate.h"
#include "drills/CourseFile.h"

#include <utility>

TLineListDrill::TLineListDrill(TLineEngine& engine, stopwatch& watch, TDrillHost& host)
    : engine_(engine), watch_(watch), host_(host)
{}

void TLineListDrill::SetFileName(std::string path)
{
    FileName = std::move(path);
    Lines.clear();
}

void TLineListDrill::LoadFile()
{
    Lines = ReadCourseFile(FileName);
    RequireLines();
    NextLine();
}

void TLineListDrill::RequireLines() const
{
    if (Lines.empty())
        throw TError(Format(_("The file \"%s\" has no lines."), FileName.c_str()));
}
