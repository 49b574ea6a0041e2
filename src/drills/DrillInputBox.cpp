#include "drills/DrillInputBox.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <clocale>

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
