// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// The user's own data folder, made from the shipped data on first use and
// brought up to date at every start without touching what the user made
// their own.

// $XDG_DATA_HOME/tapwren/, or $HOME/.local/share/tapwren/ where XDG_DATA_HOME
// is unset, empty or not an absolute path (the base directory specification
// ignores it then). Throws TError when HOME is not an absolute path either.
std::string UserDataFolder(const char* xdgDataHome, const char* home);

// Seeds target from the shipped data in shipped and brings the shipped course
// files there up to date:
// - settings and profiles (tw.ini, twc.ini, twgame.ini) already there are
//   never overwritten;
// - a course file is replaced by its new shipped version only while the
//   user's copy is the one shipped last; a copy the user changed is kept;
// - course folders the user added are left alone.
// Every file is copied to a temporary file beside its place and renamed over
// it, so a running Tapwren never reads half a file. What was shipped is kept
// in target/.shipped: one line "<sha256> <path>" per file, and
// "kept <sha256> <path>" for a shipped version the user's copy held out
// against. Returns one notice per changed file kept for the first time.
// Throws TError when a folder or file cannot be made or read.
std::vector<std::string> PrepareDataFolder(const std::string& shipped, const std::string& target);
