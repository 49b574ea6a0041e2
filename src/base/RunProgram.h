// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// Runs a program found on PATH with these arguments (argv[0] is its name),
// never through a shell, its output discarded. Answers its exit code, or -1
// when it could not start, died of a signal or overran the timeout (it is
// then killed).
int RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout);

// The same, keeping what the program writes to its standard output: that
// output when it exits with 0 in time, nothing otherwise.
std::optional<std::string> ProgramOutput(const std::vector<std::string>& argv,
                                         std::chrono::milliseconds timeout);
