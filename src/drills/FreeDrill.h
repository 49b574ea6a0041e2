// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/DrillHost.h"

#include <string>
#include <string_view>

class TCodePage;
class TLineEngine;
class stopwatch;

// The text the free drill offers until the user types another.
inline constexpr const char* DefaultFreeText = "qwerty";

// The practice line made of a text (8-bit): its first 40 characters, with a
// space appended when shorter, repeated 80 div (length + 1) times, without
// the appended space at the very end. "qwerty" gives 10 copies, 69
// characters; a text of 40 characters or more gives its first 40.
std::string MakeFreeLine(std::string_view text);

// A line of the user's own, repeated until Insert asks for another.
class TFreeDrill
{
public:
    TFreeDrill(TLineEngine& engine, stopwatch& watch, TDrillHost& host, const TCodePage& codePage);

    // The free drill's key filter (InputEditKeyDown); true when the key is
    // discarded. Insert asks for a new text at once and is not discarded.
    bool KeyDown(TDrillKey key);
    // Asks for a text while no line is defined, then starts the line again.
    void NextLine();

    bool LineDefined = false;

private:
    TLineEngine& engine_;
    stopwatch& watch_;
    TDrillHost& host_;
    const TCodePage& codePage_;
};
