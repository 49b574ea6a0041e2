#pragma once

#include "keyboard/KeyComposer.h"

#include <QString>
#include <QTextEdit>
#include <functional>

class QKeyEvent;

// The box a drill is typed into. Dead keys compose here, in the order the
// keys were struck; the desktop's input method is kept out, and should
// anything still commit text to the box, it arrives through OnComposed to be
// judged like a typed key, while a composition in progress shows nothing.
// Nothing can be pasted into it, by keys, by dragging or by the middle mouse
// button: every character in it has been judged.
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

protected:
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    TKeyComposer composer_;
};
