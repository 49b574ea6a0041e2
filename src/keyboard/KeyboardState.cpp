// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyboardState.h"

#include "keyboard/KeyTypes.h"
#include "keyboard/MainData.h"

#include <algorithm>
#include <limits>

int KeyGroup(std::int32_t keyType)
{
    if (IsCharacterKey(keyType))
        return CharacterKeyGroup;
    switch (keyType) {
    case KeyTypeCapsLock:
        return CapsLockGroup;
    case KeyTypeAltGr:
        return AltGrGroup;
    case KeyTypeLeftShift:
    case KeyTypeRightShift:
        return ShiftGroup;
    default:
        return IsDeadKey(keyType) ? DeadKeyGroup : NoGroup;
    }
}

TKeyExtent KeyExtent(const TTable& mainTbl)
{
    // Room for the frame's margin, so that FitToKeys cannot overflow either.
    constexpr std::int64_t Largest = std::numeric_limits<std::int32_t>::max() - 10;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
    for (std::size_t row = 0; row < mainTbl.RowCount(); ++row) {
        right = std::max(right,
                         std::int64_t{mainTbl.Integer(row, "X")} + mainTbl.Integer(row, "Width"));
        bottom = std::max(bottom,
                          std::int64_t{mainTbl.Integer(row, "Y")} + mainTbl.Integer(row, "Height"));
    }
    return {static_cast<std::int32_t>(std::min(right, Largest)),
            static_cast<std::int32_t>(std::min(bottom, Largest))};
}

TFrameSize FitToKeys(const TKeyExtent& extent)
{
    return {extent.Right + 10, extent.Bottom + 10};
}

void TKeyButtons::Build(const TTable& mainTbl, bool blinking)
{
    buttons_.reserve(buttons_.size() + mainTbl.RowCount());
    for (std::size_t row = 0; row < mainTbl.RowCount(); ++row)
        buttons_.push_back({KeyGroup(mainTbl.Integer(row, "KeyType")), blinking, false, false});
}

void TKeyButtons::SetDown(std::size_t button, bool down)
{
    const TKeyButton& self = buttons_.at(button);
    if (!down) {
        Set(button, false, self.Inverted);
        return;
    }
    if (self.Group == NoGroup)
        return;
    for (std::size_t other = 0; other < buttons_.size(); ++other)
        if (other != button && buttons_[other].Group == self.Group)
            Set(other, false, buttons_[other].Inverted);
    Set(button, true, self.Inverted);
}

void TKeyButtons::SetHighlight(std::size_t button, bool on)
{
    const TKeyButton& self = buttons_.at(button);
    if (!self.BlinkMode)
        Set(button, self.Down, on);
    SetDown(button, on);
}

TFoundKey TKeyButtons::FindKey(const TDataMod& data, unsigned char code)
{
    TFoundKey found = ::FindKey(data, code);
    if (found.Button && *found.Button >= buttons_.size())
        found.Button.reset();
    if (found.Button)
        SetHighlight(*found.Button, true);
    return found;
}

void TKeyButtons::Set(std::size_t button, bool down, bool inverted)
{
    TKeyButton& self = buttons_[button];
    if (self.Down == down && self.Inverted == inverted)
        return;
    self.Down = down;
    self.Inverted = inverted;
    if (OnChange)
        OnChange(button);
}

std::int32_t TKeyboardState::ShowKey(TKeyButtons& buttons, const TDataMod& data, unsigned char code)
{
    if (highlighted_ && *highlighted_ < buttons.Count())
        buttons.SetHighlight(*highlighted_, false);
    const TFoundKey found = buttons.FindKey(data, code);
    highlighted_ = found.Button;
    return found.Finger;
}

void TKeyboardState::Tick(TKeyButtons& buttons)
{
    if (!highlighted_ || *highlighted_ >= buttons.Count())
        return;
    if (Blinking) {
        buttons.SetHighlight(*highlighted_, phase_);
        phase_ = !phase_;
    } else if (!buttons[*highlighted_].Down) {
        buttons.SetHighlight(*highlighted_, true);
    }
}
