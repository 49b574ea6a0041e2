// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SoundCues.h"

#include "base/Errors.h"
#include "base/IniFile.h"
#include "profile/ProfileVar.h"

void TSoundCues::ReadCueNames(const std::string& programDir)
{
    const std::string media = programDir + "media/";
    TIniDocument ini;
    try {
        ini = TIniFile(media + "media.ini").Read();
    } catch (const TError&) {
        // An unreadable file is a missing one: the cues fall back to the alert.
    }
    for (std::size_t i = 0; i < CueCount; ++i)
        paths_[i] = media + ini.Value("wav", CueKeys[i]).value_or("");
}

void TSoundCues::PlayDrillCue(TCue cue)
{
    if (profile_ && profile_->DrillSoundEnabled)
        player_.PlayCue(CuePath(cue));
}

void TSoundCues::PlayGameCue(TCue cue)
{
    if (profile_ && profile_->GameSoundEnabled)
        player_.PlayCue(CuePath(cue));
}

void TSoundCues::CueLineDone()
{
    PlayDrillCue(TCue::WordOk);
}
void TSoundCues::CueWrongKey()
{
    PlayDrillCue(TCue::WordErr);
}
void TSoundCues::CueReturnExpected()
{
    PlayDrillCue(TCue::WordOk);
}
void TSoundCues::CueMiss()
{
    PlayGameCue(TCue::GameMiss);
}
void TSoundCues::CueShoot()
{
    PlayGameCue(TCue::GameShoot);
}
void TSoundCues::CueCityHurt()
{
    PlayGameCue(TCue::GameCityHurt);
}
void TSoundCues::CueLevelUp()
{
    PlayGameCue(TCue::GameLevelUp);
}
