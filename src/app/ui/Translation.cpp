// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/Translation.h"

#include "app/LanguageChoice.h"
#include "base/Translate.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <clocale>
#include <cstdlib>

bool TTranslation::Setup(const std::string& localeDir, const std::string& language)
{
    bindtextdomain(TextDomain, localeDir.c_str());
    bind_textdomain_codeset(TextDomain, "UTF-8");
    textdomain(TextDomain);

    const std::vector<std::string> wanted =
        language.empty() ? EnvironmentLanguages(&std::getenv) : std::vector{language};
    const std::string chosen = ChooseLanguage(
        wanted, [&](const std::string& candidate) { return HasCatalogue(localeDir, candidate); });
    SwitchCatalogue(chosen);
    return language.empty() || chosen == language;
}

void TTranslation::SwitchCatalogue(const std::string& language)
{
    if (toolkit_) {
        QCoreApplication::removeTranslator(toolkit_.get());
        toolkit_.reset();
    }
    if (language.empty() || IsEnglish(language)) {
        // The texts as written: in the C locale gettext translates nothing,
        // whatever LANGUAGE says, which stays as the user set it for the
        // programs Tapwren opens.
        language_.clear();
        std::setlocale(LC_MESSAGES, "C");
        textdomain(TextDomain); // flushes the C library's cache of translations
        return;
    }
    language_ = language;
    // gettext needs a locale other than "C" to look at LANGUAGE at all, and
    // most systems have generated no locale for most languages. C.UTF-8 is
    // always there; LANGUAGE then picks the one catalogue chosen ("de_AT"
    // falls back to "de"). Numbers keep the "C" format the files are written
    // in.
    std::setlocale(LC_MESSAGES, "C.UTF-8");
    std::setlocale(LC_CTYPE, "C.UTF-8");
    setenv("LANGUAGE", language.c_str(), 1);
    textdomain(TextDomain);
    LoadToolkitTexts(language);
}

void TTranslation::LoadToolkitTexts(const std::string& language)
{
    toolkit_ = std::make_unique<QTranslator>();
    const QLocale locale(QString::fromStdString(language));
    if (toolkit_->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(toolkit_.get());
}
