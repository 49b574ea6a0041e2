// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Course and sentence files: 8-bit text, one lesson or sentence a line.
// Lines end with CR LF, LF or CR; a NUL ends the text. A last line without a
// line end counts; a line end at the very end starts no other line. Empty
// lines are lines too.
std::vector<std::string> SplitCourseLines(std::string_view bytes);

// The file's lines; throws TError when it cannot be opened or read.
std::vector<std::string> ReadCourseFile(const std::string& path);

// A line as it is used: without its leading and trailing characters of
// codes up to 32 (spaces, tabs, other control characters).
std::string TrimLine(std::string_view line);

// The words of a text: maximal runs of characters that are none of the
// separators.
int CountWords(std::string_view text, std::string_view separators);

// The words of a line sample: maximal runs of characters other than the
// space (a tab is a word character).
int CountSpaceWords(std::string_view text);
