// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Errors.h"
#include "base/IniFile.h"
#include "profile/ProfileStore.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class ProfileStore : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string templ = (fs::temp_directory_path() / "tapwren-store-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        dir_ = templ;
        path_ = (dir_ / "twc.ini").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    void WriteFile(const std::string& content) const
    {
        std::ofstream(path_, std::ios::binary) << content;
    }
    std::string ReadFile() const
    {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    std::vector<TKeyValue> Section(const std::string& name) const
    {
        return TIniDocument(ReadFile()).SectionValues(name);
    }

    fs::path dir_;
    std::string path_;
};

std::vector<TKeyValue> Pairs(const std::vector<std::string>& lines)
{
    std::vector<TKeyValue> pairs;
    for (const std::string& line : lines) {
        const auto eq = line.find('=');
        pairs.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return pairs;
}

TProfile SomeProfile(int progress)
{
    TProfile p;
    p.LoadFromStrings({});
    p.Course = "English";
    p.Progress = progress;
    p.GameFont.StrikeOut = true;
    return p;
}

TEST_F(ProfileStore, MissingFileOrSectionGivesDefaultsAndCreatesNothing)
{
    TProfileStore store(path_);
    TProfile p = SomeProfile(5);
    store.LoadProfile(p, "Ann");
    EXPECT_EQ(p.KeyboardLayout, "00000409");
    EXPECT_EQ(p.BgColor, 8421504);
    EXPECT_EQ(p.Progress, 0);
    EXPECT_TRUE(store.Users().empty());
    store.EraseUser("Ann");
    EXPECT_FALSE(fs::exists(path_));

    WriteFile("[Bob]\nProgress=3\n[Ann]\n");
    p.Progress = 5;
    store.LoadProfile(p, "Ann");
    EXPECT_EQ(p.Progress, 0);
    EXPECT_EQ(p.KeyboardLayout, "00000409");
}

TEST_F(ProfileStore, NewUserIsAppendedWithEveryKeyInOrder)
{
    const std::string before = "[Ann]\nCourse=German\n";
    WriteFile(before);
    const TProfile p = SomeProfile(4);
    TProfileStore(path_).SaveProfile(p, "Bob");

    const std::string after = ReadFile();
    EXPECT_EQ(after.substr(0, before.size()), before);
    EXPECT_EQ(TIniDocument(after).Sections(), (std::vector<std::string>{"Ann", "Bob"}));
    const auto values = Section("Bob");
    EXPECT_EQ(values.size(), 37u);
    EXPECT_EQ(values, Pairs(p.SaveToStrings()));
}

TEST_F(ProfileStore, ExistingUserIsRewrittenInPlaceKeepingOtherKeys)
{
    WriteFile("[Ann]\nNote=keep me\nProgress=3\n[Bob]\nProgress=8\n");
    TProfile p = SomeProfile(9);
    TProfileStore(path_).SaveProfile(p, "ANN");

    auto expected = Pairs(p.SaveToStrings());
    std::erase_if(expected, [](const TKeyValue& kv) { return kv.first == "Progress"; });
    expected.insert(expected.begin(), {{"Note", "keep me"}, {"Progress", "9"}});
    EXPECT_EQ(Section("Ann"), expected);
    EXPECT_EQ(Section("Bob"), (std::vector<TKeyValue>{{"Progress", "8"}}));
    EXPECT_EQ(TIniDocument(ReadFile()).Sections(), (std::vector<std::string>{"Ann", "Bob"}));
}

TEST_F(ProfileStore, BoundProfileRoundTrips)
{
    TProfileStore store(path_);
    TProfile saved = SomeProfile(7);
    saved.UserName = "Ann";
    store.Bind(saved);
    saved.Save();

    TProfile loaded;
    store.Bind(loaded);
    loaded.LoadAs("ann");
    EXPECT_EQ(loaded.SaveToStrings(), saved.SaveToStrings());
    EXPECT_EQ(loaded.GameFont, saved.GameFont);
    EXPECT_TRUE(loaded.UserName.empty());
}

TEST_F(ProfileStore, MalformedIntegerFailsTheLoad)
{
    WriteFile("[Ann]\nCourse=German\nProgress=abc\n");
    TProfile p;
    try {
        TProfileStore(path_).LoadProfile(p, "Ann");
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
    EXPECT_EQ(p.Course, "German");
}

TEST_F(ProfileStore, ListsAndErasesUsersInFileOrder)
{
    const std::string content = "[Cy]\nProgress=1\n[Ann]\nProgress=2\n[Bob]\nProgress=3\n";
    WriteFile(content);
    TProfileStore store(path_);
    EXPECT_EQ(store.Users(), (std::vector<std::string>{"Cy", "Ann", "Bob"}));

    store.EraseUser("Nobody");
    EXPECT_EQ(ReadFile(), content);
    store.EraseUser("ann");
    EXPECT_EQ(store.Users(), (std::vector<std::string>{"Cy", "Bob"}));
    EXPECT_EQ(Section("Bob"), (std::vector<TKeyValue>{{"Progress", "3"}}));
}

class ProfileStoreName : public ProfileStore, public testing::WithParamInterface<std::string>
{};

TEST_P(ProfileStoreName, RefusedNameWritesNothing)
{
    const std::string name = GetParam();
    const std::string content = "[Ann]\nProgress=2\n[Bob]\nProgress=3\n";
    WriteFile(content);
    TProfileStore store(path_);
    TProfile p = SomeProfile(1);
    try {
        store.SaveProfile(p, name);
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_EQ(e.what(), "\"" + std::string(name.c_str()) + "\" cannot be used as a user name.");
    }
    store.EraseUser(name);
    store.LoadProfile(p, name);
    EXPECT_EQ(p.Progress, 0);
    EXPECT_EQ(ReadFile(), content);
}

INSTANTIATE_TEST_SUITE_P(Profile, ProfileStoreName,
                         testing::Values("", "a]b", "]", "a\rb", "a\nb", std::string("a\0b", 3),
                                         " Ann", "Ann ", "\tBob", "Bob\t", " "));

class ProfileStoreOddName : public ProfileStore, public testing::WithParamInterface<std::string>
{};

TEST_P(ProfileStoreOddName, IsStoredVerbatimAndFoundAgain)
{
    const std::string name = GetParam();
    WriteFile("[Ann]\nProgress=2\n");
    TProfileStore store(path_);
    store.SaveProfile(SomeProfile(6), name);
    store.SaveProfile(SomeProfile(7), "Zed");

    EXPECT_EQ(store.Users(), (std::vector<std::string>{"Ann", name, "Zed"}));
    TProfile p;
    store.LoadProfile(p, name);
    EXPECT_EQ(p.Progress, 6);
    store.EraseUser(name);
    EXPECT_EQ(store.Users(), (std::vector<std::string>{"Ann", "Zed"}));
}

INSTANTIATE_TEST_SUITE_P(Profile, ProfileStoreOddName,
                         testing::Values("Zo\xEB M\xFCller", "a=b", "[x", "x[y", ";semi", "#hash",
                                         "a b", "a\tb", "==", "\x7F\xFF", "Ann;Bob"));

TEST_F(ProfileStore, ValueWithLineBreakWritesNothing)
{
    WriteFile("[Ann]\nProgress=2\n");
    TProfile p = SomeProfile(1);
    p.Course = "x\n[Evil]\nProgress=1";
    // FullScreen and BgColor come before Course: the file still holds none of it.
    EXPECT_THROW(TProfileStore(path_).SaveProfile(p, "Ann"), TError);
    EXPECT_EQ(ReadFile(), "[Ann]\nProgress=2\n");
}

TEST_F(ProfileStore, FailedWriteNamesTheFile)
{
    const std::string path = (dir_ / "missing" / "twc.ini").string();
    try {
        TProfileStore(path).SaveProfile(SomeProfile(1), "Ann");
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_EQ(e.what(), "Unable to write to " + path);
    }
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

// Two programs saving at once: each save is one read-modify-write under the
// folder's lock, so neither loses the other's section.
TEST_F(ProfileStore, ConcurrentSavesFromTwoProcessesKeepEverySection)
{
    WriteFile("[Keep]\nProgress=1\n");
    constexpr int Rounds = 100;
    std::vector<pid_t> children;
    for (const char* user : {"Ann", "Bob"}) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int status = 0;
            try {
                TProfileStore store(path_);
                for (int i = 1; i <= Rounds; ++i)
                    store.SaveProfile(SomeProfile(i), user);
            } catch (...) {
                status = 1;
            }
            _exit(status);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    TProfileStore store(path_);
    const auto users = store.Users();
    EXPECT_EQ(users.size(), 3u);
    EXPECT_EQ(users.front(), "Keep");
    for (const char* user : {"Ann", "Bob"}) {
        TProfile p;
        store.LoadProfile(p, user);
        EXPECT_EQ(p.Progress, Rounds) << user;
        EXPECT_EQ(Section(user).size(), 37u) << user;
    }
}

} // namespace
