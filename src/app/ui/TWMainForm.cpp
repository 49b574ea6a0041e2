// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/TWMainForm.h"

#include "app/CourseFolders.h"
#include "app/GlobalVar.h"
#include "app/HelpFile.h"
#include "app/ui/Application.h"
#include "app/ui/WavePlayer.h"
#include "base/Errors.h"
#include "base/Translate.h"
#include "base/ui/FramedWindow.h"
#include "base/ui/MessageBoxes.h"
#include "base/ui/QtBridge.h"
#include "drills/WeakKeyLines.h"
#include "drills/ui/GuidanceDock.h"
#include "drills/ui/GuidanceWindows.h"
#include "drills/ui/LongText.h"
#include "drills/ui/Sentence.h"
#include "drills/ui/WeakKeys.h"
#include "drills/ui/course.h"
#include "drills/ui/letter.h"
#include "game/GameSettings.h"
#include "game/ui/game.h"
#include "history/History.h"
#include "history/HistoryStore.h"
#include "history/Recording.h"
#include "history/ui/StatisticsForm.h"
#include "keyboard/MainData.h"
#include "keyboard/ui/KbForm.h"
#include "keyboard/ui/keyboard.h"
#include "keyboard/ui/palm.h"
#include "layout/KeyboardLayoutAgent.h"
#include "profile/ProfileStore.h"
#include "profile/ProfileVar.h"
#include "profile/ui/ProfileForm.h"
#include "profile/ui/ProfileWidgets.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFrame>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QUrl>

#ifndef TAPWREN_MANUAL_URL
#error "TAPWREN_MANUAL_URL names the online manual; the build sets it"
#endif

const char* const TTWMainFm::OnlineManual = TAPWREN_MANUAL_URL;

namespace {

constexpr int ButtonLeft = 8;
constexpr int ButtonWidth = 200;
constexpr int ButtonHeight = 32;
constexpr int FirstButtonTop = 29;
constexpr int ButtonStep = 37;
constexpr int SpacerWidth = 217;
constexpr int SpacerHeight = 382;

// The focused button's caption is blue, the others' black.
constexpr TColor FocusedCaption = 0xFF0000;
constexpr TColor Caption = 0;

QString Ui(const char* text)
{
    return QString::fromUtf8(text);
}

QFont InterfaceFont()
{
    return QFont(ToQString(Settings->FontName, Settings->CodePage()));
}

void SetCaptionColor(QPushButton* button, TColor color)
{
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, ToQColor(color));
    button->setPalette(palette);
}

} // namespace

