// SPDX-License-Identifier: GPL-3.0-or-later
#include "DrillFiles.h"
#include "base/Errors.h"
#include "drills/CourseFile.h"
#include "base/WholeFile.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

TEST(CourseFile, SplitsLinesAtEveryKindOfLineEnd)
{
    const struct
    {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"one\r\ntwo\r\nthree", {"one", "two", "three"}},
        {"one\ntwo\nthree", {"one", "two", "three"}},
        {"one\rtwo\rthree", {"one", "two", "three"}},
        {"one\r\ntwo\nthree\r", {"one", "two", "three"}}, // mixed; a last line end adds no line
        {"one\n\n\nfour\n", {"one", "", "", "four"}},     // empty lines are lessons
        {"\r\n", {""}},
        {"\n\r", {"", ""}}, // LF then CR: two line ends, not one
        {"", {}},
        {std::string("one\ntwo\0three\nfour", 18), {"one", "two"}}, // NUL ends the text
        {std::string("\0one", 4), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(SplitCourseLines(c.bytes), c.lines);
    }
}

TEST(CourseFile, TrimsCodesUpTo32WhenALineIsUsed)
{
    const struct
    {
        std::string line, sample;
    } cases[] = {
        {"  fjfj  jfjf \t", "fjfj  jfjf"},
        {"\x01\x1f x \x7f", "x \x7f"}, // DEL (127) is no blank
        {" \t  ", ""},
        {"\xE4 \xFC", "\xE4 \xFC"}, // 8-bit letters at either end stay
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrimLine(c.line), c.sample) << testing::PrintToString(c.line);
}

TEST(CourseFile, CountsWordsAsRunsBetweenSpaces)
{
    const struct
    {
        std::string text;
        int words;
    } cases[] = {
        {"Hello,  world", 2}, {"a\tb c", 2}, {"", 0}, {"   ", 0}, {" x ", 1}, {"3.14 and/or", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CountSpaceWords(c.text), c.words) << c.text;
}

class CourseFileOnDisk : public DrillFiles
{};

TEST_F(CourseFileOnDisk, ReadsTheWholeFile)
{
    const std::string big(100000, 'x');
    EXPECT_EQ(ReadCourseFile(Write("course.txt", "ab\r\n" + big + "\ncd")),
              (Lines{"ab", big, "cd"}));
}

TEST_F(CourseFileOnDisk, FileThatCannotBeOpenedNamesItselfAndTheReason)
{
    const std::string path = Path("missing.txt");
    try {
        ReadCourseFile(path);
        FAIL() << "no error";
    } catch (const TError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + path + "\". No such file or directory");
    }
    EXPECT_THROW(ReadCourseFile(Path("")), TError); // the folder itself
}

TEST_F(CourseFileOnDisk, FileBeyondTheLimitIsRefused)
{
    const std::string path = Write("big.txt", std::string(5000, 'x'));
    EXPECT_EQ(ReadWholeFile(path, 5000).size(), 5000u);
    EXPECT_THROW(ReadWholeFile(path, 4999), TError);
}

} // namespace
