// SPDX-License-Identifier: GPL-3.0-or-later
#include "DrillFiles.h"
#include "TestCodePage.h"
#include "base/CodePage.h"
#include "base/Errors.h"
#include "drills/HtmlText.h"
#include "drills/RtfText.h"
#include "drills/TextImport.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

struct Case
{
    std::string input;
    std::string sample; // in code page 1252
};

TEST(RtfImport, ReadsTheTextOfRtf)
{
    const Case cases[] = {
        {"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
         "{\\colortbl ;\\red255\\green0\\blue0;}{\\*\\generator Riched20;}"
         "\\viewkind4\\pard\\f0\\fs20 Hello\\par World\\par\r\n}",
         "Hello\r\nWorld"},
        {"{\\rtf1 K\\'e4se}", "K\xE4se"},
        {"{\\rtf1 \\u8220?Hi\\u8221?}", "\"Hi\""},
        {"{\\rtf1\\uc2 \\u8220\\'93\\'93x\\uc0\\u228 y}", "\"x\xE4y"},
        {"{\\rtf1 \\u-3913?.}", "?."},          // U+F0B7, a symbol font's bullet
        {"{\\rtf1 \\u55357?\\u56832?!}", "?!"}, // one character beyond the code page
        {"{\\rtf1 a\\tab b\\line c\\~d\\-e\\_f}", "a\tb\r\nc de-f"},
        {"{\\rtf1 \\{x\\}\\\\}", "{x}\\"},
        {"{\\rtf1 a{\\v hidden}b\\v c\\v0 d}", "abd"},
        {"{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}", "link"},
        {"{\\rtf1 a\\bin3 {}}b}", "ab"},
        {"{\\rtf1 {\\pict\\wmetafile8 0a0b}{\\header head}{\\info{\\title T}}x}", "x"},
        {"{\\rtf1 \\ldblquote q\\rdblquote  \\emdash\\bullet}", "\"q\" -*"},
        {"{\\rtf1 one\\\r\ntwo}", "one\r\ntwo"}, // "\" before a line end is \par
        {"{\\rtf1 x\\par\\par\\par}", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(ImportText(c.input, TTextKind::Rtf, Cp1252()), c.sample);
    }
}

TEST(RtfImport, BytesAreReadInTheDocumentsCodePage)
{
    const std::string rtf = "{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'e1}"; // Аб
    EXPECT_EQ(RtfText(rtf, Cp1252()), U"\u0410\u0431");
    EXPECT_EQ(ImportText(rtf, TTextKind::Rtf, TCodePage(1251)), "\xC0\xE1");
    EXPECT_EQ(ImportText(rtf, TTextKind::Rtf, Cp1252()), "??");
}

TEST(RtfImport, MalformedRtfGivesWhatItCanWithoutFailing)
{
    const Case cases[] = {
        {"{\\rtf1 a}}}}b", "ab"},
        {std::string(100000, '{') + "\\rtf1 deep" + std::string(3, '}'), "deep"},
        {"{\\rtf1 x\\'e", "x"},
        {"{\\rtf1 x\\", "x"},
        {"{\\rtf1 x\\bin999999999", "x"},
        {"{\\rtf1 x\\u", "x"},
        {"{\\rtf1 \\u99999999999999999999?x}", "?x"},
        {"{\\rtf1\\ansicpg99999 \\'e4}", "\xE4"}, // unknown code page: ours
        {"{\\rtf1\\uc99999999999 \\u65 abc}d", "Ad"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.substr(0, 40));
        EXPECT_EQ(ImportText(c.input, TTextKind::Rtf, Cp1252()), c.sample);
    }
}

TEST(HtmlImport, ReadsTheTextOfHtml)
{
    const Case cases[] = {
        {"<!DOCTYPE html><html><head><title>T</title><style>p{}</style></head>"
         "<body><h1>Title</h1><p>Hello <b>bold</b>\n   world</p><p>Next</p></body></html>",
         "Title\r\nHello bold world\r\nNext"},
        {"a<br>b<br/><br>c", "a\r\nb\r\n\r\nc"},
        {"<script>if (a<b) x = '</p>';</script>z", "z"},
        {"<SCRIPT>x</Script >y", "y"},
        {"a &amp; b &lt;c&gt; &#228;&#xE4;&auml; &quot;x&quot;", "a & b <c> \xE4\xE4\xE4 \"x\""},
        {"&unknown; & &#; &amp", "&unknown; & &#; &"},
        {"x&nbsp;&nbsp;y&shy;z&#8203;w", "x  yzw"},
        {"&ldquo;q&rdquo; &#150; &hellip;", "\"q\" - ..."},
        {"<!-- <p>gone</p> -->t<!-->", "t"},
        {"<a href='x>y' title=\"a>b\">link</a>", "link"},
        {"<pre>a  b\n c</pre>d", "a  b\r\n c\r\nd"},
        {"x < y and 1<2", "x < y and 1<2"},
        {"<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>", "a b\r\nc"},
        {"<ul><li>one</li><li>two</ul>", "one\r\ntwo"},
        {"<![CDATA[a<b]]>c", "a<bc"},
        {"<p class=\"x>never closed", ""},
        {"<p>unclosed <!-- comment", "unclosed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(ImportText(c.input, TTextKind::Html, Cp1252()), c.sample);
    }
}

TEST(PlainImport, DecodesUtf8AndEightBitText)
{
    const Case cases[] = {
        {"\xEF\xBB\xBFK\xC3\xA4se", "K\xE4se"}, // UTF-8 with a byte-order mark
        {"K\xC3\xA4se", "K\xE4se"},             // UTF-8 without
        {"K\xE4se", "K\xE4se"},                 // 8-bit
        {"\xEF\xBB\xBF"
         "a\xFF"
         "b",
         "a?b"},                                                  // malformed UTF-8 after a mark
        {std::string("\xFF\xFEK\0\xE4\0\x1C\x20", 8), "K\xE4\""}, // UTF-16LE
        {std::string("\xFE\xFF\0K\xD8\x3D\xDE\x00", 8), "K?"},    // UTF-16BE, a pair
        {"\xE2\x80\x9CQuote\xE2\x80\x9D \xC5\x81\xC3\xB3\x64\xC5\xBA", "\"Quote\" L\xF3"
                                                                       "dz"},
        {"\xE2\x89\xA0 \xE2\x80\x93 \xE2\x80\x86", "!= -"}, // ≠ – six-per-em space
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.input));
        EXPECT_EQ(ImportText(c.input, TTextKind::Plain, Cp1252()), c.sample);
    }
}

