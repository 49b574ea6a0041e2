// SPDX-License-Identifier: GPL-3.0-or-later
// The typing history of a class: 20 users with a year of daily practice
// each, generated; then the file's size, the time to record one line into
// it (what a drill waits for, and the write by the history's thread), and
// the time of each query the statistics window makes.
//
//   bench_history [FOLDER]
//
// With a folder, the generated history is left there as history.db (for
// the statistics window's benchmark); otherwise it goes to a temporary one.
// The history is generated on /dev/shm, where writes cost no disk syncs,
// and then copied to the folder, where the line times are measured.
#include "HistoryGenerator.h"
#include "history/History.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Median and worst of runs of the work, in ms; after each run, untimed.
void Time(
    const char* what, int runs, const std::function<void()>& work,
    const std::function<void()>& after = [] {})
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(Ms(Clock::now() - start));
        after();
    }
    std::ranges::sort(times);
    std::printf("%-34s median %7.3f ms   worst %7.3f ms   (%d runs)\n", what,
                times[times.size() / 2], times.back(), runs);
}

std::string TempFolder(const fs::path& base)
{
    std::string templ = (base / "tapwren-history-bench-XXXXXX").string();
    if (mkdtemp(templ.data()) == nullptr)
        return {};
    return templ + "/";
}

} // namespace

int main(int argc, char** argv)
{
    const std::string scratch = TempFolder("/dev/shm");
    const std::string target =
        argc > 1 ? std::string(argv[1]) + "/" : TempFolder(fs::current_path());
    if (scratch.empty() || target == "/") {
        std::fprintf(stderr, "no folder to work in\n");
        return 1;
    }
    fs::create_directories(target);
    const THistoryShape shape;
    const auto start = Clock::now();
    {
        auto store = OpenHistory(scratch);
        GenerateHistory(*store, shape);
    }
    std::printf("generated %d users x %d days x %d lines + %d game: %.1f s\n", shape.Users,
                shape.Days, shape.LinesPerDay, shape.GamesPerDay, Ms(Clock::now() - start) / 1000);
    fs::copy_file(scratch + HistoryFileName, target + HistoryFileName,
                  fs::copy_options::overwrite_existing);
    fs::remove_all(scratch);
    std::printf("history file %s: %.1f MB\n", (target + HistoryFileName).c_str(),
                double(fs::file_size(target + HistoryFileName)) / (1024 * 1024));

    auto store = OpenHistory(target);
    std::mt19937 random(7);
    const std::string user = GeneratedUser(0);
    // Made beforehand, as a drill has its line when the line ends.
    std::vector<TLineRecord> lines;
    for (int i = 0; i < 400; ++i)
        lines.push_back(
            GeneratedLine(random, shape.FirstDay + std::int64_t{shape.Days} * 86400 + i, 1, 90));
    std::size_t next = 0;
    {
        THistory history(target, user, [](const std::string& message) {
            std::fprintf(stderr, "%s\n", message.c_str());
        });
        Time(
            "one line handed to the history", 200, [&] { history.Add(lines[next++]); },
            [&] { history.Flush(std::chrono::seconds(10)); });
    }
    Time("one line written (disk, in sync)", 200, [&] { store->Record(user, lines[next++]); });
    Time("Days (all activities)", 20, [&] { store->Days(user, 0); });
    Time("Days (course)", 20, [&] { store->Days(user, 1); });
    Time("Keys", 20, [&] { store->Keys(user); });
    Time("Confusions (10)", 20, [&] { store->Confusions(user, 10); });
    Time("SlowPairs (10, seen 10 times)", 20, [&] { store->SlowPairs(user, 10, 10); });
    Time("MissedWords (20)", 20, [&] { store->MissedWords(user, 20); });
    Time("Users", 20, [&] { store->Users(); });
    Time("ExportCsv", 5, [&] { store->ExportCsv(user); });
    store.reset();
    std::printf("history file after the recorded lines: %.1f MB\n",
                double(fs::file_size(target + HistoryFileName)) / (1024 * 1024));
    if (argc <= 1)
        fs::remove_all(target);
    return 0;
}
