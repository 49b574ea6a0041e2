// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/ui/palm.h"

#include "base/Translate.h"
#include "base/ui/QtBridge.h"

#include <QPainter>
#include <QTimer>

namespace {

constexpr int PenWidth = 6;
constexpr int BlinkInterval = 250; // ms

QPen StrokePen(TColor color)
{
    return QPen(ToQColor(color), PenWidth, Qt::SolidLine, Qt::RoundCap);
}

} // namespace

TPalmForm::TPalmForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMinMaxButtonsHint),
      Hand(*this), TimerOfPalm(new QTimer(this)),
      surface_(TPalmHand::Width, 1, QImage::Format_RGB32)
{
    setObjectName(QStringLiteral("PalmForm"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    surface_.fill(Qt::black);
    setFixedWidth(TPalmHand::Width);
    TimerOfPalm->setObjectName(QStringLiteral("TimerOfPalm"));
    TimerOfPalm->setInterval(BlinkInterval);
    connect(TimerOfPalm, &QTimer::timeout, this, &TPalmForm::TimerOfPalmTimer);
}

void TPalmForm::SetHand(bool left)
{
    Hand.IsLeft = left;
    setWindowTitle(QString::fromUtf8(left ? _("Left") : _("Right")));
}

void TPalmForm::LayoutFingers(const TDataMod& dataMod)
{
    const int height = Hand.LayoutFingers(dataMod);
    setFixedHeight(height);
    surface_ = QImage(TPalmHand::Width, height, QImage::Format_RGB32);
    surface_.fill(Qt::black);
    Hand.PaintFingers();
    update();
}

void TPalmForm::SetFinger(int index)
{
    Hand.SetFinger(index);
    SyncTimer();
}

void TPalmForm::ClearFinger()
{
    Hand.ClearFinger();
    SyncTimer();
}

void TPalmForm::UnmarkFinger(int index)
{
    Hand.UnmarkFinger(index);
}

void TPalmForm::ShowIfUsed()
{
    if (!Hand.NoFingers)
        show();
}

void TPalmForm::TimerOfPalmTimer()
{
    Hand.TimerOfPalmTimer();
}

void TPalmForm::SyncTimer()
{
    // A hidden hand does not blink: the drills mark the first finger of the
    // next line also after they have hidden the guidance.
    if (Hand.TimerEnabled && isVisible()) {
        if (!TimerOfPalm->isActive())
            TimerOfPalm->start();
    } else {
        TimerOfPalm->stop();
    }
}

void TPalmForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    SyncTimer();
}

void TPalmForm::hideEvent(QHideEvent* event)
{
    TimerOfPalm->stop();
    QWidget::hideEvent(event);
}

void TPalmForm::Line(int x, int fromY, int toY, TColor color)
{
    QPainter painter(&surface_);
    painter.setPen(StrokePen(color));
    painter.drawLine(x, fromY, x, toY);
    Changed();
}

// A line of no length: with the round pen, a dot as wide as a stroke.
void TPalmForm::Dot(int x, int y, TColor color)
{
    QPainter painter(&surface_);
    painter.setPen(StrokePen(color));
    painter.drawPoint(x, y);
    Changed();
}

void TPalmForm::Changed()
{
    if (!painting_)
        update();
}

void TPalmForm::paintEvent(QPaintEvent*)
{
    painting_ = true;
    Hand.PaintFingers();
    painting_ = false;
    QPainter(this).drawImage(0, 0, surface_);
}
