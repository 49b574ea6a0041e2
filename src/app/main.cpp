#include "app/Application.h"
#include "app/GlobalVar.h"
#include "app/Translation.h"
#include "base/QtBridge.h"
#include "base/Translate.h"
#include "drills/line.h"
#include "drills/stopw.h"

#include <QStatusBar>

#include <memory>

namespace {

// Until users can log on, the program opens straight into a drill on one
// practice line, repeated.
class TFmFirstLine : public TFmLinePractice
{
public:
    explicit TFmFirstLine(const TCodePage& codePage) : TFmLinePractice(codePage) {}

protected:
    void NextLine() override
    {
        static const std::string Line = "the quick brown fox jumps over the lazy dog";
        SetSample(Line);
        Engine.SampleLength = static_cast<int>(Engine.Sample().size());
        Engine.WordCount = 9;
        Engine.Position = 1;
        DrillStopwatch().SetElapsed(0);
        ShowNextKey(Engine.At(1));
        Engine.Passed = true;
        ResetDisplay();
    }

    void FormCreate() override
    {
        TFmLinePractice::FormCreate();
        SBHelp->showMessage(QString::fromUtf8(_("Type the line above. Esc ends the drill.")));
    }

public:
    void Start() { NextLine(); }
};

} // namespace

int main(int argc, char** argv)
{
    // The application object comes first: its constructor sets the C
    // library's locale from the environment, which the translation set-up
    // then adjusts. It also takes the toolkit's own options out of argv.
    TApplication app(argc, argv);

    TTranslation translation;
    translation.Setup(ProgramFolder() + "locale", argc > 1 ? argv[1] : "");
    // Nothing translates widget properties behind the windows' backs: each
    // window passes its own texts through the catalogue when it is created,
    // so identifiers keep their literal values in every language.
    QApplication::setApplicationDisplayName(QStringLiteral("Tapwren"));

    auto settings = std::make_unique<TSettings>();
    Settings = settings.get();
    try {
        Settings->Load();
    } catch (const std::exception& error) {
        TApplication::ShowException(error);
    }

    auto drill = TFmLinePractice::Create<TFmFirstLine>(Settings->CodePage());
    QFont interfaceFont(ToQString(Settings->FontName, Settings->CodePage()));
    drill->setFont(interfaceFont);
    QFont practiceFont(QStringLiteral("Courier New"));
    practiceFont.setPointSize(14);
    drill->SetPracticeFont(practiceFont, Qt::black);
    drill->Engine.HighlightFlag = true;
    drill->Start();
    drill->show();

    const int result = app.exec();
    Settings = nullptr;
    return result;
}
