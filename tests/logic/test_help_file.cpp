// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HelpFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class HelpFile : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tapwren-help-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern + "/";
        fs::create_directories(dir_ + "help");
        for (const char* name : {"manual.html", "manual.de.html"})
            std::ofstream(dir_ + "help/" + name) << "<html></html>";
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string dir_;
};

TEST_F(HelpFile, ManualInTheProgramsLanguageWhereOneExists)
{
    struct Case
    {
        const char* language;
        const char* file;
    };
    for (const Case& c : {Case{"", "manual.html"}, Case{"de", "manual.de.html"},
                          Case{"de_AT", "manual.de.html"}, Case{"de_DE.UTF-8", "manual.de.html"},
                          Case{"fr", "manual.html"}, Case{"../de", "manual.html"}})
        EXPECT_EQ(ManualPath(dir_, c.language), dir_ + "help/" + c.file) << c.language;
}

TEST(CatalogueLanguage, NoCatalogueMeansEnglish)
{
    // The test program binds no catalogue.
    EXPECT_EQ(CatalogueLanguage(), "");
}

} // namespace