TEST(PlainImport, EveryLineBreakBecomesCrLf)
{
    const Case cases[] = {
        {"a\rb\nc\r\nd", "a\r\nb\r\nc\r\nd"},
        {"a\n\nb", "a\r\n\r\nb"},
        {"a\r\rb", "a\r\n\r\nb"},
        {"a\n\rb", "a\r\n\r\nb"},
        {"\n\r\n  a  \t\r\n b \n\n", "  a\r\n b"},
        {"a\xE2\x80\xA8"
         "b\xE2\x80\xA9"
         "c\fd",
         "a\r\nb\r\nc\r\nd"},
        {"a\tb\x01\x7F"
         "c\xC2\xA0"
         "d",
         "a\tbc d"},
        {"\r\n\r\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.input));
        EXPECT_EQ(ImportText(c.input, TTextKind::Plain, Cp1252()), c.sample);
        EXPECT_EQ(PastedText(c.input, Cp1252()), c.sample);
    }
}

TEST(PlainImport, TypographicPunctuationBecomesPlainInAnyCodePage)
{
    const char* pasted = "\xE2\x80\x9Ehi\xE2\x80\x9C \xE2\x80\x99s \xE2\x80\xA6";
    EXPECT_EQ(PastedText(pasted, TCodePage(437)), "\"hi\" 's ...");
    EXPECT_EQ(PastedText(pasted, Cp1252()), "\"hi\" 's ...");
}

TEST(TextKind, IsToldByHeaderExtensionAndStart)
{
    const struct
    {
        std::string bytes, name;
        TTextKind kind;
    } cases[] = {
        {"{\\rtf1 x}", "a.txt", TTextKind::Rtf},
        {"\xEF\xBB\xBF{\\rtf1 x}", "a", TTextKind::Rtf},
        {"plain", "page.HTML", TTextKind::Html},
        {"plain", "page.htm", TTextKind::Html},
        {"\n  <!doctype HTML><p>", "page", TTextKind::Html},
        {"\xEF\xBB\xBF<html>", "page", TTextKind::Html},
        {"<p>hi</p>", "notes.txt", TTextKind::Plain},
        {"{\\rt", "a.rtf", TTextKind::Plain},
        {"", "", TTextKind::Plain},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DetectTextKind(c.bytes, c.name), c.kind) << c.bytes << " " << c.name;
}

TEST(TextToCodePageLine, KeepsBlanksAndMakesLineBreaksSpaces)
{
    EXPECT_EQ(TextToCodePageLine(" a\nb \xE2\x80\x9C ", Cp1252()), " a b \" ");
    EXPECT_EQ(TextToCodePageLine("\xE2\x80\x8B", Cp1252()), "");
}

// Random pieces of RTF, HTML and UTF-8: every reader must take any input.
TEST(TextImport, HostileInputNeverBreaksAnyReader)
{
    const std::string pieces[] = {
        "{",   "}",     "\\",      "\\'",   "\\'e4", "\\u", "\\u-", "\\uc",
        "9",   "\\bin", "\\*",     "\\par", "<",     ">",   "</",   "<!--",
        "-->", "&",     "&#",      "&#x",   ";",     "\"",  "'",    "=",
        "<p",  "<pre",  "<script", "\xC3",  "\xE4",  "\r",  "\n",   std::string(1, '\0'),
        "x",   " ",     "\xF0\x9F"};
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string input;
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i)
            input += pieces[random() % std::size(pieces)];
        for (const TTextKind kind : {TTextKind::Plain, TTextKind::Rtf, TTextKind::Html}) {
            const std::string sample = ImportText(input, kind, Cp1252());
            EXPECT_FALSE(sample.ends_with("\r\n"));
            // Every CR is the start of a CR LF.
            for (std::size_t i = sample.find('\r'); i != sample.npos;
                 i = sample.find('\r', i + 1)) {
                ASSERT_LT(i + 1, sample.size()) << input;
                ASSERT_EQ(sample[i + 1], '\n') << input;
            }
        }
    }
}

class TextFile : public DrillFiles
{};

TEST_F(TextFile, ReadsByKind)
{
    EXPECT_EQ(ReadTextFile(Write("a.html", "<p>x</p><p>y</p>"), Cp1252()), "x\r\ny");
    EXPECT_EQ(ReadTextFile(Write("a.txt", "<p>x</p>"), Cp1252()), "<p>x</p>");
    EXPECT_EQ(ReadTextFile(Write("a.doc", "{\\rtf1 x\\par y}"), Cp1252()), "x\r\ny");
    EXPECT_THROW(ReadTextFile(Path("missing.txt"), Cp1252()), TError);
}

} // namespace
