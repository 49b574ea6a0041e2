// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/LineGuidance.h"

class TPalmForm;
class TVKeyboard;

// The guidance a drill drives once a user has logged on: the on-screen
// keyboard and the two hands windows.
class TGuidanceWindows final : public TDrillGuidance
{
public:
    TGuidanceWindows(TVKeyboard& keyboard, TPalmForm& leftHand, TPalmForm& rightHand);

    int ShowKey(unsigned char ch) override;
    void ShowFinger(int f) override;
    void Show(int left, int top, int width, int height) override;
    void Hide() override;

private:
    TVKeyboard& keyboard_;
    TPalmForm& leftHand_;
    TPalmForm& rightHand_;
};
