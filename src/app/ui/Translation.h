// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTranslator>
#include <memory>
#include <string>

// Sets up translation for the run: the program's texts from the gettext
// domain "tapwren", the toolkit's own texts (message box buttons, standard
// dialogs) from Qt's translations of the same language.
class TTranslation
{
public:
    // localeDir holds <lang>/LC_MESSAGES/tapwren.mo. With an empty language
    // the user's environment decides: the first language it asks for that
    // has a catalogue. Call after the application object exists: its
    // constructor sets the C library's locale from the environment. False
    // when language is given but has no catalogue; the texts then stay
    // English.
    bool Setup(const std::string& localeDir, const std::string& language);

    // The language in force, e.g. "de"; empty when nothing but the built-in
    // English texts apply.
    const std::string& Language() const { return language_; }

private:
    void SwitchCatalogue(const std::string& language);
    void LoadToolkitTexts(const std::string& language);

    std::string language_;
    std::unique_ptr<QTranslator> toolkit_;
};
