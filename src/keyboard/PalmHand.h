// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Colors.h"

#include <array>
#include <cstdint>

class TDataMod;

// Where a hand is drawn. Strokes and dots use a pen 6 pixels wide; drawing
// in black erases, the background being black.
class TPalmCanvas
{
public:
    virtual ~TPalmCanvas() = default;
    virtual void Line(int x, int fromY, int toY, TColor color) = 0;
    virtual void Dot(int x, int y, TColor color) = 0;
};

// One finger of a hand: a vertical stroke upward from BaseY.
class finger
{
public:
    void Init(int x, int baseY, int length, TColor color, TPalmCanvas* canvas);
    void Draw() const;
    void DrawOff() const;
    void Mark() const;
    void Unmark() const;

    std::int32_t X = 0;
    std::int32_t BaseY = 0;
    std::int32_t Length = 0;
    TColor Color = clBlack;
    TPalmCanvas* Canvas = nullptr;
    bool Blink = false;
};

// The state of one hands window: which finger is marked, the blink phase and
// the layout of the five fingers (1 little to 5 thumb) from the template.
class TPalmHand
{
public:
    static constexpr int FingersPerHand = 5;
    static constexpr int Width = 63;

    explicit TPalmHand(TPalmCanvas& canvas) : canvas_(canvas) {}

    // Places the fingers from the template; returns the client height, the
    // same for both hands.
    int LayoutFingers(const TDataMod& data);

    void SetFinger(int index);
    void ClearFinger();
    void UnmarkFinger(int index);
    void PaintFingers();
    // One blink tick.
    void TimerOfPalmTimer();

    const finger& Finger(int index) const
    {
        return fingers_.at(static_cast<std::size_t>(index - 1));
    }
    bool IsMarked(int index) const { return Marked.at(static_cast<std::size_t>(index - 1)); }

    bool IsLeft = true;
    std::array<bool, FingersPerHand> Marked{};
    int Current = 0;
    bool Phase = false;
    bool NoFingers = false;
    bool Blinking = true;
    // Whether the blink timer should run: from SetFinger to ClearFinger.
    bool TimerEnabled = false;

private:
    static bool IsFinger(int index) { return index >= 1 && index <= FingersPerHand; }
    finger& At(int index) { return fingers_[static_cast<std::size_t>(index - 1)]; }

    TPalmCanvas& canvas_;
    std::array<finger, FingersPerHand> fingers_{};
};
