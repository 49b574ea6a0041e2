// SPDX-License-Identifier: GPL-3.0-or-later
// Plays a game offscreen at difficulty 10 on the shipped English words, with
// a bot that types every word correctly at 300 keys per minute, for 60
// seconds. Reports the CPU time used (goal: under 5 % of one core), the worst
// gap between two loop iterations (goal: under 30 ms), and the final score,
// hits and lost words. Arguments: the word file, the seconds to play.
#include "OffscreenScreen.h"
#include "app/ui/FormInput.h"
#include "base/CodePage.h"
#include "base/ui/MessageBoxes.h"
#include "game/GameSettings.h"
#include "game/ui/game.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int KeyIntervalMs = 60'000 / 300;

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The next key of the word being typed, else the first key of the word that
// appeared first; 0 when there is nothing to type.
char NextKey(const TGameCore& core)
{
    if (core.Selecting && core.Selected)
        return core.Selected->Word[static_cast<std::size_t>(core.Selected->Typed)];
    for (const TStrikerPtr& word : core.Strikers)
        if (word->State == TStrikerState::Falling && !word->Word.empty())
            return word->Word[0];
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // A 1024 x 768 screen.
    const TOffscreenScreen screen;
    if (!screen.Ready())
        return 1;
    QApplication app(argc, argv);

    const QString words = argc > 1
                              ? QString::fromLocal8Bit(argv[1])
                              : QFileInfo(QStringLiteral(__FILE__))
                                    .dir()
                                    .filePath(QStringLiteral("../data/Courses/English/Game.txt"));
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 60;

    QString result;
    TMessageBoxes::SetResponder([&result](TMessageBoxes::Kind kind, const QString& text) {
        if (kind == TMessageBoxes::Kind::Information)
            result = text;
        return true;
    });

    const TCodePage codePage;
    TgameFrame frame(codePage);
    frame.SetGameFile(QDir::cleanPath(words).toStdString());
    frame.show();
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<THInputBox*>(QApplication::activeModalWidget());
        box->Edit->setText(QStringLiteral("10"));
        box->BnOK->click();
    });
    frame.StartGame();
    if (!frame.Engine) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(words));
        return 1;
    }
    TGameCore& core = frame.Engine->Core();

    long iterations = 0;
    long longGaps = 0; // over 15 ms: a tick was missed
    double worstGapMs = 0;
    double worstGapAt = 0; // seconds into the game
    Clock::time_point first;
    Clock::time_point last;
    QObject::connect(frame.Engine.get(), &threadType::Iterated, [&] {
        const Clock::time_point now = Clock::now();
        if (iterations++ == 0)
            first = now;
        else {
            const double gap = std::chrono::duration<double, std::milli>(now - last).count();
            longGaps += gap > 15 ? 1 : 0;
            if (gap > worstGapMs) {
                worstGapMs = gap;
                worstGapAt = std::chrono::duration<double>(now - first).count();
            }
        }
        last = now;
    });

    long keys = 0;
    QTimer bot;
    bot.setInterval(KeyIntervalMs);
    QObject::connect(&bot, &QTimer::timeout, [&] {
        if (frame.GameOver) {
            QApplication::quit();
            return;
        }
        const char key = NextKey(core);
        if (key == 0)
            return;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(key)));
        QCoreApplication::sendEvent(&frame, &press);
        ++keys;
    });
    bot.start();
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);

    const double cpuBefore = CpuSeconds();
    const Clock::time_point start = Clock::now();
    QApplication::exec();
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = CpuSeconds() - cpuBefore;

    std::printf("played %.1f s, %ld iterations, %ld keys typed\n", wall, iterations, keys);
    std::printf("CPU time: %.2f s, %.1f %% of one core (goal 5 %%)\n", cpu, cpu / wall * 100);
    std::printf("worst gap between iterations: %.1f ms at %.1f s (goal 30); %ld gaps over 15 ms\n",
                worstGapMs, worstGapAt, longGaps);
    std::printf("score %d, hits %d, lost %d, level %d%s%s\n", core.Score, core.Hits, core.Lost,
                core.Level, result.isEmpty() ? "" : ", result:", qPrintable(result));
    frame.close();
    return 0;
}
