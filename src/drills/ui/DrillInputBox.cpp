// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/ui/DrillInputBox.h"

#include <QAbstractTextDocumentLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextLayout>
#include <clocale>
#include <vector>

namespace {

// Marks a block that goes on with the paragraph of the block before it: the
// box wraps there, nobody typed a line break.
constexpr int GoesOnProperty = QTextFormat::UserProperty + 1;

bool GoesOn(const QTextBlock& block)
{
    return block.blockFormat().boolProperty(GoesOnProperty);
}

} // namespace

TDrillInputBox::TDrillInputBox(QWidget* parent)
    : QTextEdit(parent), composer_(std::setlocale(LC_CTYPE, nullptr))
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

QString TDrillInputBox::Typed(const QKeyEvent* event)
{
    switch (composer_.Feed(event->nativeVirtualKey())) {
    case TKeyComposer::TStep::Swallow:
        return {};
    case TKeyComposer::TStep::Composed:
        return QString::fromStdString(composer_.Composed());
    case TKeyComposer::TStep::Pass:
        break;
    }
    return event->text();
}

void TDrillInputBox::inputMethodEvent(QInputMethodEvent* event)
{
    event->accept();
    if (!OnComposed)
        return;
    for (const char32_t ch : event->commitString().toUcs4())
        OnComposed(ch);
}

// Read-only or not, the box takes no input method.
QVariant TDrillInputBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled)
        return false;
    return QTextEdit::inputMethodQuery(query);
}

bool TDrillInputBox::canInsertFromMimeData(const QMimeData*) const
{
    return false;
}

void TDrillInputBox::insertFromMimeData(const QMimeData*) {}

QString TDrillInputBox::TypedText() const
{
    QString text;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin() && !GoesOn(block))
            text += u'\n';
        text += block.text();
    }
    return text;
}

void TDrillInputBox::Type(const QString& text)
{
    insertPlainText(text);
    Rewrap(textCursor().block(), false);
}

void TDrillInputBox::TypeLineBreak()
{
    QTextCursor caret = textCursor();
    QTextBlockFormat paragraph = caret.blockFormat();
    paragraph.clearProperty(GoesOnProperty);
    caret.insertBlock(paragraph);
    setTextCursor(caret);
    Rewrap(caret.block().previous(), false);
    Rewrap(textCursor().block(), false);
}

void TDrillInputBox::DeleteTyped()
{
    QTextCursor caret = textCursor();
    if (caret.atBlockStart() && GoesOn(caret.block()))
        caret.movePosition(QTextCursor::PreviousCharacter); // over the wrap
    caret.deletePreviousChar();
    Rewrap(caret.block(), true);
}

void TDrillInputBox::Rewrap(QTextBlock block, bool withPrevious)
{
    if (!block.isValid())
        return;
    if (withPrevious && GoesOn(block))
        block = block.previous();
    const int start = block.position();
    QTextCursor edit(document());

    // The rest of the paragraph in one block again, laid out once ...
    std::vector<int> wraps;
    for (QTextBlock next = block.next(); next.isValid() && GoesOn(next); next = next.next())
        wraps.push_back(next.position());
    if (!wraps.empty()) {
        edit.beginEditBlock();
        for (auto wrap = wraps.rbegin(); wrap != wraps.rend(); ++wrap) {
            edit.setPosition(*wrap);
            edit.deletePreviousChar();
        }
        edit.endEditBlock();
        block = document()->findBlock(start);
    }

    // ... and broken where its lines begin.
    document()->documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    std::vector<int> lineStarts;
    for (int i = 1; i < layout->lineCount(); ++i)
        lineStarts.push_back(start + layout->lineAt(i).textStart());
    if (lineStarts.empty())
        return;
    QTextBlockFormat goesOn = block.blockFormat();
    goesOn.setProperty(GoesOnProperty, true);
    edit.beginEditBlock();
    for (auto line = lineStarts.rbegin(); line != lineStarts.rend(); ++line) {
        edit.setPosition(*line);
        edit.insertBlock(goesOn);
    }
    edit.endEditBlock();
}

void TDrillInputBox::RewrapAll()
{
    wrapWidth_ = viewport()->width();
    for (QTextBlock block = document()->begin(); block.isValid();) {
        const int start = block.position();
        Rewrap(block, false);
        block = document()->findBlock(start);
        do
            block = block.next();
        while (block.isValid() && GoesOn(block));
    }
}

void TDrillInputBox::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    if (viewport()->width() != wrapWidth_)
        RewrapAll();
}

void TDrillInputBox::changeEvent(QEvent* event)
{
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        RewrapAll();
}
