// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/PracticeTime.h"
#include "app/SoundCues.h"
#include "history/HistoryFigures.h"
#include "layout/ManualSwitchHint.h"

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QFrame;
class QPushButton;
class TFmLinePractice;
class TGuidanceWindows;
class THistory;
class TLineRecorder;
class TKeyboardLayoutAgent;
class TPalmForm;
class TProfile;
class TVKeyboard;
class TWavePlayer;
class TgameFrame;
struct TFont;

// The user's home from logon to the end of the run: a column of nine
// buttons that open the activities and the statistics. It holds the live profile, forms the
// paths of the course's files, owns the sound cues, adds up the run's
// practice time and, when it closes, reports that time, saves the profile
// and the settings and ends the run.
//
// The starter creates it, hands it the layout agent (SetLayoutAgent) and the
// loaded profile (SetProfile), sets its font and shows it. It frees itself
// once closed.
class TTWMainFm : public QWidget
{
    Q_OBJECT
public:
    explicit TTWMainFm(QWidget* parent = nullptr);
    ~TTWMainFm() override;

    void SetLayoutAgent(TKeyboardLayoutAgent* agent) { LayoutAgent = agent; }
    // Once, after the profile is loaded: builds the keyboard and hands
    // windows from the template of the profile's course and activates the
    // profile's keyboard layout.
    void SetProfile(TProfile& profile);

    // The actions of ActionList1, and their buttons in tab order.
    QAction* A_Course;
    QAction* A_Sentence;
    QAction* A_Free;
    QAction* A_Paragraph;
    QAction* A_Game;
    QAction* A_Help;
    QAction* A_Exit;
    QAction* A_Profile;
    QAction* A_Statistics;
    QList<QAction*> ActionList1;
    QFrame* Bevel1;
    QPushButton* CourseBn;
    QPushButton* SentenceBn;
    QPushButton* FreeBn;
    QPushButton* ParagraphBn;
    QPushButton* GameBn;
    QPushButton* HelpBn;
    QPushButton* ExitBn;
    QPushButton* ProfileBn;
    QPushButton* StatisticsBn;

    // Each path is formed the first time it is needed and kept for the run;
    // LayoutPath at logon.
    std::string CoursePath;
    std::string PracticePath;
    std::string GamePath;
    std::string LayoutPath;
    TKeyboardLayoutAgent* LayoutAgent = nullptr;
    std::string ProgramDir;
    TWavePlayer* WavePlayer;
    TSoundCues Cues;
    TProfile* Profile = nullptr;
    TRunPracticeTime RunPracticeTime;
    std::function<void()> PrevGameClose;
    // The logged-on user's typing history in the data folder, from logon on.
    std::unique_ptr<THistory> History;

    // Made at logon, kept until the run ends with this window's close.
    TVKeyboard* VKeyboard = nullptr;
    TPalmForm* PalmForm = nullptr;
    TPalmForm* RightPalmForm = nullptr;
    // Made by the first game, freed when this window closes.
    TgameFrame* gameFrame = nullptr;

    // The online manual, opened when the local one is missing.
    static const char* const OnlineManual;

    void A_CourseExecute();
    void A_SentenceExecute();
    void A_FreeExecute();
    void A_ParagraphExecute();
    void A_GameExecute() { RunGame(); }
    void A_HelpExecute() { OpenHelp(); }
    void A_ExitExecute() { close(); }
    void A_ProfileExecute() { EditProfile(); }
    void A_StatisticsExecute() { ShowStatistics(); }

    // Closes as Exit does, but without the report of practice time: the run
    // ends at the system's request, with nobody there to answer it.
    void CloseWithoutReport();

    void RunGame();
    void OpenHelp();
    // The profile dialog on the live profile: what it changes applies to the
    // next drills and games, and to this window when it is next shown.
    void EditProfile();
    // The statistics window on the user's history, modal; the weak-key
    // drills it asks for run from it.
    void ShowStatistics();
    // A weak-key drill of the keys, its lines from the course's sentence
    // and game words and the user's slow pairs in the history.
    void PractiseKeys(const std::vector<unsigned char>& keys, const THistoryQueries& history);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void LoadGuidance();
    // The profile's keyboard layout; a layout that cannot be activated is
    // told, and the run goes on with the current one. Where the desktop
    // cannot switch layouts at all, the drills' status line asks the user to.
    void ActivateProfileLayout();
    void HideActions();
    void ShowActions();
    void CourseBnEnter(QPushButton* button);
    void CourseBnExit(QPushButton* button);
    // The drill window, made with the arguments after the activity, recording
    // its lines into the history as the activity.
    template <class T, class... Args>
    std::unique_ptr<T> CreateDrill(const TFont& font, THistoryActivity activity, Args&&... args);
    void RunDrill(TFmLinePractice& form);
    void GameClosed();
    // Whether closing may go on: the report, then the profile and the
    // settings saved.
    bool FormClose();

    // The path of one of the course's files, formed now if it is still empty.
    const std::string& NeedPath(std::string& path, const char* fileName);
    QPushButton* AddButton(QAction*& action, const char* caption, int top,
                           void (TTWMainFm::*handler)());

    std::unique_ptr<TGuidanceWindows> guidance_;
    bool reportAtClose_ = true;
    TManualSwitchHint switchHint_;
    // The current drill's; replaced by the next drill's.
    std::unique_ptr<TLineRecorder> lineRecorder_;
};
