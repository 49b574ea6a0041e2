// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a paragraph text of every kind, as the clipboard's text
// and as a course file. Whatever comes in, a sample must come out that the
// line engine can take: every CR the start of a CR LF, no line break at
// either end, no control character but the tab. Anything else, a crash or an
// exception, is a bug.
#include "base/CodePage.h"
#include "drills/CourseFile.h"
#include "drills/ParagraphDrill.h"
#include "drills/TextImport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckSample(const std::string& sample)
{
    Check(!sample.starts_with("\r\n") && !sample.ends_with("\r\n"));
    for (std::size_t i = 0; i < sample.size(); ++i) {
        const auto c = static_cast<unsigned char>(sample[i]);
        if (c == '\r')
            Check(i + 1 < sample.size() && sample[i + 1] == '\n');
        else if (c == '\n')
            Check(i > 0 && sample[i - 1] == '\r');
        else
            Check(c >= 0x20 || c == '\t');
    }
    Check(CountParagraphWords(sample) <= static_cast<int>(sample.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TCodePage codePage(1252);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const TTextKind kind : {TTextKind::Plain, TTextKind::Rtf, TTextKind::Html})
        CheckSample(ImportText(bytes, kind, codePage));
    CheckSample(PastedText(bytes, codePage));
    for (const char c : TextToCodePageLine(bytes, codePage))
        Check(c != '\r' && c != '\n');
    for (const std::string& line : SplitCourseLines(bytes)) {
        Check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        const std::string sample = TrimLine(line);
        Check(sample.empty() || (static_cast<unsigned char>(sample.front()) > 32 &&
                                 static_cast<unsigned char>(sample.back()) > 32));
    }
    return 0;
}
