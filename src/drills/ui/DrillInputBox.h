// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "keyboard/KeyComposer.h"

#include <QString>
#include <QTextBlock>
#include <QTextEdit>
#include <functional>

class QKeyEvent;

// The box a drill is typed into. Dead keys compose here, in the order the
// keys were struck; the desktop's input method is kept out, and should
// anything still commit text to the box, it arrives through OnComposed to be
// judged like a typed key, while a composition in progress shows nothing.
// Nothing can be pasted into it, by keys, by dragging or by the middle mouse
// button: every character in it has been judged.
//
// The toolkit lays out a paragraph whole whenever it changes, so a key would
// cost more the longer the paragraph typed so far. The box therefore holds
// each line it shows as a block of its own, broken where the paragraph would
// wrap anyway, and a key lays out the last line or two.
class TDrillInputBox : public QTextEdit
{
    Q_OBJECT
public:
    explicit TDrillInputBox(QWidget* parent = nullptr);

    // What a key press that is not a special key types: its text, the
    // character a dead key before it composes with it, or nothing (a dead key).
    QString Typed(const QKeyEvent* event);
    // A special key ends a composition begun.
    void EndComposing() { composer_.Reset(); }

    std::function<void(char32_t typed)> OnComposed;

    // What was typed: the line breaks typed, not the places the box wraps.
    QString TypedText() const;
    // Types text at the caret, in the current style.
    void Type(const QString& text);
    void TypeLineBreak();
    // Takes back the character typed before the caret.
    void DeleteTyped();

protected:
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Breaks the paragraph anew into its lines, from the line of block on
    // (from the line before it too when withPrevious: a shorter line may let
    // text move up).
    void Rewrap(QTextBlock block, bool withPrevious);
    void RewrapAll();

    int wrapWidth_ = -1;
    TKeyComposer composer_;
};
