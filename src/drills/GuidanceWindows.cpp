#include "drills/GuidanceWindows.h"

#include "drills/DrillGuidance.h"
#include "keyboard/keyboard.h"
#include "keyboard/palm.h"

namespace {

void Apply(TPalmForm& hand, const THandCall& call)
{
    if (call.Action == THandCall::Set)
        hand.SetFinger(call.Finger);
    else
        hand.ClearFinger();
}

} // namespace

TGuidanceWindows::TGuidanceWindows(TVKeyboard& keyboard, TPalmForm& leftHand, TPalmForm& rightHand)
    : keyboard_(keyboard), leftHand_(leftHand), rightHand_(rightHand)
{}

int TGuidanceWindows::ShowKey(unsigned char ch)
{
    return keyboard_.ShowKey(ch);
}

void TGuidanceWindows::ShowFinger(int f)
{
    const auto [left, right] = HandCalls(f);
    Apply(leftHand_, left);
    Apply(rightHand_, right);
}

void TGuidanceWindows::Show(int left, int top, int width, int height)
{
    // Shown first: a window's frame, which the placing counts, is known only
    // once the window is on screen.
    keyboard_.show();
    leftHand_.ShowIfUsed();
    rightHand_.ShowIfUsed();
    const TGuidancePlaces places =
        PlaceGuidance(left, top, width, height, keyboard_.frameGeometry().width(),
                      leftHand_.frameGeometry().width());
    keyboard_.move(places.KeyboardLeft, places.KeyboardTop);
    leftHand_.move(places.LeftHandLeft, places.KeyboardTop);
    rightHand_.move(places.RightHandLeft, places.KeyboardTop);
}

void TGuidanceWindows::Hide()
{
    keyboard_.hide();
    leftHand_.hide();
    rightHand_.hide();
}
