// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/CourseFile.h"

#include "base/WholeFile.h"

namespace {

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

std::vector<std::string> SplitCourseLines(std::string_view bytes)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == bytes.npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        start =
            end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

std::vector<std::string> ReadCourseFile(const std::string& path)
{
    return SplitCourseLines(ReadWholeFile(path));
}

std::string TrimLine(std::string_view line)
{
    std::size_t begin = 0, end = line.size();
    while (begin < end && IsBlank(line[begin]))
        ++begin;
    while (end > begin && IsBlank(line[end - 1]))
        --end;
    return std::string(line.substr(begin, end - begin));
}

int CountWords(std::string_view text, std::string_view separators)
{
    int words = 0;
    bool inWord = false;
    for (const char c : text) {
        if (separators.find(c) != std::string_view::npos) {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            ++words;
        }
    }
    return words;
}

int CountSpaceWords(std::string_view text)
{
    return CountWords(text, " ");
}
