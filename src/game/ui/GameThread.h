// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/GameCore.h"
#include "game/GamePacer.h"

#include <QThread>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>

// The engine of one game. Its thread waits for each pacing tick and then has
// one iteration of the game carried out on the user-interface thread, waiting
// until it is done; so the game itself, drawing included, only ever runs on
// the user-interface thread. Created, ticked, stopped and released on the
// user-interface thread.
class threadType : public QThread
{
    Q_OBJECT
public:
    // Builds the city on a field fieldHeight pixels high and reads the word
    // file; throws TError when it cannot be read. The view must outlive the
    // engine. The loop runs once the thread is started.
    threadType(const std::string& wordFile, TGameView& view, int fieldHeight,
               QObject* parent = nullptr);
    // Stops the game and joins the thread.
    ~threadType() override;

    TGameCore& Core() { return core_; }

    // One pacing tick: the waiting loop runs its next iteration.
    void Tick() { pacer_.Tick(); }
    // Ends the game for good, without a result; the thread ends promptly.
    void Stop();

    // While paused, an iteration the loop asks for is skipped, so that the
    // game stands still even if a tick was already on its way.
    bool Paused = false;

    // Called on the user-interface thread once the thread has ended.
    std::function<void()> OnTerminate;

signals:
    // After each iteration, on the user-interface thread.
    void Iterated();

protected:
    void run() override;

private:
    // One iteration, on the user-interface thread; leaves in more_ whether
    // the loop goes on.
    Q_INVOKABLE void Step();
    // Waits for the thread while carrying out the iteration it may be
    // waiting for; the user-interface thread may not simply block on it.
    void Join();

    TGameCore core_;
    TGamePacer pacer_;
    // Atomic, as the thread reads it after a hand-over race detectors
    // cannot see into.
    std::atomic<bool> more_{false};
    // Locked by the thread as it finishes and by Join after it, so that race
    // detectors see the thread's end before the engine is freed.
    std::mutex ended_;
};
