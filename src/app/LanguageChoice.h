// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

// Which language the program's texts are shown in.

// The languages the environment asks for, in the order gettext tries them:
// the colon-separated LANGUAGE list, unless the locale (LC_ALL, LC_MESSAGES or
// LANG, the first one set) is C or POSIX, which means untranslated texts;
// without LANGUAGE, the locale's language ("C" for C.UTF-8). Codesets and modifiers are dropped
// ("de_DE.UTF-8" gives "de_DE"). getenv answers for one variable, or null.
std::vector<std::string>
EnvironmentLanguages(const std::function<const char*(const char*)>& getenv);

// English, which the program's texts are written in ("en", "en_GB").
bool IsEnglish(const std::string& language);

// The first of wanted that is English or for which hasCatalogue holds; empty
// when none is.
std::string ChooseLanguage(const std::vector<std::string>& wanted,
                           const std::function<bool(const std::string&)>& hasCatalogue);

// Whether localeDir holds the program's catalogue for language, as gettext
// looks for it: <localeDir>/de_AT/LC_MESSAGES/tapwren.mo, or for "de_AT" also
// the one of "de".
bool HasCatalogue(const std::string& localeDir, const std::string& language);
