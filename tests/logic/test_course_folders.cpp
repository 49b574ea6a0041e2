// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CourseFolders.h"
#include "base/CodePage.h"
#include "base/Errors.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class CourseFolders : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tapwren-courses-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string DataDir() const { return dir_.string() + "/"; }

    fs::path dir_;
    TCodePage codePage_{1252};
};

TEST_F(CourseFolders, MissingCoursesFolderListsNothing)
{
    EXPECT_TRUE(TCourseFolders(DataDir(), codePage_).List().empty());
}

TEST_F(CourseFolders, ListsOnlyFoldersSortedInTheCodePage)
{
    for (const char* name : {"English", "Français", "Deutsch", "Español", "Ελληνικά"})
        fs::create_directories(dir_ / "Courses" / name);
    std::ofstream(dir_ / "Courses" / "notes.txt") << "not a course";

    const std::vector<std::string> expected = {"Deutsch", "English", "Espa\xF1ol",
                                               "Fran\xE7"
                                               "ais"};
    // Greek cannot be held in code page 1252, so no profile could name it.
    EXPECT_EQ(TCourseFolders(DataDir(), codePage_).List(), expected);
}

TEST_F(CourseFolders, ListedNameFindsTheSameFolderAgain)
{
    for (const char* name : {"Français", "Español"}) {
        fs::create_directories(dir_ / "Courses" / name);
        std::ofstream(dir_ / "Courses" / name / "course.txt") << name;
    }
    const TCourseFolders folders(DataDir(), codePage_);
    for (const std::string& course : folders.List()) {
        const std::string path = folders.FilePath(course, "course.txt");
        std::ifstream file(path);
        std::string content;
        std::getline(file, content);
        EXPECT_EQ(content, codePage_.ToUtf8(course)) << path;
    }
    EXPECT_EQ(folders.List().size(), 2u);
}

TEST_F(CourseFolders, FormsPathsInsideCourses)
{
    const TCourseFolders folders(DataDir(), codePage_);
    EXPECT_EQ(folders.FilePath("English", "layout.twt"), DataDir() + "Courses/English/layout.twt");
    EXPECT_EQ(folders.FilePath("Fran\xE7"
                               "ais",
                               "Game.txt"),
              DataDir() + "Courses/Français/Game.txt");
    EXPECT_EQ(folders.FilePath("a..b", "Game.txt"), DataDir() + "Courses/a..b/Game.txt");
}

TEST_F(CourseFolders, RefusesNamesThatAreNotOnePlainFolder)
{
    const TCourseFolders folders(DataDir(), codePage_);
    for (const std::string& course :
         {std::string(), std::string("."), std::string(".."), std::string("../English"),
          std::string("a/b"), std::string("..\\x"), std::string("a\0b", 3)}) {
        EXPECT_FALSE(IsCourseFolderName(course)) << course;
        try {
            folders.FilePath(course, "course.txt");
            ADD_FAILURE() << course;
        } catch (const TError& e) {
            EXPECT_NE(std::string(e.what()).find("is not a course folder name"), std::string::npos);
        }
    }
}

} // namespace
