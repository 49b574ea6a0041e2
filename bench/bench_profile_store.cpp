// SPDX-License-Identifier: GPL-3.0-or-later
// The profile store with 10,000 users: listing them, loading the last one and
// saving one. Goal: each under 20 ms.
#include "base/IniFile.h"
#include "profile/ProfileStore.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int Users = 10000;
constexpr int Runs = 21;

std::string UserName(int i)
{
    return "User " + std::to_string(i);
}

// The store written at once: saving 10,000 users one by one would time the
// set-up, not the store.
void BuildStore(const std::string& path)
{
    TIniDocument doc;
    TProfile profile;
    profile.LoadFromStrings({});
    profile.Course = "English";
    for (int i = 0; i < Users; ++i) {
        profile.Progress = i;
        WriteProfile(doc, UserName(i), profile);
    }
    std::ofstream(path, std::ios::binary) << doc.Content();
}

void Time(const char* what, const std::function<void()>& step)
{
    std::vector<double> ms;
    for (int run = 0; run < Runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        step();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        ms.push_back(took.count());
    }
    std::ranges::sort(ms);
    std::printf("%-28s median %7.2f ms   worst %7.2f ms   %s\n", what, ms[ms.size() / 2], ms.back(),
                ms[ms.size() / 2] < 20.0 ? "ok" : "SLOWER THAN 20 ms");
}

} // namespace

int main()
{
    std::string dir = (fs::temp_directory_path() / "tapwren-bench-XXXXXX").string();
    if (!mkdtemp(dir.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string path = dir + "/twc.ini";
    BuildStore(path);
    std::printf("%d users, %ju bytes\n", Users, static_cast<std::uintmax_t>(fs::file_size(path)));

    TProfileStore store(path);
    const std::string last = UserName(Users - 1);
    std::size_t listed = 0;
    Time("list users", [&] { listed = store.Users().size(); });
    TProfile profile;
    Time("load the last profile", [&] { store.LoadProfile(profile, last); });
    Time("save the last profile", [&] {
        ++profile.Progress;
        store.SaveProfile(profile, last);
    });

    fs::remove_all(dir);
    return listed == Users ? 0 : 1;
}
