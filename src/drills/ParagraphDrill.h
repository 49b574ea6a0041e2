// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/DrillHost.h"
#include "drills/LineEngine.h"

#include <string>
#include <string_view>

class TCodePage;
class stopwatch;

// What the paragraph drill asks of its window: what every drill asks, the
// line engine's requests (it closes the window through them), and its own.
class TParagraphHost : public virtual TSampleHost, public virtual TLineDrillHost
{
public:
    // ResetFormatting: the sample's text in the style of its font, input kept.
    virtual void ResetFormatting() = 0;
    virtual void ClearInput() = 0;
    // Read-only after the end of the text; writable, enabled and focused for
    // a new attempt.
    virtual void SetInputReadOnly(bool readOnly) = 0;
    virtual void ShowReturnButton(bool visible) = 0;
    virtual void ReturnExpected() = 0; // OnReturnExpected
};

// The words of a paragraph text: maximal runs of characters that are none of
// LF, CR, space, comma, full stop and slash ("3.14" and "and/or" are 2 each).
int CountParagraphWords(std::string_view text);

// A whole text, loaded from a file or pasted, typed as one sample in text
// mode: a line break is typed with Enter or Space. Once the text is finished,
// further key presses are ignored (Esc closes the window) until the text is
// restarted, loaded or pasted, so a finished text is counted once.
class TParagraphDrill
{
public:
    TParagraphDrill(TLineEngine& engine, stopwatch& watch, TParagraphHost& host,
                    const TCodePage& codePage);

    // The drill's part of FormCreate, after the line drill's: no keyboard
    // guidance, text mode.
    void Create();

    // Reads the file (RTF, HTML or plain text) and starts it. Throws TError
    // when it cannot be read; the sample then keeps its text.
    void LoadText(const std::string& path);
    // Starts the clipboard's text (UTF-8).
    void PasteText(std::string_view utf8);
    // Starts an 8-bit text whose line breaks are CR LF.
    void SetText(const std::string& text);
    // The current text again from its beginning, untimed, with an empty input.
    void Restart();

    // The judging of a typed character in place of TLineEngine::KeyPress.
    TKeyVerdict KeyPress(int k);
    // Replaces the window's ShowNextKey: the "#" button instead of the keyboard.
    void ShowNextKey(unsigned char ch);
    // Replaces the window's NextLine: the text is finished.
    void NextLine();

    bool Finished() const { return finished_; }

private:
    TLineEngine& engine_;
    stopwatch& watch_;
    TParagraphHost& host_;
    const TCodePage& codePage_;
    bool finished_ = false;
};
