// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <string>

class TProfile;

// Plays a wave file by its path, without waiting for it to end; a new cue
// cuts off the one sounding.
class TCuePlayer
{
public:
    virtual ~TCuePlayer() = default;
    virtual void PlayCue(const std::string& path) = 0;
};

// The six cues, in the order of the keys of media.ini's [wav] section.
enum class TCue : std::size_t
{
    WordOk,
    WordErr,
    GameMiss,
    GameShoot,
    GameCityHurt,
    GameLevelUp,
};
inline constexpr std::size_t CueCount = 6;
inline constexpr std::array<const char*, CueCount> CueKeys = {
    "word_ok",        "word_err",      "Game_CityMissShoot",
    "Game_CityShoot", "Game_CityHurt", "Game_DifficultyIncrease",
};

// Which wave file sounds for which event, and whether the user wants it:
// every handler asks the live profile at the moment of the event, so a
// switch changed in the profile dialog applies at once.
class TSoundCues
{
public:
    explicit TSoundCues(TCuePlayer& player) : player_(player) {}

    // Reads <programDir>media/media.ini once. A missing file or key leaves
    // the path naming the media folder itself, which plays nothing (the
    // player then sounds the desktop's alert).
    void ReadCueNames(const std::string& programDir);
    const std::string& CuePath(TCue cue) const { return paths_[static_cast<std::size_t>(cue)]; }

    // The live profile; none silences every cue.
    void SetProfile(const TProfile* profile) { profile_ = profile; }

    // The drill windows' events, under DrillSoundEnabled.
    void CueLineDone();
    void CueWrongKey();
    void CueReturnExpected();
    // The game window's events, under GameSoundEnabled.
    void CueMiss();
    void CueShoot();
    void CueCityHurt();
    void CueLevelUp();

private:
    void PlayDrillCue(TCue cue);
    void PlayGameCue(TCue cue);

    TCuePlayer& player_;
    const TProfile* profile_ = nullptr;
    std::array<std::string, CueCount> paths_;
};
