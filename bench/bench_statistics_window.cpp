// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics window on a big history: from its construction (every page
// filled from the history) to the window painted, for the first opening
// and for later ones; and the time to open the history file.
// Make a history of 20 users with a year of daily practice each with
// bench_history FOLDER, build Release, then run offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/bench/bench_statistics_window FOLDER
#include "base/CodePage.h"
#include "history/HistoryStore.h"
#include "history/ui/StatisticsForm.h"
#include "keyboard/MainData.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Ends the loop at the window's first paint.
class TFirstPaint : public QObject
{
public:
    explicit TFirstPaint(QEventLoop& loop) : loop_(loop) {}
    Clock::time_point At;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && At == Clock::time_point{}) {
            At = Clock::now();
            loop_.quit();
        }
        return false;
    }

private:
    QEventLoop& loop_;
};

double OpenOnce(const THistoryQueries& history, const TDataMod& data, const TCodePage& codePage,
                const std::string& user)
{
    QEventLoop loop;
    TFirstPaint paint(loop);
    const auto start = Clock::now();
    TStatisticsFm form(history, data, codePage, user);
    form.installEventFilter(&paint);
    form.show();
    loop.exec();
    return Ms(paint.At - start);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER (holding the history.db of bench_history)\n",
                     argv[0]);
        return 2;
    }
    const TCodePage codePage;
    TDataMod data(codePage);
    if (!data.LoadTemplate(TAPWREN_BUILD_DATA_DIR "Courses/English/layout.twt")) {
        std::fprintf(stderr, "the English keyboard template did not load\n");
        return 1;
    }

    const auto opening = Clock::now();
    const THistoryStore history(std::string(argv[1]) + "/" + HistoryFileName);
    std::printf("opening the history file           %7.2f ms\n", Ms(Clock::now() - opening));
    const std::vector<TUserSummary> users = history.Users();
    if (users.empty()) {
        std::fprintf(stderr, "the history holds nobody\n");
        return 1;
    }
    const std::string& user = users.front().User;
    std::printf("%zu users; %s: %zu days, %zu keys\n", users.size(), user.c_str(),
                history.Days(user, 0).size(), history.Keys(user).size());

    std::printf("first opening of the window        %7.2f ms\n",
                OpenOnce(history, data, codePage, user));
    std::vector<double> later;
    for (int run = 0; run < 20; ++run)
        later.push_back(
            OpenOnce(history, data, codePage, users[std::size_t(run) % users.size()].User));
    std::ranges::sort(later);
    std::printf("later openings                     median %7.2f ms   worst %7.2f ms\n",
                later[later.size() / 2], later.back());
    return 0;
}