TTWMainFm::TTWMainFm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint),
      WavePlayer(new TWavePlayer(this)), Cues(*WavePlayer)
{
    setObjectName(QStringLiteral("TWMainFm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::NoFrame);
    Bevel1->setGeometry(0, 0, SpacerWidth, SpacerHeight);
    Bevel1->lower();

    int top = FirstButtonTop;
    const auto next = [&top] { return std::exchange(top, top + ButtonStep); };
    CourseBn = AddButton(A_Course, N_("&Course"), next(), &TTWMainFm::A_CourseExecute);
    SentenceBn =
        AddButton(A_Sentence, N_("&Sentence Drills"), next(), &TTWMainFm::A_SentenceExecute);
    FreeBn = AddButton(A_Free, N_("&Free Drills"), next(), &TTWMainFm::A_FreeExecute);
    ParagraphBn =
        AddButton(A_Paragraph, N_("&Paragraph Drills"), next(), &TTWMainFm::A_ParagraphExecute);
    GameBn = AddButton(A_Game, N_("&Game"), next(), &TTWMainFm::A_GameExecute);
    HelpBn = AddButton(A_Help, N_("&Help"), next(), &TTWMainFm::A_HelpExecute);
    ExitBn = AddButton(A_Exit, N_("E&xit"), next(), &TTWMainFm::A_ExitExecute);
    ProfileBn = AddButton(A_Profile, N_("P&rofile"), next(), &TTWMainFm::A_ProfileExecute);
    StatisticsBn =
        AddButton(A_Statistics, N_("S&tatistics"), next(), &TTWMainFm::A_StatisticsExecute);
    CourseBn->setObjectName(QStringLiteral("CourseBn"));
    SentenceBn->setObjectName(QStringLiteral("SentenceBn"));
    FreeBn->setObjectName(QStringLiteral("FreeBn"));
    ParagraphBn->setObjectName(QStringLiteral("ParagraphBn"));
    GameBn->setObjectName(QStringLiteral("GameBn"));
    HelpBn->setObjectName(QStringLiteral("HelpBn"));
    ExitBn->setObjectName(QStringLiteral("ExitBn"));
    ProfileBn->setObjectName(QStringLiteral("ProfileBn"));
    StatisticsBn->setObjectName(QStringLiteral("StatisticsBn"));

    // Escape presses Exit, as a dialog's cancel button would.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, ExitBn, &QPushButton::click);

    FormCreate();
}

TTWMainFm::~TTWMainFm()
{
    delete gameFrame;
    // The run ends with this window's close, so the guidance windows go with it.
    delete VKeyboard;
    delete PalmForm;
    delete RightPalmForm;
}

QPushButton* TTWMainFm::AddButton(QAction*& action, const char* caption, int top,
                                  void (TTWMainFm::*handler)())
{
    action = new QAction(Ui(_(caption)), this);
    ActionList1.append(action);
    auto* button = new QPushButton(action->text(), this);
    button->setGeometry(ButtonLeft, top, ButtonWidth, ButtonHeight);
    button->setAutoDefault(false);
    button->installEventFilter(this);
    // The button shows its action: caption, visibility and whether it works.
    connect(action, &QAction::changed, button, [action, button] {
        button->setText(action->text());
        button->setVisible(action->isVisible());
        button->setEnabled(action->isEnabled());
    });
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::triggered, this,
            [this, handler] { Guarded([&] { (this->*handler)(); }); });
    return button;
}

void TTWMainFm::FormCreate()
{
    setWindowTitle(QStringLiteral("Tapwren"));
    ProgramDir = Settings->ProgramDir;
    TgameFrame::LoadGameTuning(Settings->DataDir);
    Cues.ReadCueNames(ProgramDir);
}

void TTWMainFm::SetProfile(TProfile& profile)
{
    Profile = &profile;
    Cues.SetProfile(Profile);
    // A failed write is told by the history's own thread; the box belongs here.
    History = std::make_unique<THistory>(
        Settings->DataDir, Profile->UserName, [this](const std::string& message) {
            QMetaObject::invokeMethod(
                this, [this, message] { TMessageBoxes::Error(this, Ui(message.c_str())); },
                Qt::QueuedConnection);
        });
    VKeyboard = new TVKeyboard(*DataMod, Settings->CodePage());
    PalmForm = new TPalmForm();
    RightPalmForm = new TPalmForm();
    VKeyboard->SetBlinking(Profile->Blinking);
    PalmForm->SetBlinking(Profile->Blinking);
    RightPalmForm->SetBlinking(Profile->Blinking);
    guidance_ = std::make_unique<TGuidanceWindows>(*VKeyboard, *PalmForm, *RightPalmForm);
    // A course name that is no folder must not stop the logon: the user can
    // choose another course in the profile, and the drills then use it.
    Guarded([this] { LoadGuidance(); });
    ActivateProfileLayout();
    VKeyboard->KbFrame->setEnabled(false);
}

void TTWMainFm::LoadGuidance()
{
    LayoutPath = TCourseFolders(Settings->DataDir, Settings->CodePage())
                     .FilePath(Profile->Course, "layout.twt");
    VKeyboard->LoadTemplate(LayoutPath);
    PalmForm->SetHand(true);
    RightPalmForm->SetHand(false);
    PalmForm->LayoutFingers(*DataMod);
    RightPalmForm->LayoutFingers(*DataMod);
}

void TTWMainFm::ActivateProfileLayout()
{
    if (LayoutAgent == nullptr || !LayoutAgent->CanActivateLayouts() ||
        LayoutAgent->ActivateLayout(Profile->KeyboardLayout))
        return;
    TMessageBoxes::Plain(this, ToQString(Profile->KeyboardLayout, Settings->CodePage()) +
                                   Ui(_(" layout could not be activated.")));
}

void TTWMainFm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QWidget::showEvent(event);
}

void TTWMainFm::FormShow()
{
    if (Profile == nullptr)
        return;
    if (Profile->FullScreen) {
        PlaceFramed(
            *this, [this](const QMargins&) { return screen()->geometry(); }, TFramedSize::Fixed);
    } else {
        PlaceFramed(
            *this,
            [this](const QMargins& frame) {
                QRect whole({}, QSize(SpacerWidth, SpacerHeight).grownBy(frame));
                whole.moveCenter(screen()->availableGeometry().center());
                return whole;
            },
            TFramedSize::Fixed);
    }
    QPalette background = palette();
    background.setColor(QPalette::Window, ToQColor(Profile->BgColor));
    setPalette(background);
}

