// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Errors.h"
#include "base/IniFile.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::literals;

namespace {

TEST(IniParseInteger, FollowsTheGrammar)
{
    struct Case
    {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const std::vector<Case> cases = {
        {" 12", 12},
        {"\t7", 7},
        {"-7", -7},
        {" +5", 5},
        {"0", 0},
        {"007", 7},
        {"$1F", 31},
        {"$1f", 31},
        {"0x86", 134},
        {"0X86", 134},
        {"X10", 16},
        {"x10", 16},
        {"-$10", -16},
        {"$0000000001", 1},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1},
        {"$80000000", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"$100000000", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"12abc", std::nullopt},
        {"12 ", std::nullopt},
        {"1 2", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
        {"- 5", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"$G", std::nullopt},
        {"0x0x1", std::nullopt},
        {"1F", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(IniStrToInt, ThrowsWithTheText)
{
    EXPECT_EQ(StrToInt("$FF"), 255);
    try {
        StrToInt("12abc");
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_STREQ(e.what(), "'12abc' is not a valid integer value");
    }
}

TEST(IniDocument, ReadsValues)
{
    const TIniDocument doc("top=0\n"
                           "; comment=1\n"
                           "[General]\n"
                           "  User  =  Anna Lee  \n"
                           "user=second\n"
                           "# hidden=1\n"
                           "=nokey\n"
                           "novalue\n"
                           "Empty=\n"
                           "Expr=a=b\n"
                           "[broken\n"
                           "Late=1\n"
                           "[ Other ] trailing\n"
                           "Key=other\n"
                           "[general]\n"
                           "Dup=1\n"
                           "[Zero]\n"
                           "N=a\0b\n"
                           "[]\n"
                           "Anon=1"sv);
    struct Case
    {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const std::vector<Case> cases = {
        {"GENERAL", "USER", "Anna Lee"},
        {"General", " User ", "Anna Lee"},
        {"General", "Empty", ""},
        {"General", "Expr", "a=b"},
        {"General", "Late", "1"},
        {"General", "Dup", std::nullopt},
        {"General", "comment", std::nullopt},
        {"General", "# hidden", std::nullopt},
        {"General", "hidden", std::nullopt},
        {"General", "novalue", std::nullopt},
        {"General", "", std::nullopt},
        {"General", "top", std::nullopt},
        {"", "top", std::nullopt},
        {"other", "key", "other"},
        {"Zero", "N", std::string("a\0b", 3)},
        {"", "Anon", "1"},
        {"broken", "Late", std::nullopt},
        {"Missing", "User", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(doc.Value(c.section, c.key), c.value) << c.section << '/' << c.key;
    EXPECT_TRUE(doc.SectionExists("OTHER"));
    EXPECT_FALSE(doc.SectionExists("broken"));
}

TEST(IniDocument, ListsInFileOrder)
{
    const TIniDocument doc("[b]\nz=1\na=2\nZ=3\n; c=4\nm = 5\n[a]\n[B]\nq=6\n[c]\n");
    EXPECT_EQ(doc.Sections(), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(doc.SectionValues("B"), (std::vector<TKeyValue>{{"z", "1"}, {"a", "2"}, {"m", "5"}}));
    EXPECT_TRUE(doc.SectionValues("a").empty());
    EXPECT_TRUE(doc.SectionValues("none").empty());

    const TIniDocument odd("x[no]\n \t[B]\rk=[v]\r[[c]]\r\n[d\n[e]");
    EXPECT_EQ(odd.Sections(), (std::vector<std::string>{"B", "[c", "e"}));
    EXPECT_EQ(odd.SectionValues("b"), (std::vector<TKeyValue>{{"k", "[v]"}}));
}

TEST(IniDocument, SetValueChangesOnlyWhatItMust)
{
    struct Case
    {
        const char* name;
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"replace in place", "; c\r\n[S]\r\n  KEY = old ; x\r\nb=2\r\n", "s", "key", "new",
         "; c\r\n[S]\r\n  KEY =new\r\nb=2\r\n"},
        {"first duplicate", "[S]\nk=1\nK=2\n", "S", "k", "3", "[S]\nk=3\nK=2\n"},
        {"append after last value", "[S]\na=1\n\n; about T\n[T]\nb=2\n", "S", "c", "3",
         "[S]\na=1\nc=3\n\n; about T\n[T]\nb=2\n"},
        {"append to empty section", "[S]\n\n[T]\n", "S", "c", "3", "[S]\nc=3\n\n[T]\n"},
        {"append terminates last line", "[S]\na=1", "S", "b", "2", "[S]\na=1\nb=2\n"},
        {"new section", "[S]\r\na=1\r\n\r\n", "T", "b", "2", "[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n"},
        {"new section after unterminated", "x=1", "T", "b", "2", "x=1\n[T]\nb=2\n"},
        {"empty document", "", "T", "b", "2", "[T]\nb=2\n"},
        {"CR file", "[S]\ra=1\r", "S", "b", "2", "[S]\ra=1\rb=2\r"},
        {"mixed ends: first line decides", "[S]\r\na=1\nb=2\r", "S", "c", "3",
         "[S]\r\na=1\nb=2\rc=3\r\n"},
        {"replace keeps the line's own end", "[S]\na=1\r\nb=2", "S", "a", "x", "[S]\na=x\r\nb=2"},
        {"duplicate section: first one", "[S]\na=1\n[s]\nb=2\n", "S", "b", "3",
         "[S]\na=1\nb=3\n[s]\nb=2\n"},
        {"section and key trimmed", "[S]\na=1\n", " S ", " b ", "2", "[S]\na=1\nb=2\n"},
    };
    for (const Case& c : cases) {
        TIniDocument doc(c.before);
        doc.SetValue(c.section, c.key, c.value);
        EXPECT_EQ(doc.Content(), c.after) << c.name;
        EXPECT_EQ(doc.Value(c.section, c.key), c.value) << c.name;
    }
}

TEST(IniDocument, RejectsWhatWouldReadBackAsOtherLines)
{
    struct Case
    {
        const char* section;
        const char* key;
        const char* value;
    };
    const std::vector<Case> cases = {
        {"a]b", "k", "v"}, {"a\nb", "k", "v"}, {"S", "", "v"},     {"S", "a=b", "v"},
        {"S", "[k]", "v"}, {"S", ";k", "v"},   {"S", "k\rj", "v"}, {"S", "k", "v\nx=1"},
    };
    const std::string before = "[S]\nk=1\n";
    for (const Case& c : cases) {
        TIniDocument doc(before);
        EXPECT_THROW(doc.SetValue(c.section, c.key, c.value), TError) << c.section << c.key;
        EXPECT_EQ(doc.Content(), before);
    }
}

TEST(IniDocument, EraseSection)
{
    TIniDocument doc("x=0\r\n[A]\r\na=1\r\n; note\r\n[B]\r\nb=2\r\n[a]\r\nc=3\r\n[C]\r\n");
    doc.EraseSection("a");
    EXPECT_EQ(doc.Content(), "x=0\r\n[B]\r\nb=2\r\n[C]\r\n");
    doc.EraseSection("missing");
    doc.EraseSection("C");
    EXPECT_EQ(doc.Content(), "x=0\r\n[B]\r\nb=2\r\n");
    EXPECT_EQ(doc.Sections(), std::vector<std::string>{"B"});
    doc.SetValue("A", "a", "4");
    EXPECT_EQ(doc.Content(), "x=0\r\n[B]\r\nb=2\r\n[A]\r\na=4\r\n");
}

// Arbitrary bytes come back byte for byte and still take a value.
TEST(IniDocument, SurvivesArbitraryBytes)
{
    std::mt19937 random(20240611);
    const std::string_view alphabet = "[]=;#\r\n \tAaz\0\xFF"sv;
    for (int round = 0; round < 300; ++round) {
        std::string content(random() % 200, '\0');
        for (char& c : content)
            c = round % 2 ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
        TIniDocument doc(content);
        ASSERT_EQ(doc.Content(), content);
        for (const std::string& name : doc.Sections())
            doc.SectionValues(name);
        doc.SetValue("Probe", "Key", "Value");
        EXPECT_EQ(TIniDocument(doc.Content()).Value("probe", "key"), "Value");
    }
    const std::string huge = "[" + std::string(1 << 20, 'x');
    EXPECT_EQ(TIniDocument(huge).Content(), huge);
}

// A byte-order mark is no part of the first line, and stays where it is.
TEST(IniDocument, ReadsPastAndKeepsAByteOrderMark)
{
    const std::string bom = "\xEF\xBB\xBF";
    TIniDocument doc(bom + "[Anna]\r\nCourse=English\r\n");
    EXPECT_EQ(doc.Sections(), std::vector<std::string>{"Anna"});
    EXPECT_EQ(doc.Value("Anna", "Course"), "English");
    doc.SetValue("anna", "Course", "Deutsch");
    EXPECT_EQ(doc.Content(), bom + "[Anna]\r\nCourse=Deutsch\r\n");

    TIniDocument only(bom);
    only.SetValue("S", "k", "v");
    EXPECT_EQ(only.Content(), bom + "[S]\nk=v\n");
}

class IniFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = testing::TempDir() + "tapwren_ini_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        path_ = dir_ / "tw.ini";
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string Slurp(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    static void Put(const fs::path& path, const std::string& content)
    {
        std::ofstream(path, std::ios::binary) << content;
    }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            if (entry.path().filename() != LockName)
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Holds the writers' lock of the folder, as another program writing there would.
    class TForeignLock
    {
    public:
        explicit TForeignLock(const fs::path& dir)
            : fd_(open((dir / LockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666))
        {
            struct flock lock
            {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            held_ = fd_ >= 0 && fcntl(fd_, F_OFD_SETLK, &lock) == 0;
        }
        ~TForeignLock() { close(fd_); }
        bool Held() const { return held_; }

    private:
        int fd_;
        bool held_ = false;
    };

    static constexpr const char* LockName = ".tapwren.lock";
    fs::path dir_;
    fs::path path_;
};

TEST_F(IniFileTest, MissingFileGivesDefaultsAndStaysMissing)
{
    const TIniFile ini(path_.string());
    EXPECT_EQ(ini.ReadString("General", "User", "Default"), "Default");
    EXPECT_EQ(ini.ReadInteger("General", "FontCharset", 1), 1);
    EXPECT_TRUE(ini.ReadBool("General", "ToRestoreLayout", true));
    EXPECT_TRUE(ini.ReadSections().empty());
    EXPECT_FALSE(ini.SectionExists("General"));
    TIniFile(path_.string()).EraseSection("General");
    EXPECT_FALSE(fs::exists(path_));
}

TEST_F(IniFileTest, ReadsTypedValues)
{
    Put(path_, "[General]\nCharset=0x86\nLetters=abc\nEmpty=\nOff=0\nTwo=2\nBig=2147483648\n");
    const TIniFile ini(path_.string());
    EXPECT_EQ(ini.ReadInteger("General", "Charset", 1), 134);
    EXPECT_EQ(ini.ReadInteger("General", "Letters", 1), 1);
    EXPECT_EQ(ini.ReadInteger("General", "Empty", 1), 1);
    EXPECT_EQ(ini.ReadInteger("General", "Big", 1), 1);
    EXPECT_FALSE(ini.ReadBool("General", "Off", true));
    EXPECT_TRUE(ini.ReadBool("General", "Two", false));
    EXPECT_FALSE(ini.ReadBool("General", "Letters", false));
}

TEST_F(IniFileTest, WritesAreSeenByTheNextRead)
{
    Put(path_, "; settings\r\n[General]\r\nUser=Old\r\nOther=kept\r\n");
    TIniFile ini(path_.string());
    ini.WriteString("general", "user", "New");
    ini.WriteInteger("General", "FontCharset", -5);
    ini.WriteBool("General", "ToRestoreLayout", true);
    ini.WriteBool("General", "Flag", false);
    ini.WriteString("Second", "Key", "v");
    EXPECT_EQ(Slurp(path_), "; settings\r\n[General]\r\nUser=New\r\nOther=kept\r\n"
                            "FontCharset=-5\r\nToRestoreLayout=1\r\nFlag=0\r\n"
                            "[Second]\r\nKey=v\r\n");
    EXPECT_EQ(ini.ReadInteger("General", "FontCharset", 0), -5);
    ini.EraseSection("GENERAL");
    EXPECT_EQ(Slurp(path_), "; settings\r\n[Second]\r\nKey=v\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"tw.ini"});
}

TEST_F(IniFileTest, WriteCreatesTheFile)
{
    TIniFile(path_.string()).WriteString("General", "User", "Anna");
    EXPECT_EQ(Slurp(path_), "[General]\nUser=Anna\n");
}

TEST_F(IniFileTest, ReplaceKeepsPermissionsAndSymlinks)
{
    const fs::path real = dir_ / "real.ini";
    Put(real, "[S]\na=1\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real.ini", path_);
    TIniFile(path_.string()).WriteString("S", "a", "2");
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(Slurp(real), "[S]\na=2\n");
    EXPECT_EQ(fs::status(real).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(IniFileTest, UnreadableFileThrows)
{
    fs::create_directory(path_);
    try {
        TIniFile(path_.string()).ReadString("S", "k", "");
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + path_.string() + "\". " + std::strerror(EISDIR));
    }
}

TEST_F(IniFileTest, WriteIntoMissingFolderNamesThePath)
{
    const std::string path = (dir_ / "absent" / "tw.ini").string();
    try {
        TIniFile(path).WriteString("S", "k", "v");
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
}

// A file size limit makes the write fail the way a full disk does.
TEST_F(IniFileTest, FailedWriteLeavesTheOldFile)
{
    const std::string old = "[S]\r\na=1\r\n";
    Put(path_, old);
    rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        TIniFile(path_.string()).WriteString("S", "b", std::string(1000, 'x'));
    } catch (const TError& e) {
        message = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(message, "Unable to write to " + path_.string());
    EXPECT_EQ(Slurp(path_), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"tw.ini"});
}

TEST_F(IniFileTest, FailingEditWritesNothing)
{
    Put(path_, "[S]\na=1\n");
    TIniFile ini(path_.string());
    EXPECT_THROW(ini.Update([](TIniDocument& doc) {
        doc.SetValue("S", "a", "2");
        StrToInt("bad");
    }),
                 TError);
    EXPECT_EQ(Slurp(path_), "[S]\na=1\n");
}

// The lock is a file of its own, which network file systems can lock too,
// and a writer waits for it only a bounded time.
TEST_F(IniFileTest, LockedFileFailsAfterABoundedWaitNamingTheFile)
{
    Put(path_, "[S]\na=1\n");
    TIniFile ini(path_.string());
    ini.SetLockWait(std::chrono::milliseconds(200));
    {
        const TForeignLock other(dir_);
        ASSERT_TRUE(other.Held());
        try {
            ini.WriteString("S", "a", "2");
            FAIL() << "no error";
        } catch (const TError& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + path_.string() +
                                                 ": the file is in use by another program.");
        }
        EXPECT_EQ(Slurp(path_), "[S]\na=1\n");
    }
    ini.WriteString("S", "a", "2");
    EXPECT_EQ(Slurp(path_), "[S]\na=2\n");
}

// A temporary file left by a writer that was killed mid-write is removed by
// the next write; one that may still be written (its writer holds the lock)
// is never touched.
TEST_F(IniFileTest, StaleTemporariesGoOnTheNextWrite)
{
    Put(path_, "[S]\na=1\n");
    Put(dir_ / ".tw.ini.Ab12Cd", "[S]\na=half");
    Put(dir_ / ".other.ini.Ab12Cd", "another file's");
    Put(dir_ / ".tw.ini.notmine", "not a temporary");
    TIniFile ini(path_.string());
    ini.SetLockWait(std::chrono::milliseconds(100));
    {
        const TForeignLock writer(dir_);
        ASSERT_TRUE(writer.Held());
        EXPECT_THROW(ini.WriteString("S", "a", "2"), TError);
        EXPECT_TRUE(fs::exists(dir_ / ".tw.ini.Ab12Cd"));
    }
    ini.WriteString("S", "a", "2");
    EXPECT_EQ(Entries(),
              (std::vector<std::string>{".other.ini.Ab12Cd", ".tw.ini.notmine", "tw.ini"}));
}

TEST_F(IniFileTest, WriteProtectedFileIsNotWritten)
{
    Put(path_, "[S]\na=1\n");
    fs::permissions(path_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    try {
        TIniFile(path_.string()).WriteString("S", "a", "2");
        FAIL() << "no error";
    } catch (const TError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path_.string());
    }
    EXPECT_EQ(Slurp(path_), "[S]\na=1\n");
    EXPECT_EQ(fs::status(path_).permissions(),
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

// A user who may write a file of another owner's in a shared group folder
// cannot keep its owner, but keeps its group.
TEST_F(IniFileTest, ReplaceKeepsTheGroupWhereTheOwnerCannotBeKept)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to set up two users";
    constexpr uid_t User = 65534;
    constexpr gid_t UserGroup = 65534;
    constexpr gid_t SharedGroup = 100;
    Put(path_, "[S]\na=1\n");
    ASSERT_EQ(chown(path_.c_str(), 0, SharedGroup), 0);
    ASSERT_EQ(chmod(path_.c_str(), 0664), 0);
    ASSERT_EQ(chown(dir_.c_str(), 0, SharedGroup), 0);
    ASSERT_EQ(chmod(dir_.c_str(), 0775), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        const gid_t groups[] = {SharedGroup};
        if (setgroups(1, groups) != 0 || setgid(UserGroup) != 0 || setuid(User) != 0)
            _exit(2);
        try {
            TIniFile(path_.string()).WriteString("S", "a", "2");
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    ASSERT_GT(pid, 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    struct stat info;
    ASSERT_EQ(stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, User);
    EXPECT_EQ(info.st_gid, SharedGroup);
    EXPECT_EQ(info.st_mode & 07777, 0664u);
    EXPECT_EQ(Slurp(path_), "[S]\na=2\n");
}

// Two processes each write their own section many times; the writers' lock
// keeps either from writing back a copy that lacks the other's last change.
TEST_F(IniFileTest, ConcurrentUpdatesLoseNothing)
{
    constexpr int Rounds = 200;
    const auto writer = [this](const char* section) {
        const pid_t pid = fork();
        if (pid == 0) {
            try {
                TIniFile ini(path_.string());
                for (int i = 0; i < Rounds; ++i)
                    ini.Update([&](TIniDocument& doc) {
                        doc.SetValue(section, "Last", std::to_string(i));
                        doc.SetValue(section, "K" + std::to_string(i), "1");
                    });
            } catch (...) {
                _exit(1);
            }
            _exit(0);
        }
        return pid;
    };
    const pid_t first = writer("First");
    const pid_t second = writer("Second");
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    for (const pid_t pid : {first, second}) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const TIniFile ini(path_.string());
    for (const char* section : {"First", "Second"}) {
        EXPECT_EQ(ini.ReadInteger(section, "Last", -1), Rounds - 1) << section;
        EXPECT_EQ(ini.ReadSectionValues(section).size(), Rounds + 1u) << section;
    }
}

} // namespace
