// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/PalmHand.h"

#include "keyboard/MainData.h"

#include <algorithm>

namespace {

constexpr int MarkGap = 7;      // the dot sits this far above the tip
constexpr int HeightExtra = 24; // room above the longest middle finger
constexpr int BaseMargin = 10;
constexpr int FirstX = 10;
constexpr int Spacing = 9;

} // namespace

void finger::Init(int x, int baseY, int length, TColor color, TPalmCanvas* canvas)
{
    X = x;
    BaseY = baseY;
    Length = length;
    Color = color;
    Canvas = canvas;
}

void finger::Draw() const
{
    Canvas->Line(X, BaseY, BaseY - Length, Color);
}

void finger::DrawOff() const
{
    if (Blink)
        Canvas->Line(X, BaseY, BaseY - Length, clBlack);
}

void finger::Mark() const
{
    if (!Blink)
        Canvas->Dot(X, BaseY - Length - MarkGap, Color);
}

void finger::Unmark() const
{
    if (!Blink)
        Canvas->Dot(X, BaseY - Length - MarkGap, clBlack);
}

int TPalmHand::LayoutFingers(const TDataMod& data)
{
    const auto length = [&](TFingerName name) { return data.FingerLength[name]; };
    const auto color = [&](TFingerName name) { return data.FingerColor[name]; };

    const int height = std::max(length(LMiddle), length(RMiddle)) + HeightExtra;
    const int baseLine = height - BaseMargin;

    // Little finger first; the right hand is mirrored, thumb at the left.
    const std::array<TFingerName, FingersPerHand> names =
        IsLeft ? std::array{LLittle, LRing, LMiddle, LIndex, LThumb}
               : std::array{RLittle, RRing, RMiddle, RIndex, RThumb};
    NoFingers = std::all_of(names.begin(), names.end(),
                            [&](TFingerName name) { return length(name) == 0; });
    for (int i = 1; i <= FingersPerHand; ++i) {
        const int column = IsLeft ? i - 1 : FingersPerHand - i;
        const TFingerName name = names[static_cast<std::size_t>(i - 1)];
        At(i).Init(FirstX + Spacing * column, baseLine, length(name), color(name), &canvas_);
        At(i).Blink = Blinking;
    }
    return height;
}

void TPalmHand::PaintFingers()
{
    // Every blink step shows itself through a repaint, so a marked finger in
    // the dark half of its blink must stay dark here.
    for (int i = 1; i <= FingersPerHand; ++i) {
        if (Blinking && Phase && IsMarked(i))
            At(i).DrawOff();
        else
            At(i).Draw();
    }
    if (IsFinger(Current) && IsMarked(Current))
        At(Current).Mark();
}

void TPalmHand::SetFinger(int index)
{
    if (!IsFinger(index))
        return;
    for (int i = 1; i <= FingersPerHand; ++i)
        if (IsMarked(i))
            UnmarkFinger(i);
    Current = index;
    Marked[static_cast<std::size_t>(index - 1)] = true;
    TimerEnabled = true;
    At(index).Mark();
}

void TPalmHand::UnmarkFinger(int index)
{
    if (!IsFinger(index))
        return;
    Marked[static_cast<std::size_t>(index - 1)] = false;
    At(index).Draw();
    At(index).Unmark();
}

void TPalmHand::ClearFinger()
{
    if (!IsFinger(Current))
        return;
    Marked[static_cast<std::size_t>(Current - 1)] = false;
    At(Current).Draw();
    At(Current).Unmark();
    TimerEnabled = false;
}

void TPalmHand::TimerOfPalmTimer()
{
    if (!Blinking)
        return;
    for (int i = 1; i <= FingersPerHand; ++i) {
        if (!IsMarked(i))
            continue;
        if (Phase)
            At(i).Draw();
        else
            At(i).DrawOff();
    }
    Phase = !Phase;
}
