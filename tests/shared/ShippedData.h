// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// The shipped data with the built keyboard templates, copied to
// <root>/data, and an empty program folder <root>/program beside it: a
// program's run on the data a user gets, touching nothing in the tree.
struct TShippedData
{
    std::filesystem::path Data;
    std::filesystem::path Program;
};

inline TShippedData CopyShippedData(const std::filesystem::path& root)
{
    namespace fs = std::filesystem;
    TShippedData copy{root / "data", root / "program"};
    fs::create_directories(copy.Program);
    const auto both = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    fs::copy(TAPWREN_SOURCE_DATA_DIR, copy.Data, both);
    fs::copy(TAPWREN_BUILD_DATA_DIR "Courses", copy.Data / "Courses", both);
    return copy;
}

// The folder name of every course we ship, in name order.
inline std::vector<std::string> ShippedCourses()
{
    std::vector<std::string> courses;
    for (const auto& entry : std::filesystem::directory_iterator(TAPWREN_SOURCE_DATA_DIR "Courses"))
        if (entry.is_directory())
            courses.push_back(entry.path().filename().string());
    std::sort(courses.begin(), courses.end());
    return courses;
}
