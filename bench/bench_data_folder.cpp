// SPDX-License-Identifier: GPL-3.0-or-later
// Preparing the user's data folder from the shipped data, as every start of an
// installed Tapwren does: the first time, and then with the folder up to date
// (every shipped and copied course file read and its checksum compared).
// Goal for an up-to-date folder: well under 100 ms; 10 ms here.
#include "ShippedData.h"
#include "app/DataFolder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main()
{
    std::string pattern = (fs::temp_directory_path() / "tapwren-bench-data-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        return 1;
    const fs::path root = pattern;
    const TShippedData shipped = CopyShippedData(root);
    const fs::path target = root / "user";

    const auto time = [&] {
        const auto start = std::chrono::steady_clock::now();
        PrepareDataFolder(shipped.Data.string(), target.string());
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    const double first = time();
    std::vector<double> ms;
    for (int run = 0; run < 51; ++run)
        ms.push_back(time());
    std::ranges::sort(ms);
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(shipped.Data))
        files += entry.is_regular_file() ? 1 : 0;
    std::printf("first preparation (%zu files)  %7.2f ms\n", files, first);
    std::printf("up to date: median %7.2f ms   worst %7.2f ms   %s\n", ms[ms.size() / 2], ms.back(),
                ms[ms.size() / 2] < 10.0 ? "ok" : "SLOWER THAN 10 ms");
    fs::remove_all(root);
    return 0;
}
