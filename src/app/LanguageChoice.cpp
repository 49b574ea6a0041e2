// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LanguageChoice.h"

#include "base/Translate.h"

#include <unistd.h>

namespace {

// "de_DE.UTF-8@euro" gives "de_DE".
std::string WithoutCodeset(std::string name)
{
    return name.substr(0, name.find_first_of(".@"));
}

bool MeansUntranslated(const std::string& locale)
{
    return locale == "C" || locale == "POSIX";
}

} // namespace

std::vector<std::string> EnvironmentLanguages(const std::function<const char*(const char*)>& getenv)
{
    const auto value = [&](const char* name) {
        const char* text = getenv(name);
        return std::string(text != nullptr ? text : "");
    };
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = value(name);
        if (!locale.empty())
            break;
    }
    // Only the plain C locale: C.UTF-8 does look at LANGUAGE.
    if (MeansUntranslated(locale))
        return {};

    std::vector<std::string> languages;
    const std::string list = value("LANGUAGE");
    for (std::size_t start = 0; start <= list.size();) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        const std::string language = WithoutCodeset(list.substr(start, end - start));
        if (!language.empty())
            languages.push_back(language);
        start = end + 1;
    }
    if (languages.empty() && !locale.empty())
        languages.push_back(WithoutCodeset(locale));
    return languages;
}

bool IsEnglish(const std::string& language)
{
    return language == "en" || language.rfind("en_", 0) == 0;
}

std::string ChooseLanguage(const std::vector<std::string>& wanted,
                           const std::function<bool(const std::string&)>& hasCatalogue)
{
    for (const std::string& language : wanted) {
        // The untranslated texts end the list, as in gettext.
        if (MeansUntranslated(language))
            return {};
        if (IsEnglish(language) || hasCatalogue(language))
            return language;
    }
    return {};
}

bool HasCatalogue(const std::string& localeDir, const std::string& language)
{
    const auto exists = [&](const std::string& name) {
        if (name.empty() || name.find('/') != std::string::npos)
            return false;
        const std::string path = localeDir + "/" + name + "/LC_MESSAGES/" + TextDomain + ".mo";
        return access(path.c_str(), R_OK) == 0;
    };
    return exists(language) || exists(language.substr(0, language.find('_')));
}
