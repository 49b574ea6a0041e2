// SPDX-License-Identifier: GPL-3.0-or-later
// The user's data folder: seeded from the shipped data, brought up to date
// at every start, and never overwriting what the user made their own.
#include "app/DataFolder.h"
#include "base/Errors.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class DataFolder : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tapwren-data-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        Write(Shipped("tw.ini"), "[General]");
        Write(Shipped("Courses/English/course.txt"), "lesson 1");
        Write(Shipped("Courses/English/Game.txt"), "words 1");
        Write(Shipped("Courses/Two Words/course.txt"), "spaced 1");
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Shipped(const std::string& path) const { return dir_ / "shipped" / path; }
    fs::path Target(const std::string& path) const { return dir_ / "target" / path; }

    static void Write(const fs::path& path, const std::string& content)
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::string Read(const fs::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    std::vector<std::string> Prepare() const
    {
        return PrepareDataFolder((dir_ / "shipped").string(), (dir_ / "target").string());
    }

    fs::path dir_;
};

TEST_F(DataFolder, FirstRunCopiesTheShippedDataAndSaysNothing)
{
    EXPECT_TRUE(Prepare().empty());
    EXPECT_EQ(Read(Target("tw.ini")), "[General]");
    EXPECT_EQ(Read(Target("Courses/English/course.txt")), "lesson 1");
    EXPECT_EQ(Read(Target("Courses/Two Words/course.txt")), "spaced 1");
    // Shipped files are readable by everybody, whatever the umask.
    struct stat info
    {};
    ASSERT_EQ(stat(Target("Courses/English/Game.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(DataFolder, NewShippedVersionReplacesOursButNeverTheSettings)
{
    Prepare();
    Write(Shipped("Courses/English/course.txt"), "lesson 2");
    Write(Shipped("Courses/Two Words/course.txt"), "spaced 2");
    Write(Shipped("tw.ini"), "changed");
    Write(Target("tw.ini"), "my own settings");
    EXPECT_TRUE(Prepare().empty());
    EXPECT_EQ(Read(Target("Courses/English/course.txt")), "lesson 2");
    EXPECT_EQ(Read(Target("Courses/Two Words/course.txt")), "spaced 2");
    EXPECT_EQ(Read(Target("tw.ini")), "my own settings");
}

TEST_F(DataFolder, UsersChangedFileIsKeptAndSaidOnce)
{
    Prepare();
    Write(Target("Courses/English/course.txt"), "my lessons");
    Write(Target("Courses/Mine/course.txt"), "mine");
    Write(Shipped("Courses/English/course.txt"), "lesson 3");
    Write(Shipped("Courses/English/Game.txt"), "words 3");

    const std::vector<std::string> notices = Prepare();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find(Target("Courses/English/course.txt").string()), std::string::npos)
        << notices[0];
    EXPECT_EQ(Read(Target("Courses/English/course.txt")), "my lessons");
    EXPECT_EQ(Read(Target("Courses/English/Game.txt")), "words 3");
    EXPECT_EQ(Read(Target("Courses/Mine/course.txt")), "mine");
    EXPECT_TRUE(Prepare().empty()) << "the kept file is told again";

    // A still newer shipped version is told again, once.
    Write(Shipped("Courses/English/course.txt"), "lesson 4");
    EXPECT_EQ(Prepare().size(), 1u);
    EXPECT_TRUE(Prepare().empty());
}

TEST_F(DataFolder, UpdatesResumeOnceTheUsersCopyIsTheShippedOneAgain)
{
    Prepare();
    Write(Target("Courses/English/course.txt"), "my lessons");
    Write(Shipped("Courses/English/course.txt"), "lesson 3");
    Prepare();
    Write(Target("Courses/English/course.txt"), "lesson 3");
    Prepare();
    Write(Shipped("Courses/English/course.txt"), "lesson 4");
    EXPECT_TRUE(Prepare().empty());
    EXPECT_EQ(Read(Target("Courses/English/course.txt")), "lesson 4");
}

TEST_F(DataFolder, FileTheUserMadeBeforeItWasShippedIsTheirs)
{
    Write(Target("Courses/English/course.txt"), "written by hand");
    EXPECT_EQ(Prepare().size(), 1u);
    EXPECT_EQ(Read(Target("Courses/English/course.txt")), "written by hand");
}

// A data folder an earlier Tapwren prepared goes on as it was: its record of
// what was shipped is read, and written again only when something changed.
TEST_F(DataFolder, KeepsTheRecordOfWhatWasShipped)
{
    Prepare();
    const std::string record = Read(Target(".shipped"));
    EXPECT_NE(record.find(" Courses/Two Words/course.txt\n"), std::string::npos) << record;
    // sha256 of "lesson 1", as sha256sum gives it.
    EXPECT_NE(record.find("564e19bde21a54a3c5d75bc95d134f192c72e844a565f6ece488e08b180a3955"),
              std::string::npos)
        << record;
    const auto written = fs::last_write_time(Target(".shipped"));
    Write(Target(".shipped"), record);
    fs::last_write_time(Target(".shipped"), written - std::chrono::hours(1));
    Prepare();
    EXPECT_EQ(fs::last_write_time(Target(".shipped")), written - std::chrono::hours(1));
}

TEST_F(DataFolder, ReadsTheRecordAnEarlierRunWrote)
{
    // As the data folder's record has always been written: the user's copy of
    // course.txt was kept against "lesson 2" and told; Game.txt is ours.
    Write(Target("Courses/English/course.txt"), "my lessons");
    Write(Target("Courses/English/Game.txt"), "words 1");
    Write(Target(".shipped"),
          "09a1f585ca14d8eb4d0828a796cc026fcdaa1d1ecadddc36cfcc7ef4b8715022 "
          "Courses/English/Game.txt\n"
          "564e19bde21a54a3c5d75bc95d134f192c72e844a565f6ece488e08b180a3955 "
          "Courses/English/course.txt\n"
          "kept c3a68e921a8e22feee64031d2741ec72857edb8d9c764d4fb5374d3de43f2fe1 "
          "Courses/English/course.txt\n");
    Write(Shipped("Courses/English/course.txt"), "lesson 2");
    Write(Shipped("Courses/English/Game.txt"), "words 2");
    EXPECT_TRUE(Prepare().empty());
    EXPECT_EQ(Read(Target("Courses/English/course.txt")), "my lessons");
    EXPECT_EQ(Read(Target("Courses/English/Game.txt")), "words 2");
}

TEST_F(DataFolder, NoTemporaryFileStays)
{
    Prepare();
    Write(Shipped("Courses/English/course.txt"), "lesson 2");
    Prepare();
    for (const auto& entry : fs::recursive_directory_iterator(dir_ / "target"))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(DataFolder, FolderThatCannotBeMadeIsAnError)
{
    Write(dir_ / "target", "a file where the folder should be");
    EXPECT_THROW(Prepare(), TError);
}

TEST(UserDataFolder, FollowsTheBaseDirectorySpecification)
{
    struct Case
    {
        const char* xdgDataHome;
        const char* home;
        const char* folder;
    };
    const Case cases[] = {
        {"/data", "/home/anna", "/data/tapwren/"},
        {"/data/", "/home/anna", "/data/tapwren/"},
        {nullptr, "/home/anna", "/home/anna/.local/share/tapwren/"},
        {"", "/home/anna", "/home/anna/.local/share/tapwren/"},
        // A relative XDG_DATA_HOME is invalid and ignored.
        {"data", "/home/anna", "/home/anna/.local/share/tapwren/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UserDataFolder(c.xdgDataHome, c.home), c.folder)
            << (c.xdgDataHome ? c.xdgDataHome : "(unset)");
}

TEST(UserDataFolder, NoFolderWithoutHome)
{
    for (const char* home : {static_cast<const char*>(nullptr), "", "relative"})
        EXPECT_THROW(UserDataFolder(nullptr, home), TError);
}

} // namespace
