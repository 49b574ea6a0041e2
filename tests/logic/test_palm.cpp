// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/MainData.h"
#include "keyboard/PalmHand.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Records what a hand draws, as "line x y1-y2 colour" and "dot x y colour".
class TRecordingCanvas : public TPalmCanvas
{
public:
    void Line(int x, int fromY, int toY, TColor color) override
    {
        calls.push_back("line " + std::to_string(x) + " " + std::to_string(fromY) + "-" +
                        std::to_string(toY) + " " + std::to_string(color));
    }
    void Dot(int x, int y, TColor color) override
    {
        calls.push_back("dot " + std::to_string(x) + " " + std::to_string(y) + " " +
                        std::to_string(color));
    }
    std::vector<std::string> calls;
};

class PalmHandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (std::size_t i = 0; i < FingerCount; ++i) {
            data.FingerLength[i] = 30 + static_cast<int>(i);
            data.FingerColor[i] = 100 + static_cast<int>(i);
        }
        data.FingerLength[LMiddle] = 60;
        data.FingerLength[RMiddle] = 55;
    }

    TDataMod data;
    TRecordingCanvas canvas;
};

TEST_F(PalmHandTest, LayoutGivesBothHandsTheSameHeightAndMirrorsTheRight)
{
    TPalmHand left(canvas);
    TPalmHand right(canvas);
    right.IsLeft = false;
    EXPECT_EQ(left.LayoutFingers(data), 84);
    EXPECT_EQ(right.LayoutFingers(data), 84);

    EXPECT_EQ(left.Finger(1).X, 10);
    EXPECT_EQ(left.Finger(5).X, 46);
    EXPECT_EQ(left.Finger(1).BaseY, 74);
    EXPECT_EQ(left.Finger(2).Length, data.FingerLength[LRing]);
    EXPECT_EQ(right.Finger(5).X, 10);
    EXPECT_EQ(right.Finger(4).X, 19);
    EXPECT_EQ(right.Finger(1).X, 46);
    EXPECT_EQ(right.Finger(1).Color, data.FingerColor[RLittle]);
    EXPECT_EQ(right.Finger(5).Length, data.FingerLength[RThumb]);
}

TEST_F(PalmHandTest, AHandWithoutLengthsHasNoFingers)
{
    for (TFingerName name : {RLittle, RRing, RMiddle, RIndex, RThumb})
        data.FingerLength[name] = 0;
    TPalmHand left(canvas);
    TPalmHand right(canvas);
    right.IsLeft = false;
    left.LayoutFingers(data);
    right.LayoutFingers(data);
    EXPECT_FALSE(left.NoFingers);
    EXPECT_TRUE(right.NoFingers);
}

TEST_F(PalmHandTest, WithoutBlinkingTheDotMovesFromFingerToFinger)
{
    TPalmHand hand(canvas);
    hand.Blinking = false;
    hand.LayoutFingers(data);
    const std::string ring = std::to_string(data.FingerColor[LRing]);
    const std::string index = std::to_string(data.FingerColor[LIndex]);

    canvas.calls.clear();
    hand.SetFinger(2);
    EXPECT_EQ(canvas.calls,
              std::vector<std::string>{"dot 19 " + std::to_string(74 - 31 - 7) + " " + ring});
    EXPECT_TRUE(hand.TimerEnabled);

    canvas.calls.clear();
    hand.SetFinger(4);
    EXPECT_EQ(canvas.calls, (std::vector<std::string>{
                                "line 19 74-" + std::to_string(74 - 31) + " " + ring, "dot 19 36 0",
                                "dot 37 " + std::to_string(74 - 33 - 7) + " " + index}));
    EXPECT_EQ(hand.Current, 4);
}

TEST_F(PalmHandTest, BlinkingTurnsTheMarkedFingerOffAndOnAndNeverDots)
{
    TPalmHand hand(canvas);
    hand.LayoutFingers(data);
    canvas.calls.clear();
    hand.SetFinger(3);
    EXPECT_TRUE(canvas.calls.empty());
    hand.TimerOfPalmTimer();
    hand.TimerOfPalmTimer();
    EXPECT_EQ(canvas.calls, (std::vector<std::string>{"line 28 74-14 0", "line 28 74-14 102"}));
}

TEST_F(PalmHandTest, ARepaintKeepsTheBlinkingFingerInItsPhase)
{
    TPalmHand hand(canvas);
    hand.LayoutFingers(data);
    hand.SetFinger(3);
    const std::string lit = "line 28 74-14 102";
    const std::string dark = "line 28 74-14 0";
    for (const std::string& expected : {dark, lit, dark}) {
        hand.TimerOfPalmTimer();
        canvas.calls.clear();
        hand.PaintFingers();
        ASSERT_EQ(canvas.calls.size(), 5u);
        EXPECT_EQ(canvas.calls[2], expected);
    }
}

TEST_F(PalmHandTest, ClearingStopsTheTimerAndARepaintShowsNoMark)
{
    TPalmHand hand(canvas);
    hand.Blinking = false;
    hand.LayoutFingers(data);
    hand.SetFinger(1);
    hand.ClearFinger();
    EXPECT_FALSE(hand.TimerEnabled);
    EXPECT_EQ(hand.Current, 1);
    canvas.calls.clear();
    hand.PaintFingers();
    EXPECT_EQ(canvas.calls.size(), 5u);
    for (const std::string& call : canvas.calls)
        EXPECT_EQ(call.rfind("line", 0), 0u) << call;
}

TEST_F(PalmHandTest, OutOfRangeFingersAndEarlyClearsChangeNothing)
{
    TPalmHand hand(canvas);
    hand.Blinking = false;
    hand.LayoutFingers(data);
    canvas.calls.clear();
    for (int index : {0, 6, -1, 11})
        hand.SetFinger(index);
    hand.ClearFinger();
    hand.UnmarkFinger(7);
    EXPECT_TRUE(canvas.calls.empty());
    EXPECT_EQ(hand.Current, 0);
    EXPECT_FALSE(hand.TimerEnabled);
}

} // namespace
