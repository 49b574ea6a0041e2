// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The program reads its files whole: settings and profiles, course and
// sentence files, paragraph texts, word lists. None of them is anywhere near
// this large; a bigger file is refused rather than read into memory.
constexpr std::size_t LargestFile = 64u << 20;

// All bytes of the file at path. Throws TError "Cannot open file ..." with the
// system's reason when it cannot be opened or read, and a TError of its own
// when it holds more than limit bytes.
std::string ReadWholeFile(const std::string& path, std::size_t limit = LargestFile);

// The same, but nullopt when there is no such file (or a part of its folder
// path is missing).
std::optional<std::string> ReadFileIfExists(const std::string& path,
                                            std::size_t limit = LargestFile);
