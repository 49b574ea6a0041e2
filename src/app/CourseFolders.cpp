// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CourseFolders.h"

#include "base/CodePage.h"
#include "base/Errors.h"
#include "base/Translate.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool IsCourseFolderName(const std::string& course)
{
    return !course.empty() && course != "." && course != ".." &&
           course.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

TCourseFolders::TCourseFolders(std::string dataDir, const TCodePage& codePage)
    : dataDir_(std::move(dataDir)), codePage_(codePage)
{}

std::vector<std::string> TCourseFolders::List() const
{
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator entries(CoursesDir(), error);
    if (error)
        return names;
    for (const fs::directory_entry& entry : entries) {
        std::error_code ignored;
        if (!entry.is_directory(ignored))
            continue;
        const std::string onDisk = entry.path().filename().string();
        const std::string course = codePage_.FromUtf8(onDisk);
        // Only a name that converts back to the same folder can be kept.
        if (IsCourseFolderName(course) && codePage_.ToUtf8(course) == onDisk)
            names.push_back(course);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string TCourseFolders::FilePath(const std::string& course, const std::string& fileName) const
{
    if (!IsCourseFolderName(course))
        throw TError(Format(_("\"%s\" is not a course folder name. Please choose a course in the "
                              "profile."),
                            codePage_.ToUtf8(course).c_str()));
    return CoursesDir() + codePage_.ToUtf8(course) + "/" + fileName;
}
