// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

class TDrillHost;
class TLineEngine;
class stopwatch;

// Builds the next line of a weak-key drill, in the code page; empty when
// there is nothing to build one from.
using TWeakKeyLines = std::function<std::string()>;

// Lines built around the keys the user types worst: a line completed below
// 95 % comes back unchanged; after anything else (passed, Enter, Esc) the
// source builds another.
class TWeakKeyDrill
{
public:
    TWeakKeyDrill(TLineEngine& engine, stopwatch& watch, TDrillHost& host, TWeakKeyLines lines);

    // The first line. Throws TError when the source builds none, so that the
    // drill never starts without a line to give.
    void Start();
    // Run by the engine at the end of every line.
    void NextLine();

private:
    TLineEngine& engine_;
    stopwatch& watch_;
    TDrillHost& host_;
    TWeakKeyLines lines_;
};
