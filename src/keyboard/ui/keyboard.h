// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "keyboard/KeyboardState.h"

#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

class QTimer;
class TCodePage;
class TDataMod;
class TKbFm;

// The on-screen keyboard: a small tool window showing the course's keyboard
// and marking the key of the next character. It takes no input. The drills
// place it (move), show and hide it, and call ShowKey for every character.
class TVKeyboard : public QWidget
{
    Q_OBJECT
public:
    TVKeyboard(TDataMod& dataMod, const TCodePage& codePage, QWidget* parent = nullptr);
    ~TVKeyboard() override;

    // Rebuilds the keyboard from a template archive; a template that does
    // not load leaves the keyboard built from what the tables then hold.
    void LoadTemplate(const std::string& fileName);
    // Marks the character's key (removing the previous mark) and returns its
    // template finger number, NoFinger (above 9) when no key types it.
    std::int32_t ShowKey(unsigned char ch);

    // Set from the profile before LoadTemplate: the buttons take it when
    // they are built, the blink timer reads it at every tick.
    bool Blinking() const { return state_.Blinking; }
    void SetBlinking(bool blinking) { state_.Blinking = blinking; }
    std::optional<std::size_t> Highlighted() const { return state_.Highlighted(); }
    bool Phase() const { return state_.Phase(); }

    TKbFm* KbFrame;
    QTimer* TimerofKB;

    // The highlight tick, every 250 ms while the window is shown.
    void TimerofKBTimer();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TDataMod& data_;
    TKeyboardState state_;
};
