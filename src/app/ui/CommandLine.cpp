// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/CommandLine.h"

#include "app/BuildConfig.h"
#include "app/ui/Translation.h"
#include "base/Errors.h"
#include "base/Translate.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

namespace {

// A parser of the program's options; its texts are translated when it is
// made.
class TParser : public QCommandLineParser
{
public:
    TParser()
    {
        setApplicationDescription(QString::fromUtf8(
            _("Tapwren teaches touch typing: a course of lessons, drills and a game of falling "
              "words.")));
        addHelpOption();
        addVersionOption();
        addPositionalArgument(
            QStringLiteral("language"),
            QString::fromUtf8(_("The language of the program's texts, such as de, fr or es. "
                                "Without it, the environment's language applies.")),
            QStringLiteral("[language]"));
    }

    bool AsksForHelp() const
    {
        return isSet(QStringLiteral("help")) || isSet(QStringLiteral("help-all"));
    }
    bool AsksForVersion() const { return isSet(QStringLiteral("version")); }
};

void Print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

bool TCommandLine::OnlyPrints(int argc, char** argv)
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

TCommandLine::TCommandLine(const QStringList& arguments) : arguments_(arguments)
{
    QCoreApplication::setApplicationName(QStringLiteral("tapwren"));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(TapwrenVersion));
    TParser parser;
    // Errors are told by Answer, in the language chosen here.
    parser.parse(arguments_);
    const QStringList positional = parser.positionalArguments();
    if (!positional.isEmpty())
        language_ = positional.first().toStdString();
}

void TCommandLine::SetupTranslation(TTranslation& translation, const std::string& localeDir) const
{
    if (!translation.Setup(localeDir, language_))
        std::fprintf(stderr, "tapwren: %s\n",
                     Format(_("There is no translation into \"%s\"; the texts stay in English."),
                            language_.c_str())
                         .c_str());
}

std::optional<int> TCommandLine::Answer() const
{
    TParser parser;
    const bool parsed = parser.parse(arguments_);
    if (parser.AsksForHelp()) {
        Print(stdout, parser.helpText());
        return 0;
    }
    if (parser.AsksForVersion()) {
        Print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                          QCoreApplication::applicationVersion() + QLatin1Char('\n'));
        return 0;
    }
    if (!parsed) {
        Print(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") +
                          parser.errorText() + QStringLiteral("\n\n") + parser.helpText());
        return 2;
    }
    return std::nullopt;
}
