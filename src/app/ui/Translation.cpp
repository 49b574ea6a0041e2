// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/Translation.h"

#include "base/Translate.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include <clocale>
#include <cstdlib>

namespace {

// The language the environment asks for, in the order gettext itself reads
// the variables ("de_DE.UTF-8" gives "de_DE").
std::string EnvironmentLanguage()
{
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0')
            continue;
        std::string lang(value);
        lang = lang.substr(0, lang.find(':'));
        lang = lang.substr(0, lang.find('.'));
        lang = lang.substr(0, lang.find('@'));
        if (lang == "C" || lang == "POSIX")
            return {};
        return lang;
    }
    return {};
}

} // namespace

void TTranslation::Setup(const std::string& localeDir, const std::string& language)
{
    bindtextdomain(TextDomain, localeDir.c_str());
    bind_textdomain_codeset(TextDomain, "UTF-8");
    textdomain(TextDomain);

    SwitchCatalogue(language.empty() ? EnvironmentLanguage() : language);
}

void TTranslation::SwitchCatalogue(const std::string& language)
{
    language_ = language;
    if (language.empty())
        return;
    // gettext needs a locale other than "C" to look at LANGUAGE at all, and
    // most systems have generated no locale for most languages. C.UTF-8 is
    // always there; LANGUAGE then picks the catalogue ("de_AT" falls back to
    // "de"). Numbers keep the "C" format the files are written in.
    std::setlocale(LC_MESSAGES, "C.UTF-8");
    std::setlocale(LC_CTYPE, "C.UTF-8");
    setenv("LANGUAGE", language.c_str(), 1);
    textdomain(TextDomain); // flushes the C library's cache of translations
    LoadToolkitTexts(language);
}

void TTranslation::LoadToolkitTexts(const std::string& language)
{
    if (toolkit_)
        QCoreApplication::removeTranslator(toolkit_.get());
    toolkit_ = std::make_unique<QTranslator>();
    const QLocale locale(QString::fromStdString(language));
    if (toolkit_->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(toolkit_.get());
}
