// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Colors.h"
#include "drills/DrillHost.h"
#include "drills/LineEngine.h"
#include "drills/ui/DrillInputBox.h"

#include <QDialog>
#include <QTextCharFormat>
#include <functional>
#include <memory>
#include <vector>

class QFrame;
class QLabel;
class QStatusBar;
class QTextEdit;
class TCodePage;
class TDrillGuidance;
class TGuidanceDock;

// The window in which the user types a sample line, and the base of every
// drill window. The judging itself is TLineEngine's; this window turns key
// events into its calls and shows what it decides. The engine's host is a
// virtual base, one with the paragraph drill's host (TParagraphHost).
class TFmLinePractice : public QDialog, protected virtual TLineDrillHost
{
    Q_OBJECT
public:
    // Creates a drill window and runs its FormCreate, as every creator must.
    template <class T, class... Args> static std::unique_ptr<T> Create(Args&&... args)
    {
        auto form = std::make_unique<T>(std::forward<Args>(args)...);
        static_cast<TFmLinePractice*>(form.get())->FormCreate();
        return form;
    }

    ~TFmLinePractice() override;

    using TNotifyEvent = std::function<void(TFmLinePractice& sender)>;
    TNotifyEvent OnLineDone;
    TNotifyEvent OnWrongKey;
    TNotifyEvent OnReturnExpected;

    void SetSample(const std::string& text);
    void SetPracticeFont(const QFont& font, const QColor& color);
    void SetBackColor(TColor color);
    std::int32_t PracticeTime() const { return Engine.PracticeTime; }
    void ResetDisplay();
    static void FontToAttributes(const QFont& font, const QColor& color, QTextCharFormat& style);
    void ShowFinger(int f);
    void ShowGuidance();
    // The base guidance of a next character: its key on the keyboard, then
    // its finger on the hands.
    void ShowKeyAndFinger(unsigned char ch);

    // The keys the drills' key filters tell apart.
    static TDrillKey DrillKey(int qtKey);

    // The keyboard and hands windows; none until the main window hands them over.
    void SetGuidanceWindows(TDrillGuidance* guidance);

    TLineEngine Engine;

    // Components.
    QFrame* Panel1;
    QTextEdit* SampleEdit;
    QLabel* LbMark;
    TDrillInputBox* InputEdit;
    // Holds the keyboard and the hands where they cannot be windows of their own.
    TGuidanceDock* GuidanceDock;
    QStatusBar* SBHelp;

protected:
    TFmLinePractice(const TCodePage& codePage, QWidget* parent = nullptr);

    virtual void FormCreate();
    // Both boxes' text in the practice font's style; the sample shows no
    // highlight. The typed text stays.
    void RestyleBoxes();
    virtual void PlaceWindow();
    virtual void InputEditKeyDown(int& key, Qt::KeyboardModifiers shift);
    void InputEditKeyPress(int k, char32_t typed);
    // The judging of a typed character; the paragraph drill judges its own way.
    virtual TKeyVerdict JudgeKey(int k);

    // TLineDrillHost: the engine's requests. ShowNextKey, MarkRight,
    // MarkWrong, HighlightNext and NextLine are the drills' to replace.
    void ShowNextKey(unsigned char ch) override;
    void MarkRight() override;
    void MarkWrong() override;
    bool HighlightNext() override { return Engine.HighlightFlag; }
    void MoveCaretToEnd() override;
    void ShowTimingMark(bool visible) override;
    void HighlightSample(int start) override;
    void ShowStatistics(const TLineStatistics& stats) override;
    void CloseWindow() override;
    void WrongKey() override;
    void LineDone() override;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    const TCodePage& CodePage;

private:
    void MarkInput(TColor color);
    // The sample box holds one paragraph separator where the sample has CR LF.
    int DocumentPosition(int index) const;
    // False when the input box itself is to handle the key.
    bool HandleKey(QKeyEvent* key);

    QColor practiceColor_ = Qt::black;
    QTextCharFormat practiceStyle_;
    std::vector<int> lineBreaks_; // sample indexes (0-based) of CRs followed by LF
    std::unique_ptr<TDrillGuidance> noGuidance_;
    TDrillGuidance* guidance_;
};
