// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/GameCore.h"

#include "base/Errors.h"
#include "base/IniFile.h"
#include "base/Translate.h"

#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>
#include <utility>

namespace {

constexpr int DefaultDifficulty = 3;

int ValidDifficulty(int difficulty)
{
    return difficulty >= 1 && difficulty <= 10 ? difficulty : DefaultDifficulty;
}

// A cell of no size or a field of no column would divide by zero later.
TGameSettings Playable(TGameSettings settings)
{
    settings.GameFontSize = std::max(1, settings.GameFontSize);
    settings.Columns = std::max(1, settings.Columns);
    settings.Rows = std::max(0, settings.Rows);
    return settings;
}

std::string ClassName(const std::exception& e)
{
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status), &std::free);
    return status == 0 && name ? name.get() : typeid(e).name();
}

} // namespace

int DifficultyFromEntry(const std::string& entry)
{
    return ValidDifficulty(StrToInt(entry));
}

TGameCore::TGameCore(const std::string& wordFile, TGameView& view, int fieldHeight,
                     const TGameSettings& settings, TRandom random, const TTimeOfDayClock& clock)
    : settings_(Playable(settings)), random_(std::move(random)),
      Source(wordFile, settings_, random_), City(fieldHeight, settings_, random_), GameWatch(clock),
      NewWordTimer(clock), DropTimer(clock), BulletTimer(clock), view_(view)
{
    Source.OnError = [this](const std::string& message) { view_.ShowMessage(message); };
    TotalBricks = City.BrickCount();
    Source.Load();
    UpdateStatus();
}

void TGameCore::SetDifficulty(int difficulty)
{
    Difficulty = ValidDifficulty(difficulty);
    Level = Difficulty;
    NewGame();
}

void TGameCore::NewGame()
{
    Score = Difficulty * 200 + 1000;
    Hits = 0;
    Lost = 0;
    SetLevel(Difficulty);
    BulletInterval = 25;
    Quota = Difficulty * 20 + 50;
    if (OnStart)
        OnStart(Quota, TotalBricks);
}

void TGameCore::SetKey(unsigned char ch)
{
    pendingKey_.store(ch);
}

void TGameCore::Repaint()
{
    City.Draw(view_);
    for (const TStrikerPtr& word : Strikers)
        DrawStriker(*word, view_, settings_);
}

bool TGameCore::Due(TIntervalTimer& timer, int interval)
{
    if (timer.Restart) {
        timer.Watch.SetElapsed(0);
        timer.Watch.Start();
    }
    timer.Restart = interval < timer.Watch.Elapsed();
    return timer.Restart;
}

void TGameCore::SetLevel(int level)
{
    NewWordInterval = settings_.NewWordSpeed - level * settings_.NewWordSpeedBy;
    DropInterval = settings_.DropSpeed - level * settings_.DropSpeedBy;
    if (level != Level) {
        if (OnLevelUp)
            OnLevelUp(*this);
        Score += 300;
        LevelJustChanged = true;
    }
    Level = level;
}

bool TGameCore::HoldNewWords()
{
    if (Strikers.size() > 1 && LevelJustChanged)
        return true;
    LevelJustChanged = false;
    return false;
}

bool TGameCore::Iterate()
{
    if (terminated_)
        return false;
    if (!started_) {
        started_ = true;
        // Game time counts from here, whatever the status line read before.
        GameWatch.SetElapsed(0);
        GameWatch.Start();
        Spawned = 0;
    }

    if (Due(NewWordTimer, NewWordInterval) && Chance(random_, Difficulty * 5 + 20) &&
        Source.Next() && Spawned < Quota && !HoldNewWords()) {
        Strikers.push_back(Source.Current);
        ++Spawned;
        UpdateStatus();
    }
    if (Strikers.empty() && Source.Next() && Spawned < Quota) {
        Strikers.push_back(Source.Current);
        ++Spawned;
    }
    if (Strikers.empty()) {
        End();
        return false;
    }
    if (Due(DropTimer, DropInterval)) {
        DropStep();
        UpdateStatus();
    }
    if (Due(BulletTimer, BulletInterval))
        BulletStep();
    const int key = pendingKey_.exchange(-1);
    if (key >= 0 && key != KeyEscape) {
        CurrentKey = static_cast<unsigned char>(key);
        KeyStep();
    }
    if (Score <= 0) {
        End();
        return false;
    }
    return true;
}

void TGameCore::LoseWord(const strikerType& word)
{
    Score -= 3 * word.Len;
    ++Lost;
    EraseStriker(word, view_, settings_);
    if (word.Typed >= 1)
        Selecting = false;
}

// Rows are tested from the top down, each only while the word's bottom edge
// has not passed the row's own.
bool TGameCore::HitCity(const strikerType& word)
{
    const int size = settings_.GameFontSize;
    const int rows = City.Rows;
    const int bottom = word.Y + size;
    if (bottom < City.Base - rows * size)
        return false;
    const int end = word.Column + word.Len;
    for (int row = 1; row <= rows; ++row) {
        if (bottom < City.Base - (rows - row) * size && City.AnyBrick(row, word.Column, end)) {
            LoseWord(word);
            City.RemoveBricks(row, word.Column, end);
            EraseBricks(City, view_, row, word.Column, end, settings_);
            return true;
        }
    }
    return false;
}

