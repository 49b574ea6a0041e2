#pragma once

#include <cstddef>
#include <string>

// The drills read their files whole: course and sentence files, paragraph texts.
constexpr std::size_t LargestDrillFile = 64u << 20;

// All bytes of the file at path. Throws TError "Cannot open file ..." with the
// system's reason when it cannot be opened or read, and a TError of its own
// when it holds more than limit bytes, which no drill could use.
std::string ReadWholeFile(const std::string& path, std::size_t limit = LargestDrillFile);
