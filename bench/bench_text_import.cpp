// SPDX-License-Identifier: GPL-3.0-or-later
// Times the reading of 1 MB paragraph texts (plain 8-bit, UTF-8, RTF, HTML)
// and of hostile 1 MB inputs made to catch work that grows faster than the
// input, and the splitting of a 1 MB course file. Each must take well under
// a second.
#include "base/CodePage.h"
#include "drills/CourseFile.h"
#include "drills/TextImport.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>

namespace {

constexpr std::size_t Size = 1 << 20;

std::string Repeat(const std::string& piece)
{
    std::string text;
    text.reserve(Size + piece.size());
    while (text.size() < Size)
        text += piece;
    return text;
}

std::string Words(const std::string& space, const std::string& lineBreak)
{
    std::mt19937 random(42);
    std::string text;
    while (text.size() < Size) {
        for (int i = 2 + static_cast<int>(random() % 7); i > 0; --i)
            text += static_cast<char>('a' + random() % 26);
        text += random() % 12 == 0 ? lineBreak : space;
    }
    return text;
}

void Time(const char* name, const std::function<std::size_t()>& work)
{
    constexpr int Rounds = 5;
    double best = 1e9;
    std::size_t size = 0;
    for (int i = 0; i < Rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        size = work();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    std::printf("%-28s %8.1f ms  (%zu bytes out)\n", name, best, size);
}

} // namespace

int main()
{
    const TCodePage codePage(1252);
    const auto import = [&codePage](const std::string& bytes, TTextKind kind) {
        return [&codePage, bytes, kind] { return ImportText(bytes, kind, codePage).size(); };
    };

    Time("plain 8-bit", import(Words(" ", "\r\n"), TTextKind::Plain));
    Time("plain UTF-8", import(Words(" \xC3\xA4 \xE2\x80\x9C", "\n"), TTextKind::Plain));
    Time("pasted UTF-8", [&codePage] {
        static const std::string text = Words(" \xC5\x81 ", "\n");
        return PastedText(text, codePage).size();
    });
    Time("RTF", import("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}" +
                           Words(" K\\'e4se {\\b bold} \\u8220?q\\u8221? ", "\\par\r\n") + "}",
                       TTextKind::Rtf));
    Time("HTML", import("<html><body>" +
                            Words(" <b>x</b> &auml; &#8220;q&rdquo; ", "</p>\n<p class=\"c\">") +
                            "</body></html>",
                        TTextKind::Html));
    Time("hostile RTF: groups", import("{\\rtf1" + Repeat("{"), TTextKind::Rtf));
    Time("hostile RTF: \\uc and \\u", import(Repeat("\\uc9\\u65 "), TTextKind::Rtf));
    Time("hostile RTF: \\ansicpg", import(Repeat("\\ansicpg1251\\ansicpg1250"), TTextKind::Rtf));
    Time("hostile HTML: open quotes", import(Repeat("<a b=\"x>"), TTextKind::Html));
    Time("hostile HTML: scripts", import(Repeat("<script>x<"), TTextKind::Html));
    Time("hostile HTML: comments", import(Repeat("<!--"), TTextKind::Html));
    Time("hostile HTML: references", import(Repeat("&#x&amp&#9999999999"), TTextKind::Html));
    Time("hostile text: blanks", import(Repeat(" \t"), TTextKind::Plain));
    Time("hostile text: line breaks", import(Repeat("\r\n \n"), TTextKind::Plain));
    Time("course file lines", [] {
        static const std::string text = Words(" ", "\r\n");
        return SplitCourseLines(text).size();
    });
    return 0;
}
