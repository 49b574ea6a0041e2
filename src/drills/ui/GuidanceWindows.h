// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/DrillGuidance.h"
#include "drills/LineGuidance.h"

#include <QPointer>

class TGuidanceDock;
class TPalmForm;
class TVKeyboard;

// The guidance a drill drives once a user has logged on: the on-screen
// keyboard and the two hands windows. They show as windows of their own
// around the drill window, or, where the desktop does not let a program
// place its windows, inside it (TGuidancePlacement).
class TGuidanceWindows final : public TDrillGuidance
{
public:
    TGuidanceWindows(TVKeyboard& keyboard, TPalmForm& leftHand, TPalmForm& rightHand);

    // The band of the drill window about to run, where the guidance goes
    // when it shows inside.
    void DockIn(TGuidanceDock* dock);
    // From now on the guidance shows inside the drill windows.
    void Embed();
    bool Embedded() const { return placement_.Embedded(); }

    int ShowKey(unsigned char ch) override;
    void ShowFinger(int f) override;
    void Show(int left, int top, int width, int height) override;
    void Hide() override;

private:
    void ShowInside();
    // The first time the keyboard shows as a window: whether the desktop left
    // it where it was placed, once it has had the time to place it.
    void CheckLanding();

    TVKeyboard& keyboard_;
    TPalmForm& leftHand_;
    TPalmForm& rightHand_;
    TGuidancePlacement placement_;
    QPointer<TGuidanceDock> dock_;
};
