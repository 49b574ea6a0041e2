// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <mutex>

// Hands the pacing timer's ticks to the engine's thread. The engine waits for
// a tick at the end of each iteration; ticks that come while it is busy do
// not pile up, so it never runs two iterations to catch up.
class TGamePacer
{
public:
    // From the timer, on any thread.
    void Tick();
    // Wakes the waiting engine for good: Wait answers false from now on.
    void Stop();
    // Blocks until a tick has come since the last Wait, then answers true;
    // answers false at once when stopped.
    bool Wait();

private:
    std::mutex mutex_;
    std::condition_variable ticked_;
    bool tick_ = false;
    bool stopped_ = false;
};
