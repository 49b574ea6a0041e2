// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CodePage.h"
#include "base/Errors.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage, MapsBytesBothWays)
{
    struct Case
    {
        int codePage;
        unsigned char byte;
        std::optional<char32_t> ch;
    };
    const std::vector<Case> cases = {
        {1252, 0x41, U'A'},      {1252, 0x00, U'\0'},        {1252, 0x80, U'\u20AC'},
        {1252, 0xE4, U'\u00E4'}, {1252, 0x81, std::nullopt}, {1250, 0xA3, U'\u0141'},
        {1250, 0xE4, U'\u00E4'}, {1251, 0xC0, U'\u0410'},
    };
    for (const Case& c : cases) {
        const TCodePage codePage(c.codePage);
        EXPECT_EQ(codePage.ToUnicode(c.byte), c.ch) << c.codePage << ' ' << int(c.byte);
        if (c.ch) {
            EXPECT_EQ(codePage.FromUnicode(*c.ch), c.byte) << c.codePage << ' ' << int(c.byte);
        }
    }
    EXPECT_EQ(TCodePage(1252).FromUnicode(U'\u0141'), std::nullopt);
    EXPECT_EQ(TCodePage(1252).FromUnicode(0x110000), std::nullopt);
}

TEST(CodePage, UnknownNumberThrows)
{
    for (const int number : {99999, -1}) {
        try {
            TCodePage codePage(number);
            FAIL() << number;
        } catch (const TError& e) {
            EXPECT_EQ(std::string(e.what()), "Unknown code page " + std::to_string(number));
        }
    }
}

TEST(CodePage, ConvertsStrings)
{
    const TCodePage cp1252(1252);
    EXPECT_EQ(cp1252.ToUtf8("A\x80\xE4\x81"), "A\u20AC\u00E4\uFFFD");
    EXPECT_EQ(cp1252.FromUtf8("A\u20AC\u00E4\u0141\U0001F600"), "A\x80\xE4??");
    EXPECT_EQ(TCodePage(1250).FromUtf8("\u0141\u00F3d\u017A"), "\xA3\xF3\x64\x9F");

    std::string defined;
    for (int byte = 1; byte < 256; ++byte)
        if (cp1252.ToUnicode(static_cast<unsigned char>(byte)))
            defined += static_cast<char>(byte);
    EXPECT_EQ(cp1252.FromUtf8(cp1252.ToUtf8(defined)), defined);
}

// Each malformed sequence becomes '?' and the character after it survives.
TEST(CodePage, MalformedUtf8BecomesQuestionMarks)
{
    struct Case
    {
        const char* utf8;
        const char* bytes;
    };
    const std::vector<Case> cases = {
        {"\xFF"
         "A",
         "?A"}, // never a lead byte
        {"\xE2\x82"
         "A",
         "?A"},                       // truncated
        {"\xE2\x82", "?"},            // truncated at the end
        {"\x80\xBF", "??"},           // stray continuations
        {"\xC0\xAF", "??"},           // overlong
        {"\xE0\x80\xAF", "???"},      // overlong
        {"\xED\xA0\x80", "???"},      // surrogate
        {"\xF4\x90\x80\x80", "????"}, // beyond U+10FFFF
        {"\xC3"
         "\xC3\xA4",
         "?\xE4"}, // lead byte followed by a new character
    };
    const TCodePage cp1252(1252);
    for (const Case& c : cases)
        EXPECT_EQ(cp1252.FromUtf8(c.utf8), c.bytes) << c.utf8;
}

} // namespace
