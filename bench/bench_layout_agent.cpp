// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard layout agent on the start path: creating it and its Refresh
// must stay under 20 ms together; the registry read they put off is timed on
// its own. Run under an X server (xvfb-run -a -s "-noreset" ...) to include
// the X11 queries.
#include "layout/KeyboardLayoutAgent.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Runs = 21;

double Milliseconds(const std::function<void()>& step)
{
    const auto start = std::chrono::steady_clock::now();
    step();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

void Report(const char* what, std::vector<double> ms, bool goal)
{
    std::ranges::sort(ms);
    std::printf("%-34s median %7.2f ms   worst %7.2f ms   %s\n", what, ms[ms.size() / 2], ms.back(),
                !goal                      ? ""
                : ms[ms.size() / 2] < 20.0 ? "ok"
                                           : "SLOWER THAN 20 ms");
}

} // namespace

int main()
{
    std::vector<double> start, firstList, activate;
    std::size_t names = 0;
    for (int run = 0; run < Runs; ++run) {
        std::unique_ptr<TKeyboardLayoutAgent> agent;
        start.push_back(Milliseconds([&] {
            agent = std::make_unique<TKeyboardLayoutAgent>();
            agent->Refresh();
        }));
        firstList.push_back(Milliseconds([&] { names = agent->AvailableNames().size(); }));
        activate.push_back(Milliseconds([&] { agent->ActivateLayout("00000409"); }));
    }
    std::printf("%zu installed layouts\n", names);
    Report("creation and Refresh", start, true);
    Report("first AvailableNames (registry)", firstList, false);
    Report("ActivateLayout of a loaded one", activate, false);
    return names > 0 ? 0 : 1;
}
