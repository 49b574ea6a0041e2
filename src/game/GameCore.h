// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drills/LineEngine.h"
#include "drills/stopw.h"
#include "game/GameActors.h"
#include "game/GameSettings.h"
#include "game/StrikerSource.h"

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <string>

// What a game shows besides its picture; the window implements it.
class TGameView : public TGameCanvas
{
public:
    virtual void ShowStatus(const std::string& text) = 0;
    // An information box with OK.
    virtual void ShowMessage(const std::string& text) = 0;
};

// The engine's loop waits this long for each next iteration.
constexpr int GamePaceMs = 10;

// A difficulty entry as the game window takes it: a whole number, where one
// outside 1..10 means 3. Throws TError "'%s' is not a valid integer value".
int DifficultyFromEntry(const std::string& entry);

// The figures of the result message.
struct TGameResult
{
    int Accuracy = 0;
    int WordsPerMinute = 0;
    int ExpectedWordsPerMinute = 0;

    bool operator==(const TGameResult&) const = default;
};

// An interval timer of the engine: it restarts at the first test after it
// was found due.
struct TIntervalTimer
{
    explicit TIntervalTimer(const TTimeOfDayClock& clock) : Watch(clock) {}

    stopwatch Watch;
    bool Restart = true;
};

class TGameCore;
using TGameEvent = std::function<void(TGameCore& sender)>;

// One game: the words on screen, the bullets, the word source, the city, the
// score and the level, and every decision of the game. It runs one loop
// iteration per pacing tick (Iterate); every call draws on the view at once,
// so all calls belong on the thread that owns the view. Randomness and the
// clock are the caller's, so that a game can be replayed exactly.
class TGameCore
{
    // First, as the source and the city are built with them.
    TGameSettings settings_;
    TRandom random_;

public:
    // Builds the city on a field fieldHeight pixels high and reads the word
    // file; throws TError when the file cannot be read. The view must
    // outlive the game. Settings are taken as they are now.
    TGameCore(const std::string& wordFile, TGameView& view, int fieldHeight,
              const TGameSettings& settings = GameSettings, TRandom random = ClockSeededRandom(),
              const TTimeOfDayClock& clock = LocalTimeOfDayMs);

    TGameEvent OnMiss;
    TGameEvent OnShoot;
    TGameEvent OnCityHurt;
    TGameEvent OnLevelUp;
    // A game that ends with a result, before the result is shown.
    TGameEvent OnGameOver;
    std::function<void(int quota, int totalBricks)> OnStart;
    std::function<void(int bricksLeft, int hits, int lost)> OnStatus;

    // A difficulty outside 1..10 is taken as 3. Starts a new game.
    void SetDifficulty(int difficulty);
    void NewGame();
    // The key mailbox, safe to fill from any thread: a key that comes before
    // the engine took the last one replaces it.
    void SetKey(unsigned char ch);
    void Repaint();

    // One iteration of the engine's loop; the first one starts the game
    // clock. False once the game is over (the result has been shown) or
    // stopped, and from then on it does nothing.
    bool Iterate();
    // Ends the game without a result, as a confirmed exit does; from any thread.
    void Stop() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

    // The steps of the loop.
    bool Due(TIntervalTimer& timer, int interval);
    void SetLevel(int level);
    bool HoldNewWords();
    void DropStep();
    void BulletStep();
    // Judges CurrentKey; an error on the way is shown, and the game goes on.
    void KeyStep();
    void CheckDifficulty();
    void UpdateStatus();
    std::string StatusLine();
    TGameResult Result();
    void ShowResult();

    const TGameSettings& Parameters() const { return settings_; }

    std::list<TStrikerPtr> Strikers; // in the order they appeared
    std::list<bulletType> Bullets;
    strikerSourceType Source;
    cityType City;
    stopwatch GameWatch;
    int Difficulty = 0;
    int Level = 0;
    int Hits = 0;
    int Lost = 0;
    int Quota = 0;
    int NewWordInterval = 0;
    int DropInterval = 0;
    int BulletInterval = 25;
    int Score = 0;
    bool Selecting = false;
    TStrikerPtr Selected;
    int TotalBricks = 0;
    bool LevelJustChanged = false;
    int Phase = 2;
    TIntervalTimer NewWordTimer;
    TIntervalTimer DropTimer;
    TIntervalTimer BulletTimer;
    int Bonus = 0;
    unsigned char CurrentKey = 0;
    int Spawned = 0; // words put on screen this game

private:
    // The game is over: told, its result shown, the loop ended.
    void End();
    void KeyStepUnguarded();
    void Complete(int points);
    void LoseWord(const strikerType& word);
    bool HitCity(const strikerType& word);

    TGameView& view_;
    std::atomic<int> pendingKey_{-1}; // -1: none
    bool started_ = false;
    std::atomic<bool> terminated_{false}; // read by the engine's thread
};
