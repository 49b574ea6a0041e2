// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/ui/GameThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace {

// How often Join looks for an iteration the thread is waiting for.
constexpr int JoinPollMs = 2;

} // namespace

threadType::threadType(const std::string& wordFile, TGameView& view, int fieldHeight,
                       QObject* parent)
    : QThread(parent), core_(wordFile, view, fieldHeight)
{
    connect(
        this, &QThread::finished, this,
        [this] {
            if (OnTerminate)
                OnTerminate();
        },
        Qt::QueuedConnection);
    // On the thread itself, as it finishes: after everything it did.
    connect(
        this, &QThread::finished, this, [this] { const std::lock_guard lock(ended_); },
        Qt::DirectConnection);
}

threadType::~threadType()
{
    OnTerminate = nullptr;
    Stop();
    Join();
}

void threadType::Stop()
{
    core_.Stop();
    pacer_.Stop();
}

// The loop of the game: one iteration per tick, each on the user-interface
// thread, until the game is over or stopped. An iteration that never ran
// (its call dropped) ends the loop too.
void threadType::run()
{
    while (pacer_.Wait()) {
        more_ = false;
        QMetaObject::invokeMethod(this, "Step", Qt::BlockingQueuedConnection);
        if (!more_)
            break;
    }
}

void threadType::Step()
{
    if (Paused) {
        more_ = true;
        return;
    }
    more_ = core_.Iterate();
    emit Iterated();
}

void threadType::Join()
{
    // A stopped engine asks for at most one more iteration, which answers
    // false at once; the thread then ends.
    while (!wait(QDeadlineTimer(JoinPollMs)))
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    const std::lock_guard lock(ended_);
}
