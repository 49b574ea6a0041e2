// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/ParagraphDrill.h"

#include "drills/CourseFile.h"
#include "drills/TextImport.h"
#include "drills/stopw.h"

int CountParagraphWords(std::string_view text)
{
    return CountWords(text, "\n\r ,./");
}

TParagraphDrill::TParagraphDrill(TLineEngine& engine, stopwatch& watch, TParagraphHost& host,
                                 const TCodePage& codePage)
    : engine_(engine), watch_(watch), host_(host), codePage_(codePage)
{}

void TParagraphDrill::Create()
{
    engine_.Guidance = false;
    engine_.EnterEndsLine = false;
}

void TParagraphDrill::LoadText(const std::string& path)
{
    SetText(ReadTextFile(path, codePage_));
}

void TParagraphDrill::PasteText(std::string_view utf8)
{
    SetText(PastedText(utf8, codePage_));
}

void TParagraphDrill::SetText(const std::string& text)
{
    host_.SetSample(text);
    host_.ResetFormatting();
    Restart();
}

void TParagraphDrill::Restart()
{
    host_.HideTimingMark();
    engine_.Timing = false;
    const std::string& text = engine_.Sample();
    engine_.Marks.assign(text.size() + 1, false);
    engine_.SampleLength = static_cast<int>(text.size());
    engine_.Position = 1;
    watch_.SetElapsed(0);
    engine_.WordCount = CountParagraphWords(text);
    host_.ClearInput();
    host_.SetInputReadOnly(false);
    finished_ = false;
    // The button belongs to the text now shown, not to the one before.
    host_.ShowReturnButton(!text.empty() && text.front() == '\r');
}

TKeyVerdict TParagraphDrill::KeyPress(int k)
{
    if (!finished_)
        return engine_.KeyPress(k);
    if (k == KeyEscape)
        host_.CloseWindow();
    return {};
}

void TParagraphDrill::ShowNextKey(unsigned char ch)
{
    if (ch == CharCR) {
        host_.ReturnExpected();
        host_.ShowReturnButton(true);
    } else {
        host_.ShowReturnButton(false);
    }
}

void TParagraphDrill::NextLine()
{
    finished_ = true;
    host_.SetInputReadOnly(true);
}
