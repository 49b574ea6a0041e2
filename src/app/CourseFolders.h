// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class TCodePage;

// The course folders under <data folder>/Courses. A profile keeps its Course
// in the 8-bit code page, while the file system names folders in UTF-8: every
// path formed from a course name, and every name listed from the disk, is
// converted here, so that "Français" read from the disk is stored, shown and
// found again as the same folder.
class TCourseFolders
{
public:
    TCourseFolders(std::string dataDir, const TCodePage& codePage);

    // The names of the course folders (code page bytes), sorted by name.
    // A missing Courses folder gives none; a folder whose name the code
    // page cannot hold is left out, as no profile could name it.
    std::vector<std::string> List() const;

    // <data folder>Courses/<course>/<fileName>. Throws TError when the
    // course is not one plain folder name (empty, ".", "..", or holding "/",
    // "\" or NUL), so no path formed here leaves the Courses folder.
    std::string FilePath(const std::string& course, const std::string& fileName) const;

    std::string CoursesDir() const { return dataDir_ + "Courses/"; }

private:
    std::string dataDir_;
    const TCodePage& codePage_;
};

// Whether the course name (code page bytes) is one plain folder name.
bool IsCourseFolderName(const std::string& course);
