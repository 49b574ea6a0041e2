// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/GamePacer.h"

void TGamePacer::Tick()
{
    {
        const std::lock_guard lock(mutex_);
        tick_ = true;
    }
    ticked_.notify_one();
}

void TGamePacer::Stop()
{
    {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    ticked_.notify_all();
}

bool TGamePacer::Wait()
{
    std::unique_lock lock(mutex_);
    ticked_.wait(lock, [this] { return tick_ || stopped_; });
    tick_ = false;
    return !stopped_;
}
