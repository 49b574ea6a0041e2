// SPDX-License-Identifier: GPL-3.0-or-later
// The language of the program's texts, from the command line or the
// environment, as gettext picks it.
#include "app/LanguageChoice.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

TEST(LanguageChoice, EnvironmentInGettextsOrder)
{
    struct Case
    {
        std::map<std::string, std::string> environment;
        std::vector<std::string> languages;
    };
    const Case cases[] = {
        {{}, {}},
        {{{"LANG", "de_DE.UTF-8"}}, {"de_DE"}},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}, {"fr_FR"}},
        {{{"LANG", "de_DE"}, {"LC_MESSAGES", "fr_FR"}, {"LC_ALL", "es_ES@euro"}}, {"es_ES"}},
        // The whole LANGUAGE list, before the locale, empty entries skipped.
        {{{"LANG", "es_ES.UTF-8"}, {"LANGUAGE", "xx:de_AT::fr"}}, {"xx", "de_AT", "fr"}},
        {{{"LANGUAGE", "fr"}}, {"fr"}},
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", ""}}, {"de_DE"}},
        // The C locale means untranslated texts; gettext ignores LANGUAGE then.
        {{{"LANG", "C"}, {"LANGUAGE", "de"}}, {}},
        {{{"LC_ALL", "POSIX"}, {"LANG", "de_DE.UTF-8"}}, {}},
        {{{"LANG", "C.UTF-8"}, {"LANGUAGE", "de"}}, {"de"}},
        {{{"LANG", "C.UTF-8"}}, {"C"}},
    };
    for (const Case& c : cases) {
        const auto getenv = [&](const char* name) -> const char* {
            const auto it = c.environment.find(name);
            return it == c.environment.end() ? nullptr : it->second.c_str();
        };
        std::string shown;
        for (const auto& [name, value] : c.environment)
            shown += name + "=" + value + " ";
        EXPECT_EQ(EnvironmentLanguages(getenv), c.languages) << shown;
    }
}

TEST(LanguageChoice, FirstLanguageWithACatalogue)
{
    const std::set<std::string> catalogues = {"de", "fr"};
    const auto has = [&](const std::string& language) { return catalogues.count(language) > 0; };
    struct Case
    {
        std::vector<std::string> wanted;
        std::string chosen;
    };
    const Case cases[] = {
        {{"xx", "de"}, "de"},
        {{"fr", "de"}, "fr"},
        // English needs no catalogue: a user who puts it first gets it.
        {{"en_GB", "de"}, "en_GB"},
        {{"xx", "yy"}, ""},
        {{}, ""},
        // C in the list ends it with the untranslated texts.
        {{"C", "de"}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseLanguage(c.wanted, has), c.chosen) << testing::PrintToString(c.wanted);
}

TEST(LanguageChoice, CatalogueOfTheLanguageOrOfItsRegion)
{
    std::string pattern = (fs::temp_directory_path() / "tapwren-locale-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path dir = pattern;
    fs::create_directories(dir / "de/LC_MESSAGES");
    std::ofstream(dir / "de/LC_MESSAGES/tapwren.mo") << "catalogue";
    fs::create_directories(dir / "pt_BR/LC_MESSAGES");
    std::ofstream(dir / "pt_BR/LC_MESSAGES/tapwren.mo") << "catalogue";

    EXPECT_TRUE(HasCatalogue(dir.string(), "de"));
    EXPECT_TRUE(HasCatalogue(dir.string(), "de_AT"));
    EXPECT_TRUE(HasCatalogue(dir.string(), "pt_BR"));
    EXPECT_FALSE(HasCatalogue(dir.string(), "pt"));
    EXPECT_FALSE(HasCatalogue(dir.string(), "fr"));
    EXPECT_FALSE(HasCatalogue(dir.string(), "../de"));
    EXPECT_FALSE(HasCatalogue(dir.string(), ""));
    fs::remove_all(dir);
}

} // namespace