bool TTWMainFm::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* button = qobject_cast<QPushButton*>(watched)) {
        if (event->type() == QEvent::FocusIn)
            CourseBnEnter(button);
        else if (event->type() == QEvent::FocusOut)
            CourseBnExit(button);
    }
    return QWidget::eventFilter(watched, event);
}

void TTWMainFm::CourseBnEnter(QPushButton* button)
{
    SetCaptionColor(button, FocusedCaption);
}

void TTWMainFm::CourseBnExit(QPushButton* button)
{
    SetCaptionColor(button, Caption);
}

void TTWMainFm::HideActions()
{
    if (!Profile->FullScreen)
        return;
    for (QAction* action : ActionList1) {
        action->setVisible(false);
        action->setEnabled(false);
    }
}

void TTWMainFm::ShowActions()
{
    if (!Profile->FullScreen)
        return;
    for (QAction* action : ActionList1) {
        action->setVisible(true);
        action->setEnabled(true);
    }
}

const std::string& TTWMainFm::NeedPath(std::string& path, const char* fileName)
{
    if (path.empty())
        path = TCourseFolders(Settings->DataDir, Settings->CodePage())
                   .FilePath(Profile->Course, fileName);
    return path;
}

template <class T, class... Args>
std::unique_ptr<T> TTWMainFm::CreateDrill(const TFont& font, THistoryActivity activity,
                                          Args&&... args)
{
    auto form = TFmLinePractice::Create<T>(Settings->CodePage(), std::forward<Args>(args)...);
    lineRecorder_ = std::make_unique<TLineRecorder>(
        [this](const TLineRecord& line) { History->Add(line); }, activity, Profile->Course);
    form->Engine.Observer = lineRecorder_.get();
    form->OnLineDone = [this](TFmLinePractice&) { Cues.CueLineDone(); };
    form->OnWrongKey = [this](TFmLinePractice&) { Cues.CueWrongKey(); };
    form->OnReturnExpected = [this](TFmLinePractice&) { Cues.CueReturnExpected(); };
    form->Engine.PopupStatistics = Profile->PopupAtEnd;
    form->SetPracticeFont(ToQFont(font, Settings->CodePage()), ToQColor(font.Color));
    form->Engine.HighlightFlag = Profile->HighLight;
    guidance_->DockIn(form->GuidanceDock);
    form->SetGuidanceWindows(guidance_.get());
    if (LayoutAgent != nullptr) {
        const std::string hint = switchHint_.Take(*LayoutAgent, Profile->KeyboardLayout);
        if (!hint.empty())
            form->SBHelp->showMessage(Ui(hint.c_str()));
    }
    return form;
}

void TTWMainFm::RunDrill(TFmLinePractice& form)
{
    HideActions();
    form.exec();
    RunPracticeTime.Add(form.PracticeTime());
    ShowActions();
}

void TTWMainFm::A_CourseExecute()
{
    auto form = CreateDrill<TFmCoursePrac>(Profile->PracticeFont, THistoryActivity::Course);
    lineRecorder_->Lesson = [course = form.get()] { return course->Lesson() + 1; };
    form->SetBackColor(Profile->BgColor);
    form->SetFileName(NeedPath(CoursePath, "course.txt"));
    form->SetLesson(Profile->Progress);
    form->LoadFile();
    form->setFont(InterfaceFont());
    HideActions();
    form->exec();
    RunPracticeTime.Add(form->PracticeTime());
    Profile->Progress = form->Lesson();
    form.reset();
    ShowActions();
}

void TTWMainFm::A_SentenceExecute()
{
    auto form = CreateDrill<TFmSentencePrac>(Profile->PracticeFont, THistoryActivity::Sentence);
    form->SetBackColor(Profile->BgColor);
    form->SetFileName(NeedPath(PracticePath, "Practice.txt"));
    form->LoadFile();
    form->setFont(InterfaceFont());
    RunDrill(*form);
}

void TTWMainFm::A_FreeExecute()
{
    auto form = CreateDrill<TFmLetterPrac>(Profile->PracticeFont, THistoryActivity::Free);
    form->SetBackColor(Profile->BgColor);
    form->setFont(InterfaceFont());
    RunDrill(*form);
}

void TTWMainFm::A_ParagraphExecute()
{
    auto form = CreateDrill<TFmLongText>(Profile->TextFont, THistoryActivity::Paragraph);
    form->SetBackColor(Profile->BgColor);
    form->setFont(InterfaceFont());
    RunDrill(*form);
}

