// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/SoundCues.h"

#include <QObject>
#include <functional>

class QSoundEffect;

// Plays the cues through Qt Multimedia. The sound effect, and with it the
// audio back end, is made when the first cue plays, so that the main window
// does not wait for the audio system to start. One effect serves every cue:
// a new cue stops the one sounding. A file that is missing or cannot be
// played sounds the desktop's alert instead.
class TWavePlayer : public QObject, public TCuePlayer
{
    Q_OBJECT
public:
    // alert: the desktop's alert sound; QApplication::beep unless a test
    // listens instead.
    explicit TWavePlayer(QObject* parent = nullptr, std::function<void()> alert = {});

    void PlayCue(const std::string& path) override;

    // None until the first cue.
    QSoundEffect* Effect() const { return effect_; }

private:
    void EffectStatusChanged();

    std::function<void()> alert_;
    QSoundEffect* effect_ = nullptr;
};
