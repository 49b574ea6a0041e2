// SPDX-License-Identifier: GPL-3.0-or-later
// The manual as the build lays it out beside the program: both languages are
// there, every picture and link of a page leads somewhere, and the window
// texts a page names are the texts the windows show in its language.
#include "app/HelpFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string HelpDir = TAPWREN_BUILD_HELP_DIR;

std::string ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.good()) << path;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Matches(const std::string& text, const std::regex& pattern)
{
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1].str());
    return found;
}

std::set<std::string> Ids(const std::string& page)
{
    const std::vector<std::string> ids = Matches(page, std::regex(R"re(\sid="([^"]+)")re"));
    return {ids.begin(), ids.end()};
}

// The texts of a catalogue without their "&" accelerator marks, the
// English ones (msgid) or the translations (msgstr).
std::set<std::string> CatalogueTexts(const std::string& path, const std::string& keyword)
{
    std::set<std::string> texts;
    std::istringstream lines(ReadText(path));
    std::string line;
    std::string current;
    bool inside = false;
    const auto finish = [&] {
        if (inside && !current.empty())
            texts.insert(current);
        current.clear();
        inside = false;
    };
    while (std::getline(lines, line)) {
        if (line.rfind(keyword + " \"", 0) == 0) {
            finish();
            inside = true;
            line.erase(0, keyword.size() + 1);
        } else if (line.empty() || line[0] != '"') {
            finish();
            continue;
        }
        if (!inside || line.size() < 2)
            continue;
        for (std::size_t i = 1; i + 1 < line.size(); ++i) {
            if (line[i] == '\\' && i + 2 < line.size())
                ++i;
            if (line[i] != '&')
                current += line[i];
        }
    }
    finish();
    return texts;
}

struct Page
{
    const char* file;
    const char* language;
    const char* catalogueKeyword;
};

const Page Pages[] = {{"manual.html", "", "msgid"}, {"manual.de.html", "de", "msgstr"}};

TEST(ManualPages, BothLanguagesLieBesideTheProgram)
{
    const std::string programDir = fs::path(HelpDir).parent_path().parent_path().string() + "/";
    for (const Page& page : Pages) {
        EXPECT_TRUE(fs::is_regular_file(HelpDir + page.file)) << page.file;
        EXPECT_EQ(ManualPath(programDir, page.language), HelpDir + page.file) << page.language;
    }
}

TEST(ManualPages, EveryPictureAndLinkLeadsSomewhere)
{
    const std::regex reference(R"re(\s(?:src|href)="([^"]*)")re");
    for (const Page& page : Pages) {
        const std::string text = ReadText(HelpDir + page.file);
        const std::vector<std::string> targets = Matches(text, reference);
        EXPECT_GT(targets.size(), 20U) << page.file;
        std::size_t pictures = 0;
        for (const std::string& target : targets) {
            if (target.rfind("https://", 0) == 0)
                continue;
            const std::size_t hash = target.find('#');
            const std::string file = target.substr(0, hash);
            const std::string fragment = hash == std::string::npos ? "" : target.substr(hash + 1);
            const std::string linked = file.empty() ? page.file : file;
            ASSERT_TRUE(fs::is_regular_file(HelpDir + linked)) << page.file << ": " << target;
            if (!fragment.empty()) {
                EXPECT_TRUE(Ids(ReadText(HelpDir + linked)).count(fragment))
                    << page.file << ": " << target;
            }
            if (file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0) {
                ++pictures;
                EXPECT_GT(fs::file_size(HelpDir + file), 1000U) << file;
            }
        }
        EXPECT_GE(pictures, 7U) << page.file;
    }
}

TEST(ManualPages, WindowTextsAreThoseOfTheWindows)
{
    const std::regex uiText(R"re(<span class="ui">([^<]+)</span>)re");
    for (const Page& page : Pages) {
        const std::set<std::string> shown =
            CatalogueTexts(TAPWREN_SOURCE_DIR "/po/de.po", page.catalogueKeyword);
        const std::vector<std::string> named = Matches(ReadText(HelpDir + page.file), uiText);
        EXPECT_GT(named.size(), 30U) << page.file;
        for (const std::string& text : named)
            EXPECT_TRUE(shown.count(text))
                << page.file << " names \"" << text << "\", which no window shows";
    }
}

} // namespace