void TTWMainFm::RunGame()
{
    if (gameFrame == nullptr) {
        const std::string& gamePath = NeedPath(GamePath, "Game.txt");
        gameFrame = new TgameFrame(Settings->CodePage());
        gameFrame->SetGameFile(gamePath);
        gameFrame->OnMiss = [this](TGameCore&) { Cues.CueMiss(); };
        gameFrame->OnShoot = [this](TGameCore&) { Cues.CueShoot(); };
        gameFrame->OnCityHurt = [this](TGameCore&) { Cues.CueCityHurt(); };
        gameFrame->OnLevelUp = [this](TGameCore&) { Cues.CueLevelUp(); };
        gameFrame->OnGameOver = [this](TGameCore& game) {
            History->Add(GameRecordOf(game, Profile->Course, WallSeconds()));
        };
        PrevGameClose = std::move(gameFrame->OnClose);
        gameFrame->OnClose = [this] { GameClosed(); };
    }
    ApplyGameProfile(GameSettings, *Profile);
    gameFrame->SetFontName(Profile->GameFont.Name);
    HideActions();
    hide();
    gameFrame->show();
    gameFrame->StartGame();
}

void TTWMainFm::GameClosed()
{
    if (PrevGameClose)
        PrevGameClose();
    show();
    ShowActions();
}

void TTWMainFm::OpenHelp()
{
    const QString manual = QString::fromStdString(ManualPath(ProgramDir, CatalogueLanguage()));
    if (QFileInfo(manual).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(manual)))
        return;
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(OnlineManual)));
}

void TTWMainFm::EditProfile()
{
    TProfileFm dialog(Settings->CodePage());
    dialog.SetCourses(TCourseFolders(Settings->DataDir, Settings->CodePage()).List());
    dialog.SetUsers(TProfileStore(Settings->ProfileFileName()).Users());
    dialog.setFont(InterfaceFont());
    dialog.SetAgent(LayoutAgent);
    dialog.ShowForProfile(Profile);
}

void TTWMainFm::ShowStatistics()
{
    // A history that cannot be opened was told when it failed; one still
    // being written is told by the general error report.
    const THistoryStore* store = History->Store();
    if (store == nullptr)
        return;
    TStatisticsFm form(*store, *DataMod, Settings->CodePage(), Profile->UserName, this);
    form.setFont(InterfaceFont());
    form.OnPractise = [this, store, &form](const std::vector<unsigned char>& keys) {
        Guarded([&] { PractiseKeys(keys, *store); });
        // The drill's last lines may still be on their way to the file;
        // those that take longer show at the next refresh.
        History->Flush(THistory::ReadWait);
        form.Refresh();
    };
    form.exec();
}

void TTWMainFm::PractiseKeys(const std::vector<unsigned char>& keys, const THistoryQueries& history)
{
    TWeakKeyLineBuilder lines =
        WeakKeyLinesOfCourse(NeedPath(PracticePath, "Practice.txt"), NeedPath(GamePath, "Game.txt"),
                             keys, history, Profile->UserName);
    auto form =
        CreateDrill<TFmWeakKeyPrac>(Profile->PracticeFont, THistoryActivity::WeakKeys, keys,
                                    [lines = std::move(lines)]() mutable { return lines.Next(); });
    form->SetBackColor(Profile->BgColor);
    form->Start();
    form->setFont(InterfaceFont());
    RunDrill(*form);
}

void TTWMainFm::CloseWithoutReport()
{
    reportAtClose_ = false;
    if (!close())
        reportAtClose_ = true; // the run goes on, and Exit reports again
}

void TTWMainFm::closeEvent(QCloseEvent* event)
{
    if (!FormClose()) {
        event->ignore();
        return;
    }
    event->accept();
    QWidget::closeEvent(event);
    if (QWidget* logon = TApplication::MainForm())
        logon->close();
}

bool TTWMainFm::FormClose()
{
    if (Profile == nullptr)
        return true;
    RunPracticeTime.AddToTotal(*Profile);
    if (reportAtClose_)
        TMessageBoxes::Information(
            this, Ui(RunPracticeTime
                         .Report(Settings->CodePage().ToUtf8(Profile->UserName), Profile->TimeTotal)
                         .c_str()));
    try {
        Profile->Save();
        Settings->Save();
    } catch (const std::exception& error) {
        TApplication::ShowException(error);
        return false;
    }
    delete gameFrame;
    gameFrame = nullptr;
    // Switching the layout at logon changed it for the whole desktop.
    if (LayoutAgent != nullptr && Settings->ToRestoreLayout)
        LayoutAgent->RestoreOriginalLayout();
    return true;
}
