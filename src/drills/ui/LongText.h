// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/ParagraphDrill.h"
#include "drills/ui/line.h"

#include <memory>

class QToolBar;
class QToolButton;
class QPushButton;

// A whole text from a file or the clipboard, typed as one sample with its
// line breaks; a "#" button stands in for the keyboard at a line break.
class TFmLongText : public TFmLinePractice, private TParagraphHost
{
    Q_OBJECT
public:
    explicit TFmLongText(const TCodePage& codePage, QWidget* parent = nullptr);
    ~TFmLongText() override;

    void LoadText();
    void LoadTextFrom(const std::string& path);
    void PasteText();
    void Restart();
    void ResetFormatting() override;

    QToolBar* ToolBar1;
    QToolButton* BnLoad;
    QToolButton* BnPaste;
    QToolButton* BnRestart;
    QToolButton* BnClose;
    QPushButton* BnShowReturn;

protected:
    void FormCreate() override;
    void PlaceWindow() override;
    void ShowNextKey(unsigned char ch) override;
    bool HighlightNext() override { return true; }
    void NextLine() override;
    TKeyVerdict JudgeKey(int k) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The boxes follow the window's inside, which the window manager's frame
    // may change after placing.
    void PlaceBoxes();

    // TSampleHost, TParagraphHost
    void SetSample(const std::string& text) override;
    void HideTimingMark() override;
    void ClearInput() override;
    void SetInputReadOnly(bool readOnly) override;
    void ShowReturnButton(bool visible) override;
    void ReturnExpected() override;

    std::unique_ptr<TParagraphDrill> drill_;
};
