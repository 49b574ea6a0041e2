// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/WeakKeyLines.h"
#include "history/HistoryStore.h"
#include "history/KeyShades.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string CourseFile(const std::string& course, const char* name)
{
    return std::string(TAPWREN_SOURCE_DIR) + "/data/Courses/" + course + "/" + name;
}

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The share of the text's characters that are among the keys.
double Share(const std::string& text, const std::vector<unsigned char>& keys)
{
    std::size_t hits = 0;
    std::size_t all = 0;
    for (const char ch : text) {
        if (ch == '\r' || ch == '\n')
            continue;
        ++all;
        hits += std::ranges::count(keys, static_cast<unsigned char>(ch)) > 0 ? 1 : 0;
    }
    return all > 0 ? double(hits) / double(all) : 0.0;
}

// A recorded history in which the keys are mistyped half the time and the
// others never.
class WeakHistory
{
public:
    explicit WeakHistory(const std::string& weak)
    {
        std::string templ = (fs::temp_directory_path() / "tapwren-weak-XXXXXX").string();
        EXPECT_NE(mkdtemp(templ.data()), nullptr);
        dir_ = templ + "/";
        store_ = OpenHistory(dir_);
        const std::string sample = "the quick brown fox jumps over the lazy dog " + weak;
        TLineRecord line;
        line.Sample = sample;
        for (int round = 0; round < 20; ++round) {
            line.Keys.clear();
            for (std::size_t i = 0; i < sample.size(); ++i) {
                const auto ch = static_cast<unsigned char>(sample[i]);
                const bool wrong = weak.find(sample[i]) != std::string::npos && round % 2 == 0;
                line.Keys.push_back({int(i) + 1, ch, wrong ? '#' : int(ch), i == 0 ? 0 : 150});
            }
            store_->Record("Ann", line);
        }
    }
    ~WeakHistory()
    {
        store_.reset();
        fs::remove_all(dir_);
    }
    const THistoryStore& Store() const { return *store_; }

private:
    std::string dir_;
    std::unique_ptr<THistoryStore> store_;
};

struct ShareCase
{
    const char* course;
    const char* weak;
};

class WeakKeyShare : public testing::TestWithParam<ShareCase>
{};

TEST_P(WeakKeyShare, WeakKeysComeAtLeastTwiceAsOftenAsInTheCourse)
{
    const ShareCase& c = GetParam();
    WeakHistory history(c.weak);
    std::vector<unsigned char> keys;
    for (const TKeyFigures& key : WeakestKeys(history.Store().Keys("Ann")))
        if (key.Wrong > 0)
            keys.push_back(key.Key);
    ASSERT_EQ(keys.size(), std::string(c.weak).size());

    const std::string practice = CourseFile(c.course, "Practice.txt");
    const std::string game = CourseFile(c.course, "Game.txt");
    TWeakKeyLineBuilder lines =
        WeakKeyLinesOfCourse(practice, game, keys, history.Store(), "Ann", 7);
    std::string built;
    for (int i = 0; i < 200; ++i)
        built += lines.Next() + ' ';
    const double course = Share(Contents(practice) + Contents(game), keys);
    ASSERT_GT(course, 0.0);
    EXPECT_GE(Share(built, keys), 2 * course) << "course share " << course;
}

INSTANTIATE_TEST_SUITE_P(History, WeakKeyShare,
                         testing::Values(ShareCase{"English", "qz"}, ShareCase{"English", "e"},
                                         ShareCase{"English", "xvb"},
                                         ShareCase{"Deutsch", "\xFC\xE4"},
                                         ShareCase{"Fran\xC3\xA7"
                                                   "ais",
                                                   "\xE9w"}));

// A space, in every word's end, comes more often through shorter words.
TEST(WeakKeyLines, WeakSpaceFavoursShortWords)
{
    const std::string practice = CourseFile("English", "Practice.txt");
    const std::string game = CourseFile("English", "Game.txt");
    const std::vector<std::string> words = CourseWords({Contents(practice), Contents(game)});
    TWeakKeyLineBuilder spaced(words, {' '}, {}, 9);
    TWeakKeyLineBuilder plain(words, {}, {}, 9);
    std::string withSpace;
    std::string withNone;
    for (int i = 0; i < 200; ++i) {
        withSpace += spaced.Next() + ' ';
        withNone += plain.Next() + ' ';
    }
    EXPECT_GE(Share(withSpace, {' '}), 1.2 * Share(withNone, {' '}));
}

TEST(WeakKeyLines, TheRestOfTheKeyboardStaysInTheLines)
{
    const std::vector<std::string> words = CourseWords({"a sea of tea, seas and lakes\r\nbook"});
    TWeakKeyLineBuilder lines(words, {'s'}, {}, 3);
    int without = 0;
    int all = 0;
    for (int i = 0; i < 50; ++i) {
        std::istringstream line(lines.Next());
        for (std::string word; line >> word; ++all)
            without += word.find('s') == std::string::npos ? 1 : 0;
    }
    EXPECT_GT(without, all / 10);
}

TEST(WeakKeyLines, SlowPairsMakeTheirWordsCome)
{
    const std::vector<std::string> words = {"this", "that", "sat", "ask", "pin",
                                            "map",  "dog",  "cup", "run", "bed"};
    TWeakKeyLineBuilder plain(words, {}, {}, 5);
    TWeakKeyLineBuilder paired(words, {}, {{'t', 'h'}}, 5);
    const auto count = [](TWeakKeyLineBuilder& lines) {
        int th = 0;
        for (int i = 0; i < 100; ++i) {
            const std::string line = lines.Next();
            for (std::size_t at = line.find("th"); at != std::string::npos;
                 at = line.find("th", at + 1))
                ++th;
        }
        return th;
    };
    EXPECT_GE(count(paired), 2 * count(plain));
}

struct FullCase
{
    const char* name;
    std::vector<std::string> words;
    std::size_t shortest; // the line is at least this much short of full
};

class WeakKeyFull : public testing::TestWithParam<FullCase>
{};

TEST_P(WeakKeyFull, FewWordsStillGiveFullLines)
{
    const FullCase& c = GetParam();
    TWeakKeyLineBuilder lines(c.words, {'q'}, {}, 11);
    for (int i = 0; i < 20; ++i) {
        const std::string line = lines.Next();
        EXPECT_LE(line.size(), WeakKeyLineLength);
        EXPECT_GT(line.size() + c.shortest + 1, WeakKeyLineLength) << line;
        EXPECT_NE(line.front(), ' ');
        EXPECT_NE(line.back(), ' ');
    }
}

INSTANTIATE_TEST_SUITE_P(
    History, WeakKeyFull,
    testing::Values(FullCase{"OneWord", {"quay"}, 4}, FullCase{"TwoWords", {"a", "queue"}, 1},
                    FullCase{"LongWords", {"quarrelsome", "antidisestablishment"}, 11},
                    FullCase{"WordLongerThanALine", {std::string(100, 'q')}, 0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(WeakKeyLines, NoWordsGiveNoLine)
{
    TWeakKeyLineBuilder lines({}, {'q'}, {}, 1);
    EXPECT_EQ(lines.Next(), "");
    EXPECT_TRUE(CourseWords({" \r\n\t "}).empty());
}

TEST(WeakKeyLines, CourseWordsComeOnceInTheOrderFirstSeen)
{
    EXPECT_EQ(CourseWords({"the cat\r\nthe hat,", "cat\ndog"}),
              (std::vector<std::string>{"the", "cat", "hat,", "dog"}));
}

} // namespace
