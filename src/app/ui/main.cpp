// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/GlobalVar.h"
#include "app/ui/Application.h"
#include "app/ui/CommandLine.h"
#include "app/ui/FormLogon.h"
#include "app/ui/QuitSignals.h"
#include "app/ui/StarterLocal.h"
#include "app/ui/Translation.h"
#include "app/ui/UserDataFolder.h"
#include "base/ui/QtBridge.h"
#include "layout/KeyboardLayoutAgent.h"

#include <memory>

int main(int argc, char** argv)
{
    // The application object comes first: its constructor sets the C
    // library's locale from the environment, which the translation set-up
    // then adjusts. It also takes the toolkit's own options out of argv.
    // Help and the version are printed without a display.
    const std::unique_ptr<QCoreApplication> app =
        TCommandLine::OnlyPrints(argc, argv) ? std::make_unique<QCoreApplication>(argc, argv)
                                             : std::make_unique<TApplication>(argc, argv);
    const TCommandLine commandLine(QCoreApplication::arguments());
    const TProgramFiles files = ProgramFiles();
    // kill, Ctrl+C and a closed terminal end the run as Exit does.
    const TQuitSignals quitSignals;

    TTranslation translation;
    commandLine.SetupTranslation(translation, files.LocaleDir);
    if (const auto status = commandLine.Answer())
        return *status;
    // Nothing translates widget properties behind the windows' backs: each
    // window passes its own texts through the catalogue when it is created,
    // so identifiers keep their literal values in every language.
    QApplication::setApplicationDisplayName(QStringLiteral("Tapwren"));
    QApplication::setWindowIcon(ProgramIcon());
    if (files.Installed && !EnterUserDataFolder(files.Dir))
        return 1;

    auto settings = std::make_unique<TSettings>();
    Settings = settings.get();
    try {
        Settings->Load();
    } catch (const std::exception& error) {
        TApplication::ShowException(error);
    }

    int result = 0;
    {
        // The run ends when the logon window closes, even while it is hidden
        // behind the main window.
        QApplication::setQuitOnLastWindowClosed(false);
        TFmLogon logon;
        TApplication::SetMainForm(&logon);
        QObject::connect(&logon, &TFmLogon::Closed, app.get(), &QApplication::quit,
                         Qt::QueuedConnection);
        logon.setFont(QFont(ToQString(Settings->FontName, Settings->CodePage())));
        auto* starter = new TTWStarterLocal(&logon, std::make_unique<TKeyboardLayoutAgent>());
        logon.Starter = starter;
        logon.show();
        result = QApplication::exec();
        TApplication::SetMainForm(nullptr);
        // On this desktop a layout switch reaches every program, not only
        // ours: give the desktop back the layout it had, also after a run
        // that ended at the logon window (the profile dialog of Add can
        // switch it too).
        if (Settings->ToRestoreLayout)
            starter->LayoutAgent->RestoreOriginalLayout();
    }
    Settings = nullptr;
    return result;
}
