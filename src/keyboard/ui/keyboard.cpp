// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/ui/keyboard.h"

#include "base/Errors.h"
#include "base/Translate.h"
#include "base/ui/MessageBoxes.h"
#include "keyboard/MainData.h"
#include "keyboard/ui/KbForm.h"

#include <QTimer>

namespace {

constexpr int BlinkInterval = 250;

} // namespace

TVKeyboard::TVKeyboard(TDataMod& dataMod, const TCodePage& codePage, QWidget* parent)
    : QWidget(parent, Qt::Tool), data_(dataMod)
{
    setObjectName(QStringLiteral("VKeyboard"));
    setWindowTitle(QString());
    KbFrame = new TKbFm(dataMod, codePage, this);
    KbFrame->move(0, 0);
    TimerofKB = new QTimer(this);
    TimerofKB->setObjectName(QStringLiteral("TimerofKB"));
    TimerofKB->setInterval(BlinkInterval);
    connect(TimerofKB, &QTimer::timeout, this, &TVKeyboard::TimerofKBTimer);
}

TVKeyboard::~TVKeyboard() = default;

void TVKeyboard::LoadTemplate(const std::string& fileName)
{
    KbFrame->ClearKeys();
    if (!data_.LoadTemplate(fileName) && !data_.Refusal.empty())
        TMessageBoxes::Error(
            this, QString::fromUtf8(Format(_("The keyboard template %s cannot be used: %s."),
                                           fileName.c_str(), data_.Refusal.c_str())));
    KbFrame->FitToKeys();
    KbFrame->BuildKeys(state_.Blinking);
    resize(KbFrame->size());
    state_.Loaded();
}

std::int32_t TVKeyboard::ShowKey(unsigned char ch)
{
    return state_.ShowKey(KbFrame->Keys, data_, ch);
}

void TVKeyboard::TimerofKBTimer()
{
    state_.Tick(KbFrame->Keys);
}

void TVKeyboard::showEvent(QShowEvent* event)
{
    TimerofKB->start();
    QWidget::showEvent(event);
}

void TVKeyboard::hideEvent(QHideEvent* event)
{
    TimerofKB->stop();
    QWidget::hideEvent(event);
}
