// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "keyboard/KeyLookup.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class TDataMod;
class TTable;

// The groups of key buttons.
inline constexpr int NoGroup = 0;
inline constexpr int CharacterKeyGroup = 1;
inline constexpr int CapsLockGroup = 20;
inline constexpr int AltGrGroup = 1000;
inline constexpr int ShiftGroup = 1002;
inline constexpr int DeadKeyGroup = 2000;

// The group of a key's button, by the key's KeyType: character keys 1, Caps
// Lock 20, AltGr 1000, both Shift keys 1002, dead keys 2000, any other key
// 0 (no group).
int KeyGroup(std::int32_t keyType);

// Right and bottom edge of all keys of a key table, 0 for none. Computed
// wide and clamped, so that no template can overflow them.
struct TKeyExtent
{
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    bool operator==(const TKeyExtent&) const = default;
};
TKeyExtent KeyExtent(const TTable& mainTbl);

// The keyboard frame's size: ten pixels of margin beyond the keys.
struct TFrameSize
{
    std::int32_t Width = 0;
    std::int32_t Height = 0;

    bool operator==(const TFrameSize&) const = default;
};
TFrameSize FitToKeys(const TKeyExtent& extent);

// How one key button looks.
struct TKeyButton
{
    int Group = 0;
    // The keyboard's blinking switch when the button was built: a blinking
    // mark moves the button only, a steady one also shows the negative face.
    bool BlinkMode = false;
    bool Down = false;
    bool Inverted = false;
};

// The key buttons of a keyboard frame, one per key row in Name order, and
// the rules of their down state: a button going down lifts every other
// button of its group; a button of group 0 never goes down; any button may
// go up.
class TKeyButtons
{
public:
    // Told the index of every button whose Down or Inverted changed.
    std::function<void(std::size_t)> OnChange;

    // One button per row of the key table, all up with their normal face.
    void Build(const TTable& mainTbl, bool blinking);
    void Clear() { buttons_.clear(); }

    std::size_t Count() const { return buttons_.size(); }
    const TKeyButton& operator[](std::size_t button) const { return buttons_.at(button); }

    void SetDown(std::size_t button, bool down);
    // The mark of the key to strike: a steady mark (BlinkMode off) swaps
    // the face too; either way the button goes down or up.
    void SetHighlight(std::size_t button, bool on);

    // The lookup of the character's key, marking the key's button. Button
    // is none when no key types the character, and also when the found row
    // has no button (the buttons were built from another key table; the
    // finger is then still the key's).
    TFoundKey FindKey(const TDataMod& data, unsigned char code);

private:
    std::vector<TKeyButton> buttons_;

    void Set(std::size_t button, bool down, bool inverted);
};

// What the keyboard window decides: which key is marked, and the blinking
// of that mark.
class TKeyboardState
{
public:
    // Read by every tick; copied into the buttons when they are built.
    bool Blinking = true;

    std::optional<std::size_t> Highlighted() const { return highlighted_; }
    // One phase for the whole run: a new key starts wherever it stands.
    bool Phase() const { return phase_; }

    // The buttons were rebuilt: nothing is marked.
    void Loaded() { highlighted_.reset(); }
    // Unmarks the key marked before, marks the character's key and returns
    // its finger (NoFinger when there is none).
    std::int32_t ShowKey(TKeyButtons& buttons, const TDataMod& data, unsigned char code);
    // One tick of the blink timer: a blinking mark goes down and up in turn,
    // a steady one is pressed again if something lifted it.
    void Tick(TKeyButtons& buttons);

private:
    std::optional<std::size_t> highlighted_;
    bool phase_ = true;
};
