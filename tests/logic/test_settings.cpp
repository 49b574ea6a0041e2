// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/GlobalVar.h"
#include "base/IniFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tapwren-settings-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    void WriteIni(const std::string& content)
    {
        std::ofstream(dir_ / "tw.ini", std::ios::binary) << content;
    }
    std::string ReadIni() const
    {
        std::ifstream in(dir_ / "tw.ini", std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    TSettings Loaded() const
    {
        TSettings settings("/opt/tapwren", dir_.string());
        EXPECT_TRUE(settings.Load());
        return settings;
    }

    fs::path dir_;
};

TEST_F(SettingsTest, MissingFileGivesDefaultsAndCreatesNothing)
{
    const TSettings settings = Loaded();
    EXPECT_EQ(settings.User, "Default");
    EXPECT_TRUE(settings.ToRestoreLayout);
    EXPECT_EQ(settings.FontName, "Arial");
    EXPECT_EQ(settings.FontCharset, 1);
    EXPECT_EQ(settings.CodePage().Number(), 1252);
    EXPECT_FALSE(fs::exists(dir_ / "tw.ini"));
    EXPECT_EQ(settings.ProgramDir, "/opt/tapwren/");
    EXPECT_EQ(settings.DataDir, dir_.string() + "/");
}

TEST_F(SettingsTest, ValuesReadWithTheIniGrammar)
{
    struct Case
    {
        const char* charset;
        int expectedCharset;
        const char* restore;
        bool expectedRestore;
    };
    const Case cases[] = {
        {"0x86", 134, "0", false},
        {"letters", 1, "2", true},
        {" -3", -3, "", true},
        {"$FF", 255, "x", true},
    };
    for (const Case& c : cases) {
        WriteIni(std::string("[general]\nuser=Anna\nTORESTORELAYOUT=") + c.restore +
                 "\nFontCharset=" + c.charset + "\nFontName=DejaVu Sans\n");
        const TSettings settings = Loaded();
        EXPECT_EQ(settings.FontCharset, c.expectedCharset) << c.charset;
        EXPECT_EQ(settings.ToRestoreLayout, c.expectedRestore) << c.restore;
        EXPECT_EQ(settings.User, "Anna");
        EXPECT_EQ(settings.FontName, "DejaVu Sans");
    }
}

TEST_F(SettingsTest, CodePageIsReadButAnUnknownOneFallsBack)
{
    WriteIni("[General]\nCodePage=1250\n");
    EXPECT_EQ(Loaded().CodePage().Number(), 1250);
    WriteIni("[General]\nCodePage=4242\n");
    EXPECT_EQ(Loaded().CodePage().Number(), 1252);
}

TEST_F(SettingsTest, SaveWritesTheFourKeysAndKeepsTheRest)
{
    WriteIni("; settings\r\n[General]\r\nCodePage=1250\r\nUser=Old\r\n[Other]\r\nA=1\r\n");
    TSettings settings = Loaded();
    settings.User = "Bea";
    settings.ToRestoreLayout = false;
    settings.Save();
    EXPECT_EQ(ReadIni(), "; settings\r\n[General]\r\nCodePage=1250\r\nUser=Bea\r\n"
                         "ToRestoreLayout=0\r\nFontName=Arial\r\nFontCharset=1\r\n"
                         "[Other]\r\nA=1\r\n");
}

TEST_F(SettingsTest, SaveCreatesTheFileWithExactlyTheFourKeys)
{
    TSettings settings = Loaded();
    settings.Save();
    EXPECT_EQ(ReadIni(), "[General]\nUser=Default\nToRestoreLayout=1\nFontName=Arial\n"
                         "FontCharset=1\n");
}

TEST_F(SettingsTest, SaveThatCannotWriteNamesTheFile)
{
    TSettings settings("/opt/tapwren", (dir_ / "missing").string());
    try {
        settings.Save();
        FAIL() << "no error";
    } catch (const std::exception& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Unable to write to " + (dir_ / "missing" / "tw.ini").string());
    }
}

// The program finds its sound cues, manual and catalogues beside itself in
// the build folder, and under share/ once installed in bin/.
TEST_F(SettingsTest, ProgramFilesBesideTheProgramOrUnderShare)
{
    fs::create_directories(dir_ / "build");
    const TProgramFiles build = ProgramFilesOf((dir_ / "build").string());
    EXPECT_FALSE(build.Installed);
    EXPECT_EQ(build.Dir, (dir_ / "build").string() + "/");
    EXPECT_EQ(build.LocaleDir, (dir_ / "build/locale").string() + "/");

    fs::create_directories(dir_ / "usr/bin");
    fs::create_directories(dir_ / "usr/share/tapwren");
    const TProgramFiles installed = ProgramFilesOf((dir_ / "usr/bin").string() + "/");
    EXPECT_TRUE(installed.Installed);
    EXPECT_EQ(installed.Dir, (dir_ / "usr/share/tapwren").string() + "/");
    EXPECT_EQ(installed.LocaleDir, (dir_ / "usr/share/locale").string() + "/");
}

} // namespace