void TGameCore::DropStep()
{
    for (auto it = Strikers.begin(); it != Strikers.end();) {
        strikerType& word = **it;
        if (word.Speed >= Phase && word.State == TStrikerState::Falling) {
            DropStriker(word, view_, settings_);
        } else if (word.State == TStrikerState::Finished) {
            EraseStriker(word, view_, settings_);
            it = Strikers.erase(it);
            continue;
        } else {
            DrawStriker(word, view_, settings_);
        }
        if (settings_.FunSpeed)
            Phase = Phase % 3 + 1;

        if (HitCity(word)) {
            it = Strikers.erase(it);
            UpdateStatus();
            if (OnCityHurt)
                OnCityHurt(*this);
            continue;
        }
        if (word.Y >= City.Base) {
            word.State = TStrikerState::Finished;
            LoseWord(word);
        }
        ++it;
    }
}

void TGameCore::BulletStep()
{
    for (auto it = Bullets.begin(); it != Bullets.end();) {
        if (it->Done) {
            it = Bullets.erase(it);
            continue;
        }
        StepBullet(*it, view_, settings_);
        ++it;
    }
}

void TGameCore::KeyStep()
{
    try {
        KeyStepUnguarded();
    } catch (const std::exception& e) {
        view_.ShowMessage(ClassName(e) + "--" + e.what() + " threadType  strikers_go2");
    }
}

void TGameCore::KeyStepUnguarded()
{
    const char key = static_cast<char>(CurrentKey);
    if (!Selecting) {
        const auto found = std::find_if(Strikers.begin(), Strikers.end(), [key](const auto& w) {
            return w->State == TStrikerState::Falling && !w->Word.empty() && w->Word[0] == key;
        });
        if (found == Strikers.end())
            return;
        Selecting = true;
        Selected = *found;
        Selected->Typed = 1;
        DrawStriker(*Selected, view_, settings_);
        if (Selected->Len == 1)
            Complete(1);
        return;
    }

    strikerType& word = *Selected;
    if (word.Typed >= 0 && word.Typed < word.Len &&
        word.Word[static_cast<std::size_t>(word.Typed)] == key) {
        ++word.Typed;
        DrawStriker(word, view_, settings_);
        if (word.Typed == word.Len)
            Complete(5 * word.Len);
        return;
    }
    word.Typed = -1;
    DrawStriker(word, view_, settings_);
    word.State = TStrikerState::Falling;
    Selecting = false;
    if (OnMiss)
        OnMiss(*this);
}

void TGameCore::Complete(int points)
{
    Selected->State = TStrikerState::Shot;
    Bullets.emplace_back(City.Base + 1, Selected, settings_.GameFontSize);
    Score += points;
    ++Hits;
    UpdateStatus();
    Selecting = false;
    if (OnShoot)
        OnShoot(*this);
    CheckDifficulty();
}

void TGameCore::CheckDifficulty()
{
    const int ratio = Hits / (Lost + 1);
    if (ratio > 20) {
        if (Hits > Quota / 4)
            Bonus = std::max(Bonus, 1);
        if (Hits > Quota / 2)
            Bonus = std::max(Bonus, 2);
        if (Hits > (Quota / 4) * 3)
            Bonus = std::max(Bonus, 3);
    }
    SetLevel(Difficulty + Bonus);
}

std::string TGameCore::StatusLine()
{
    return Format(_(" Difficulty: %d   Hit: %d   Lost: %d   Time: %ds  Score : %d"), Level, Hits,
                  Lost, GameWatch.Elapsed() / 1000, Score);
}

void TGameCore::UpdateStatus()
{
    view_.ShowStatus(StatusLine());
    if (OnStatus)
        OnStatus(City.BrickCount(), Hits, Lost);
}

void TGameCore::End()
{
    if (OnGameOver)
        OnGameOver(*this);
    ShowResult();
    terminated_ = true;
}

TGameResult TGameCore::Result()
{
    const int elapsed = GameWatch.Elapsed();
    const auto perMinute = [elapsed](int words) {
        return static_cast<int>(static_cast<long long>(words) * 60000 / elapsed);
    };
    TGameResult result;
    // A game that ended before any word was shot or lost has no accuracy to speak of.
    result.Accuracy = Hits + Lost > 0 ? Hits * 100 / (Hits + Lost) : 0;
    result.WordsPerMinute = perMinute(Hits);
    result.ExpectedWordsPerMinute = perMinute(Hits + Lost);
    return result;
}

void TGameCore::ShowResult()
{
    const TGameResult result = Result();
    view_.ShowMessage(Format(_("   Accuracy: %d%%   WPM: %d   Expected WPM: %d"), result.Accuracy,
                             result.WordsPerMinute, result.ExpectedWordsPerMinute));
}
