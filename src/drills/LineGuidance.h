// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a drill window asks of the keyboard and hands windows. The main
// window hands its guidance windows to every drill through this.
class TDrillGuidance
{
public:
    virtual ~TDrillGuidance() = default;

    // Marks the key of ch on the keyboard (removing the previous mark) and
    // returns its template finger number; above 9 for no finger.
    virtual int ShowKey(unsigned char ch) = 0;
    // Marks finger f (template numbering) on the hands windows.
    virtual void ShowFinger(int f) = 0;
    // Places the guidance windows around a drill window with this frame and
    // shows them.
    virtual void Show(int left, int top, int width, int height) = 0;
    virtual void Hide() = 0;
};

// Guidance for a run that has no keyboard template: nothing is shown.
class TNoGuidance final : public TDrillGuidance
{
public:
    int ShowKey(unsigned char) override { return 10; }
    void ShowFinger(int) override {}
    void Show(int, int, int, int) override {}
    void Hide() override {}
};
