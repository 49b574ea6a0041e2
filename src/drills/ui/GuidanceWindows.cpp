// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/ui/GuidanceWindows.h"

#include "base/ui/FramedWindow.h"
#include "drills/DrillGuidance.h"
#include "drills/ui/GuidanceDock.h"
#include "keyboard/ui/keyboard.h"
#include "keyboard/ui/palm.h"

#include <QGuiApplication>
#include <QTimer>

namespace {

// Time for a window manager to frame and place a window it has been asked to map.
constexpr int LandingDelay = 500; // ms

TScreenRect ScreenRect(const QRect& rect)
{
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

// A guidance window's whole goes at (left, top), or as near as the screen
// allows: a drill near the screen's edge leaves no room beside or below it.
void PlaceAt(QWidget& window, int left, int top)
{
    PlaceFramed(
        window,
        [&window, left, top](const QMargins& frame) {
            return QRect(QPoint(left, top), window.size().grownBy(frame));
        },
        TFramedSize::Kept);
}

void Apply(TPalmForm& hand, const THandCall& call)
{
    if (call.Action == THandCall::Set)
        hand.SetFinger(call.Finger);
    else
        hand.ClearFinger();
}

} // namespace

TGuidanceWindows::TGuidanceWindows(TVKeyboard& keyboard, TPalmForm& leftHand, TPalmForm& rightHand)
    : keyboard_(keyboard), leftHand_(leftHand), rightHand_(rightHand),
      placement_(QGuiApplication::platformName().toStdString())
{}

void TGuidanceWindows::DockIn(TGuidanceDock* dock)
{
    dock_ = dock;
}

void TGuidanceWindows::Embed()
{
    placement_.Embed();
}

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
    if (placement_.Embedded() && dock_ != nullptr) {
        ShowInside();
        return;
    }
    keyboard_.show();
    leftHand_.ShowIfUsed();
    rightHand_.ShowIfUsed();
    const TGuidancePlaces places =
        PlaceGuidance(left, top, width, height, FramedGeometry(keyboard_).width(),
                      FramedGeometry(leftHand_).width());
    PlaceAt(keyboard_, places.KeyboardLeft, places.KeyboardTop);
    PlaceAt(leftHand_, places.LeftHandLeft, places.KeyboardTop);
    PlaceAt(rightHand_, places.RightHandLeft, places.KeyboardTop);
    if (placement_.ChecksLanding())
        QTimer::singleShot(LandingDelay, &keyboard_, [this] { CheckLanding(); });
}

void TGuidanceWindows::ShowInside()
{
    dock_->Hold(keyboard_, leftHand_, rightHand_);
}

void TGuidanceWindows::CheckLanding()
{
    if (!keyboard_.isVisible() || !keyboard_.isWindow())
        return;
    if (placement_.Landed(ScreenRect(PlacedGeometry(keyboard_)),
                          ScreenRect(keyboard_.geometry())) &&
        dock_ != nullptr) {
        Hide();
        ShowInside();
    }
}

void TGuidanceWindows::Hide()
{
    if (dock_ != nullptr)
        dock_->Release();
    keyboard_.hide();
    leftHand_.hide();
    rightHand_.hide();
}
