// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "keyboard/PalmHand.h"

#include <QImage>
#include <QWidget>

class QTimer;
class TDataMod;

// A small tool window showing one hand as five coloured strokes and marking
// the finger that strikes the next key. Strokes are drawn into the window's
// own image at once, as the hand's state changes; a repaint shows the image
// after restoring the fingers and the mark.
class TPalmForm : public QWidget, private TPalmCanvas
{
    Q_OBJECT
public:
    explicit TPalmForm(QWidget* parent = nullptr);

    void SetHand(bool left);
    void LayoutFingers(const TDataMod& dataMod);
    void SetFinger(int index);
    void ClearFinger();
    void UnmarkFinger(int index);
    void ShowIfUsed();
    void SetBlinking(bool blinking) { Hand.Blinking = blinking; }

    const QImage& Surface() const { return surface_; }

    TPalmHand Hand;
    QTimer* TimerOfPalm;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void TimerOfPalmTimer();
    void SyncTimer();
    void Line(int x, int fromY, int toY, TColor color) override;
    void Dot(int x, int y, TColor color) override;
    // The image changed outside a repaint: show it.
    void Changed();

    QImage surface_;
    bool painting_ = false;
};
