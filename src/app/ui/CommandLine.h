// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <optional>
#include <string>

class TTranslation;

// The program's command line: tapwren [--help] [--version] [language].
class TCommandLine
{
public:
    // Whether argv asks for the help or the version: then the run only
    // prints, and needs neither a display nor windows.
    static bool OnlyPrints(int argc, char** argv);

    // The arguments as the application object has them, without the
    // toolkit's own options.
    explicit TCommandLine(const QStringList& arguments);

    // The language code the first argument names; empty without one. Further
    // arguments are ignored.
    const std::string& Language() const { return language_; }

    // Sets up translation in the language of the first argument, with one
    // line on standard error when there is no catalogue for it, or else in
    // the environment's.
    void SetupTranslation(TTranslation& translation, const std::string& localeDir) const;

    // Prints the help or the version and gives 0, or tells a wrong usage on
    // standard error and gives 2: the run ends with that status. Nothing when
    // the run goes on. Its texts are translated: call it after
    // SetupTranslation.
    std::optional<int> Answer() const;

private:
    QStringList arguments_;
    std::string language_;
};
