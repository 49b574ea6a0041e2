// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class TDrillHost;
class TLineEngine;
class stopwatch;

// The list of lines read from a course or sentence file, shared by the
// sentence drill and the course drill, which choose from it in NextLine.
class TLineListDrill
{
public:
    TLineListDrill(TLineEngine& engine, stopwatch& watch, TDrillHost& host);
    TLineListDrill(const TLineListDrill&) = delete;
    TLineListDrill& operator=(const TLineListDrill&) = delete;
    virtual ~TLineListDrill() = default;

    // FileName := path; Lines emptied.
    void SetFileName(std::string path);
    // Lines := the lines of the file at FileName, then NextLine. Throws
    // TError when the file cannot be read or has no lines, so that a drill
    // never starts without a line to give.
    void LoadFile();

    // Prepares the next line; run by the engine at the end of every line.
    virtual void NextLine() = 0;

    std::vector<std::string> Lines;
    std::string FileName;

protected:
    // Throws the TError of a file without lines when Lines is empty.
    void RequireLines() const;

    TLineEngine& engine_;
    stopwatch& watch_;
    TDrillHost& host_;
};
