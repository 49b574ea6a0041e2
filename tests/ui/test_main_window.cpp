// SPDX-License-Identifier: GPL-3.0-or-later
#include "../logic/FakeLayoutPlatform.h"
#include "app/GlobalVar.h"
#include "app/ui/Application.h"
#include "app/ui/FormInput.h"
#include "app/ui/TWMainForm.h"
#include "app/ui/WavePlayer.h"
#include "base/Errors.h"
#include "base/ui/MessageBoxes.h"
#include "drills/ui/Sentence.h"
#include "drills/ui/WeakKeys.h"
#include "drills/ui/course.h"
#include "game/ui/game.h"
#include "history/History.h"
#include "history/HistoryStore.h"
#include "history/Sqlite.h"
#include "history/ui/StatisticsForm.h"
#include "keyboard/KeyLookup.h"
#include "keyboard/MainData.h"
#include "keyboard/ui/KbForm.h"
#include "keyboard/ui/keyboard.h"
#include "keyboard/ui/palm.h"
#include "layout/KeyboardLayoutAgent.h"
#include "profile/ProfileVar.h"
#include "profile/ui/ProfileForm.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QLineSeries>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSoundEffect>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Kind = TMessageBoxes::Kind;

// Records the addresses the desktop would be asked to open.
class TUrlRecorder : public QObject
{
    Q_OBJECT
public:
    std::vector<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened.push_back(url); }
};

// Runs inside the next modal window of class T once it is up, then closes it.
template <class T> void InsideModal(std::function<void(T&)> inside)
{
    QTimer::singleShot(0, [inside] {
        auto* form = qobject_cast<T*>(QApplication::activeModalWidget());
        QVERIFY2(form != nullptr, "the expected window is not up");
        inside(*form);
        form->close();
    });
}

void WriteFile(const fs::path& path, const std::string& content)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TSettings> settings_;
    std::unique_ptr<TDataMod> data_;
    std::unique_ptr<QWidget> logon_;
    TFakeLayoutPlatform* desktop_ = nullptr;
    std::unique_ptr<TKeyboardLayoutAgent> agent_;
    TProfile profile_;
    std::vector<std::pair<Kind, QString>> boxes_;
    int saves_ = 0;
    int failingSaves_ = 0;
    QPointer<TTWMainFm> main_;

    fs::path DataDir() const { return fs::path(dir_->path().toStdString()) / "data"; }
    fs::path ProgramDir() const { return fs::path(dir_->path().toStdString()) / "program"; }

    // A course whose files say which course they belong to.
    void WriteCourse(const std::string& name, const std::string& letter)
    {
        const fs::path folder = DataDir() / "Courses" / name;
        WriteFile(folder / "course.txt",
                  letter + "1\r\n" + letter + "2\r\n" + letter + "3\r\n" + letter + "4\r\n");
        WriteFile(folder / "Practice.txt", letter + " sentence\r\n");
        WriteFile(folder / "Game.txt", letter + "word " + letter + "game\r\n");
        fs::copy_file(TAPWREN_BUILD_DATA_DIR "Courses/English/layout.twt", folder / "layout.twt");
    }

    std::vector<QString> Boxes(Kind kind) const
    {
        std::vector<QString> found;
        for (const auto& box : boxes_)
            if (box.first == kind)
                found.push_back(box.second);
        return found;
    }

    TTWMainFm& LoggedOn()
    {
        main_ = new TTWMainFm();
        main_->SetLayoutAgent(agent_.get());
        main_->SetProfile(profile_);
        main_->show();
        return *main_;
    }

    std::vector<QPushButton*> Buttons() const
    {
        return {main_->CourseBn,    main_->SentenceBn, main_->FreeBn,
                main_->ParagraphBn, main_->GameBn,     main_->HelpBn,
                main_->ExitBn,      main_->ProfileBn,  main_->StatisticsBn};
    }

    static bool AllVisible(const std::vector<QPushButton*>& buttons, bool visible)
    {
        for (const QPushButton* button : buttons)
            if (button->isVisible() != visible)
                return false;
        return true;
    }

    // Answers the game's difficulty prompt with 1.
    static void AnswerDifficulty()
    {
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<THInputBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            box->Edit->setText(QStringLiteral("1"));
            box->BnOK->click();
        });
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        fs::create_directories(ProgramDir());
        fs::create_directories(DataDir());
        WriteCourse("English", "e");
        WriteCourse("Deutsch", "d");
        settings_ = std::make_unique<TSettings>(ProgramDir().string(), DataDir().string());
        settings_->Load();
        Settings = settings_.get();
        data_ = std::make_unique<TDataMod>();
        DataMod = data_.get();
        auto desktop = std::make_unique<TFakeLayoutPlatform>();
        desktop->Installed = {German(), French()};
        desktop->Loaded = {{{0x0000040C, "French"}}, 0};
        desktop_ = desktop.get();
        agent_ = std::make_unique<TKeyboardLayoutAgent>(std::move(desktop));
        agent_->Refresh();
        logon_ = std::make_unique<QWidget>();
        TApplication::SetMainForm(logon_.get());

        profile_ = TProfile();
        profile_.UserName = "Ann";
        profile_.Course = "English";
        profile_.TimeTotal = 3723000;
        profile_.KeyboardLayout = "00000407";
        profile_.PracticeFont.Name = "DejaVu Sans Mono";
        profile_.PracticeFont.Size = 12;
        saves_ = 0;
        failingSaves_ = 0;
        profile_.OnSave = [this](TProfile&, const std::string& name) {
            QCOMPARE(name, std::string("Ann"));
            if (failingSaves_ > 0) {
                --failingSaves_;
                ThrowUnableToWrite("twc.ini");
            }
            ++saves_;
        };
        boxes_.clear();
        TMessageBoxes::SetResponder([this](Kind kind, const QString& text) {
            boxes_.emplace_back(kind, text);
            return true;
        });
    }

    void cleanup()
    {
        delete main_;
        TMessageBoxes::SetResponder({});
        TApplication::SetMainForm(nullptr);
        logon_.reset();
        agent_.reset();
        DataMod = nullptr;
        Settings = nullptr;
        dir_.reset();
    }

    void profileLayoutIsActivatedAndRestoredAtTheEnd()
    {
        TTWMainFm& main = LoggedOn();
        QCOMPARE(desktop_->Activations, std::vector<std::uint32_t>{0x00000407});
        QCOMPARE(desktop_->Loaded.Items[std::size_t(desktop_->Loaded.Active)].Id, 0x00000407u);
        QVERIFY(Boxes(Kind::Plain).empty());
        main.close();
        QCOMPARE(desktop_->Loaded.Items.size(), std::size_t(1));
        QCOMPARE(desktop_->Loaded.Items[0].Id, 0x0000040Cu);
    }

    void layoutThatCannotBeActivatedIsTold()
    {
        profile_.KeyboardLayout = "00000409"; // not installed here
        TTWMainFm& main = LoggedOn();
        QCOMPARE(Boxes(Kind::Plain),
                 std::vector<QString>{QStringLiteral("00000409 layout could not be activated.")});
        QVERIFY(main.isVisible());
    }

    // A desktop with no way to switch: no box at logon, and the status line
    // of the first drill, not of every drill, asks the user to switch.
    void layoutTheDesktopCannotSwitchIsAskedForInTheStatusLine()
    {
        desktop_->Switches = false;
        TTWMainFm& main = LoggedOn();
        QVERIFY(boxes_.empty());
        QVERIFY(desktop_->Activations.empty());
        QStringList shown;
        for (int i = 0; i < 2; ++i) {
            InsideModal<TFmSentencePrac>(
                [&shown](TFmSentencePrac& form) { shown << form.SBHelp->currentMessage(); });
            main.SentenceBn->click();
        }
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[0].startsWith(QStringLiteral("This course is for the German keyboard.")),
                 qPrintable(shown[0]));
        QVERIFY(shown[1].isEmpty());
        QVERIFY(boxes_.empty());
    }

    void looksAsDesigned()
    {
        profile_.BgColor = 0x00336699;
        TTWMainFm& main = LoggedOn();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QCOMPARE(main.windowTitle(), QStringLiteral("Tapwren"));
        QCOMPARE(main.size(), QSize(217, 382));
        const QStringList captions = {
            "&Course", "&Sentence Drills", "&Free Drills", "&Paragraph Drills", "&Game", "&Help",
            "E&xit",   "P&rofile",         "S&tatistics"};
        const std::vector<QPushButton*> buttons = Buttons();
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(buttons[std::size_t(i)]->text(), captions[i]);
            QCOMPARE(buttons[std::size_t(i)]->geometry(), QRect(8, 29 + 37 * i, 200, 32));
        }
        QCOMPARE(main.palette().color(QPalette::Window), QColor(0x99, 0x66, 0x33));
        // The guidance windows are made, loaded and left for the drills to show.
        QVERIFY(main.VKeyboard != nullptr && main.PalmForm != nullptr &&
                main.RightPalmForm != nullptr);
        QVERIFY(!main.VKeyboard->isVisible());
        QVERIFY(!main.VKeyboard->KbFrame->isEnabled());
        QVERIFY(main.VKeyboard->KbFrame->ButtonCount() > 40);
        QCOMPARE(main.LayoutPath, (DataDir() / "Courses/English/layout.twt").string());
        QVERIFY(main.CoursePath.empty() && main.PracticePath.empty() && main.GamePath.empty());
    }

    void focusedButtonIsBlue()
    {
        TTWMainFm& main = LoggedOn();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        main.SentenceBn->setFocus();
        QCOMPARE(main.SentenceBn->palette().color(QPalette::ButtonText), QColor(Qt::blue));
        main.GameBn->setFocus();
        QCOMPARE(main.SentenceBn->palette().color(QPalette::ButtonText), QColor(Qt::black));
        QCOMPARE(main.GameBn->palette().color(QPalette::ButtonText), QColor(Qt::blue));
    }

    void fullScreenTakesTheScreen()
    {
        profile_.FullScreen = true;
        TTWMainFm& main = LoggedOn();
        QCOMPARE(main.frameGeometry(), main.screen()->geometry()); // frame included
    }

    void closeRightAfterLogonReports()
    {
        TTWMainFm& main = LoggedOn();
        main.ExitBn->click();
        QCOMPARE(Boxes(Kind::Information),
                 std::vector<QString>{QStringLiteral("Ann: The practice time is 0 h 0 m 0 s, total "
                                                     "practice time is 1 h 2 m 3 s.")});
        QCOMPARE(saves_, 1);
        QVERIFY(fs::exists(DataDir() / "tw.ini"));
        QVERIFY(!logon_->isVisible());
        QTRY_VERIFY(main_.isNull()); // freed once closed
    }

    void escapeClosesWithTheReport()
    {
        TTWMainFm& main = LoggedOn();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        bool logonAsked = false;
        logon_->installEventFilter(this);
        connect(this, &TestMainWindow::logonClosing, this, [&] { logonAsked = true; });
        QTest::keyClick(&main, Qt::Key_Escape);
        QCOMPARE(Boxes(Kind::Information).size(), std::size_t(1));
        QVERIFY(logonAsked);
        QTRY_VERIFY(main_.isNull());
    }

    void failedSaveKeepsTheWindowAndCountsTheRunOnce()
    {
        TTWMainFm& main = LoggedOn();
        main.RunPracticeTime.Add(5025400);
        failingSaves_ = 1;
        QVERIFY(!main.close());
        QVERIFY(main.isVisible());
        QCOMPARE(Boxes(Kind::Error),
                 std::vector<QString>{QStringLiteral("Unable to write to twc.ini")});
        QCOMPARE(profile_.TimeTotal, 3723000 + 5025400);

        QVERIFY(main.close());
        QCOMPARE(profile_.TimeTotal, 3723000 + 5025400);
        const std::vector<QString> reports = Boxes(Kind::Information);
        QCOMPARE(reports.size(), std::size_t(2));
        QCOMPARE(reports[1], QStringLiteral("Ann: The practice time is 1 h 23 m 45 s, total "
                                            "practice time is 2 h 25 m 48 s."));
    }

    void courseDrillKeepsTheLessonReached()
    {
        TTWMainFm& main = LoggedOn();
        InsideModal<TFmCoursePrac>([](TFmCoursePrac& form) {
            QCOMPARE(form.SampleEdit->toPlainText(), QStringLiteral("e1"));
            QTest::keyClick(form.InputEdit, Qt::Key_Right);
            QTest::keyClick(form.InputEdit, Qt::Key_Right);
        });
        main.CourseBn->click();
        QCOMPARE(profile_.Progress, 2);
        InsideModal<TFmCoursePrac>([](TFmCoursePrac& form) {
            QCOMPARE(form.Lesson(), 2);
            QCOMPARE(form.SampleEdit->toPlainText(), QStringLiteral("e3"));
        });
        main.CourseBn->click();
        QCOMPARE(profile_.Progress, 2);
    }

    void drillLinesAreRecordedInTheHistory()
    {
        TTWMainFm& main = LoggedOn();
        InsideModal<TFmCoursePrac>([](TFmCoursePrac& form) {
            QTest::keyClicks(form.InputEdit, QStringLiteral("e1 ")); // passes: lesson 2 next
            QTest::keyClicks(form.InputEdit, QStringLiteral("x"));   // ended early: not kept
            QTest::keyClick(form.InputEdit, Qt::Key_Return);
            QTest::keyClicks(form.InputEdit, QStringLiteral("ex ")); // lesson 3, x for 3
        });
        main.CourseBn->click();
        InsideModal<TFmSentencePrac>([](TFmSentencePrac& form) {
            QTest::keyClicks(form.InputEdit, QStringLiteral("e sentence "));
        });
        main.SentenceBn->click();

        QVERIFY(main.History->Flush(std::chrono::seconds(10)));
        auto store = OpenHistory(Settings->DataDir);
        std::istringstream csv(store->ExportCsv("Ann"));
        std::vector<std::string> rows;
        for (std::string row; std::getline(csv, row);)
            rows.push_back(row.substr(std::min<std::size_t>(row.size(), 19)));
        QCOMPARE(rows.size(), std::size_t{4});
        QVERIFY2(rows[1].starts_with(",course,English,1,"), rows[1].c_str());
        QVERIFY2(rows[2].starts_with(",course,English,3,"), rows[2].c_str());
        QVERIFY2(rows[3].starts_with(",sentence,English,0,"), rows[3].c_str());
        const auto confusions = store->Confusions("Ann", 5);
        QCOMPARE(confusions.size(), std::size_t{1});
        QCOMPARE(confusions[0].Expected, static_cast<unsigned char>('3'));
        QCOMPARE(confusions[0].Typed, static_cast<unsigned char>('x'));
        QVERIFY(Boxes(Kind::Error).empty());
    }

    void statisticsShowTheUsersHistoryOnTheCoursesKeyboard()
    {
        TTWMainFm& main = LoggedOn();
        InsideModal<TFmCoursePrac>([](TFmCoursePrac& form) {
            QTest::keyClicks(form.InputEdit, QStringLiteral("ex ")); // x for 1
        });
        main.CourseBn->click();
        bool shown = false;
        InsideModal<TStatisticsFm>([&](TStatisticsFm& form) {
            shown = true;
            QCOMPARE(form.windowTitle(), QStringLiteral("Statistics of Ann"));
            QCOMPARE(form.KeyFrame->ButtonCount(), DataMod->MainTbl().RowCount());
            QCOMPARE(form.ConfusionsTable->rowCount(), 1);
            QCOMPARE(form.ConfusionsTable->item(0, 0)->text(), QStringLiteral("1"));
            QCOMPARE(form.ConfusionsTable->item(0, 1)->text(), QStringLiteral("x"));
            QCOMPARE(form.UsersTable->rowCount(), 1);
            QCOMPARE(form.UsersTable->item(0, 0)->text(), QStringLiteral("Ann"));
        });
        main.StatisticsBn->click();
        QVERIFY(shown);
        QVERIFY(Boxes(Kind::Error).empty());
    }

    void weakKeyDrillRunsFromTheStatisticsAndCounts()
    {
        TTWMainFm& main = LoggedOn();
        InsideModal<TFmCoursePrac>(
            [](TFmCoursePrac& form) { QTest::keyClicks(form.InputEdit, QStringLiteral("e1 ")); });
        main.CourseBn->click();
        const std::int32_t before = main.RunPracticeTime.Ms();
        QString title;
        QString sample;
        int weakKeyDays = -1;
        InsideModal<TStatisticsFm>([&](TStatisticsFm& form) {
            InsideModal<TFmWeakKeyPrac>([&](TFmWeakKeyPrac& drill) {
                title = drill.windowTitle();
                sample = drill.SampleEdit->toPlainText();
                QTest::keyClicks(drill.InputEdit, sample + " "); // completes the line
            });
            const std::optional<std::size_t> e = FindKey(*DataMod, 'e').Button;
            QVERIFY(e.has_value());
            QTest::mouseClick(form.KeyFrame->Button(*e), Qt::LeftButton);
            // Back from the drill, the window shows its line.
            form.ActivityBox->setCurrentIndex(5);
            QCOMPARE(form.ActivityBox->currentText(), QStringLiteral("Weak Keys"));
            weakKeyDays = int(form.ProgressSeries->count());
        });
        main.StatisticsBn->click();
        QCOMPARE(title, QStringLiteral("Weak Keys: e"));
        // Words of the course's sentences and game words only.
        for (const QString& word : sample.split(QLatin1Char(' ')))
            QVERIFY2(QStringList({"e", "sentence", "eword", "egame"}).contains(word),
                     qPrintable(sample));
        QCOMPARE(weakKeyDays, 1);
        QVERIFY(main.RunPracticeTime.Ms() > before);
        QCOMPARE(main.PracticePath, (DataDir() / "Courses/English/Practice.txt").string());
    }

    void weakKeyDrillOfACourseWithoutWordsIsAnError()
    {
        WriteFile(DataDir() / "Courses/English/Practice.txt", "");
        WriteFile(DataDir() / "Courses/English/Game.txt", "");
        TTWMainFm& main = LoggedOn();
        InsideModal<TFmCoursePrac>(
            [](TFmCoursePrac& form) { QTest::keyClicks(form.InputEdit, QStringLiteral("e1 ")); });
        main.CourseBn->click();
        InsideModal<TStatisticsFm>([&](TStatisticsFm& form) {
            QTest::mouseClick(form.KeyFrame->Button(*FindKey(*DataMod, 'e').Button),
                              Qt::LeftButton);
            QVERIFY(form.isVisible());
        });
        main.StatisticsBn->click();
        QCOMPARE(Boxes(Kind::Error), std::vector<QString>{QStringLiteral(
                                         "The course has no words to practise these keys with.")});
    }

    void statisticsOfAHistoryThatCannotBeOpenedAreToldOnce()
    {
        fs::create_directory(DataDir() / HistoryFileName);
        TTWMainFm& main = LoggedOn();
        int shown = 0;
        const auto closeStatistics = [&shown] {
            if (auto* form = qobject_cast<TStatisticsFm*>(QApplication::activeModalWidget())) {
                ++shown;
                form->close();
            }
        };
        for (int click = 0; click < 2; ++click) {
            QTimer::singleShot(0, closeStatistics);
            main.StatisticsBn->click();
            QTest::qWait(20);
        }
        QCOMPARE(shown, 0);
        QCOMPARE(Boxes(Kind::Error).size(), std::size_t{1});
    }

    // Someone sharing the folder put a trigger into the history that runs a
    // query of seconds with every line.
    void historyWithATriggerOfSomeoneElseIsRefusedAndTheRunGoesOn()
    {
        {
            const auto history = OpenHistory(Settings->DataDir);
            TSqlite db((DataDir() / HistoryFileName).string(), false);
            db.Exec("CREATE TABLE filler(x);"
                    "INSERT INTO filler WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL"
                    " SELECT x + 1 FROM c WHERE x < 400) SELECT x FROM c;"
                    "CREATE TRIGGER slow AFTER INSERT ON lines BEGIN"
                    " SELECT count(*) FROM filler a, filler b, filler c; END");
        }
        TTWMainFm& main = LoggedOn();
        InsideModal<TFmCoursePrac>(
            [](TFmCoursePrac& form) { QTest::keyClicks(form.InputEdit, QStringLiteral("e1 ")); });
        main.CourseBn->click();
        int shown = 0;
        QTimer::singleShot(0, [&shown] {
            if (auto* form = qobject_cast<TStatisticsFm*>(QApplication::activeModalWidget())) {
                ++shown;
                form->close();
            }
        });
        main.StatisticsBn->click();
        QCoreApplication::processEvents();
        QCOMPARE(shown, 0);
        const auto errors = Boxes(Kind::Error);
        QCOMPARE(errors.size(), std::size_t{1});
        QVERIFY2(errors[0].contains(QStringLiteral("differ from those Tapwren made")),
                 qPrintable(errors[0]));
        QVERIFY(main.close());
        QCOMPARE(saves_, 1);
    }

    void historyThatCannotBeWrittenIsToldOnceAndTheDrillGoesOn()
    {
        fs::create_directory(DataDir() / HistoryFileName);
        TTWMainFm& main = LoggedOn();
        int lines = 0;
        InsideModal<TFmCoursePrac>([&](TFmCoursePrac& form) {
            form.OnLineDone = [&](TFmLinePractice&) { ++lines; };
            QTest::keyClicks(form.InputEdit, QStringLiteral("e1 e2 e3 "));
        });
        main.CourseBn->click();
        QCOMPARE(lines, 3);
        QCOMPARE(profile_.Progress, 3);
        QVERIFY(main.History->Flush(std::chrono::seconds(10)));
        QCoreApplication::processEvents();
        const auto errors = Boxes(Kind::Error);
        QCOMPARE(errors.size(), std::size_t{1});
        QVERIFY2(errors[0].contains(QString::fromStdString(HistoryFileName)),
                 qPrintable(errors[0]));
    }

    void drillTimeIsAddedAndCuesFollowTheSwitch_data()
    {
        QTest::addColumn<bool>("drillSound");
        QTest::newRow("drill sound on") << true;
        QTest::newRow("drill sound off") << false;
    }

    void drillTimeIsAddedAndCuesFollowTheSwitch()
    {
        QFETCH(bool, drillSound);
        fs::copy(TAPWREN_BUILD_DATA_DIR "../media", ProgramDir() / "media");
        profile_.GameSoundEnabled = true;
        TTWMainFm& main = LoggedOn();
        profile_.DrillSoundEnabled = drillSound; // read when the event comes
        QStringList heard;
        InsideModal<TFmCoursePrac>([&](TFmCoursePrac& form) {
            QTest::keyClicks(form.InputEdit, QStringLiteral("x")); // wrong
            if (QSoundEffect* effect = main.WavePlayer->Effect())
                heard << effect->source().fileName();
            QTest::qWait(30);
            QTest::keyClicks(form.InputEdit, QStringLiteral("e1"));
            QTest::keyClick(form.InputEdit, Qt::Key_Return);
            if (QSoundEffect* effect = main.WavePlayer->Effect())
                heard << effect->source().fileName();
            QVERIFY(form.PracticeTime() >= 25);
        });
        main.CourseBn->click();
        QVERIFY(main.RunPracticeTime.Ms() >= 25);
        if (drillSound)
            QCOMPARE(heard, QStringList({"word_err.wav", "word_ok.wav"}));
        else
            QVERIFY(heard.isEmpty());
    }

    void fullScreenButtonsVanishWhileADrillRuns_data()
    {
        QTest::addColumn<bool>("fullScreen");
        QTest::newRow("full screen") << true;
        QTest::newRow("window") << false;
    }

    void fullScreenButtonsVanishWhileADrillRuns()
    {
        QFETCH(bool, fullScreen);
        profile_.FullScreen = fullScreen;
        TTWMainFm& main = LoggedOn();
        const std::vector<QPushButton*> buttons = Buttons();
        QVERIFY(AllVisible(buttons, true));
        bool seen = false;
        InsideModal<TFmSentencePrac>([&](TFmSentencePrac&) {
            seen = true;
            QVERIFY(AllVisible(buttons, !fullScreen));
        });
        main.SentenceBn->click();
        QVERIFY(seen);
        QVERIFY(AllVisible(buttons, true));
        for (const QPushButton* button : buttons)
            QVERIFY(button->isEnabled());
    }

    void drillThatCannotBeSetUpLeavesTheWindow()
    {
        profile_.FullScreen = true;
        fs::remove(DataDir() / "Courses/English/course.txt");
        TTWMainFm& main = LoggedOn();
        main.CourseBn->click();
        QCOMPARE(Boxes(Kind::Error).size(), std::size_t(1));
        QVERIFY(AllVisible(Buttons(), true));
        QCOMPARE(main.RunPracticeTime.Ms(), 0);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void courseChangeReachesOnlyFilesNotYetUsed()
    {
        TTWMainFm& main = LoggedOn();
        InsideModal<TFmCoursePrac>([](TFmCoursePrac&) {});
        main.CourseBn->click();
        profile_.Course = "Deutsch"; // as the profile dialog does
        InsideModal<TFmCoursePrac>([](TFmCoursePrac& form) {
            QCOMPARE(form.SampleEdit->toPlainText(), QStringLiteral("e1"));
        });
        main.CourseBn->click();
        InsideModal<TFmSentencePrac>([](TFmSentencePrac& form) {
            QCOMPARE(form.SampleEdit->toPlainText(), QStringLiteral("d sentence"));
        });
        main.SentenceBn->click();
        QCOMPARE(main.CoursePath, (DataDir() / "Courses/English/course.txt").string());
        QCOMPARE(main.PracticePath, (DataDir() / "Courses/Deutsch/Practice.txt").string());
        QCOMPARE(main.LayoutPath, (DataDir() / "Courses/English/layout.twt").string());
    }

    void courseThatIsNoFolderNameIsRefused()
    {
        profile_.Course = "../English";
        TTWMainFm& main = LoggedOn();
        QCOMPARE(Boxes(Kind::Error).size(), std::size_t(1)); // no template for the guidance
        QVERIFY(main.LayoutPath.empty());
        main.SentenceBn->click();
        QCOMPARE(Boxes(Kind::Error).size(), std::size_t(2));
        QVERIFY(Boxes(Kind::Error)[1].contains(QStringLiteral("is not a course folder name")));
        QVERIFY(main.PracticePath.empty());

        profile_.Course = "Deutsch"; // chosen again in the profile dialog
        InsideModal<TFmSentencePrac>([](TFmSentencePrac& form) {
            QCOMPARE(form.SampleEdit->toPlainText(), QStringLiteral("d sentence"));
        });
        main.SentenceBn->click();
    }

    void gameWindowIsMadeOnceAndGameTimeDoesNotCount()
    {
        TTWMainFm& main = LoggedOn();
        AnswerDifficulty();
        main.GameBn->click();
        QPointer<TgameFrame> game = main.gameFrame;
        QVERIFY(game != nullptr);
        QVERIFY(game->isVisible());
        QVERIFY(!main.isVisible());
        QCOMPARE(game->GameFile, (DataDir() / "Courses/English/Game.txt").string());
        QTest::qWait(50);
        game->close(); // the confirmation is answered Yes
        QVERIFY(!game->isVisible());
        QVERIFY(main.isVisible());
        QCOMPARE(main.RunPracticeTime.Ms(), 0);

        profile_.Course = "Deutsch";
        AnswerDifficulty();
        main.GameBn->click();
        QCOMPARE(main.gameFrame, game.data());
        QCOMPARE(game->GameFile, (DataDir() / "Courses/English/Game.txt").string());
        game->close();
        QVERIFY(main.isVisible());

        main.close();
        QVERIFY(game.isNull()); // freed with the close
    }

    void fullScreenButtonsComeBackWhenTheGameCloses()
    {
        profile_.FullScreen = true;
        TTWMainFm& main = LoggedOn();
        AnswerDifficulty();
        main.GameBn->click();
        QVERIFY(AllVisible(Buttons(), false));
        main.gameFrame->close();
        QVERIFY(main.isVisible());
        QVERIFY(AllVisible(Buttons(), true));
    }

    void profileDialogEditsTheLiveProfile()
    {
        TTWMainFm& main = LoggedOn();
        InsideModal<TProfileFm>([](TProfileFm& dialog) {
            QCOMPARE(dialog.UserEd->currentText(), QStringLiteral("Ann"));
            QStringList courses;
            for (int i = 0; i < dialog.CourseEd->count(); ++i)
                courses << dialog.CourseEd->itemText(i);
            QCOMPARE(courses, QStringList({"Deutsch", "English"}));
            QVERIFY(dialog.OkBn->isVisibleTo(&dialog)); // full mode, with Save
            dialog.CourseEd->setEditText(QStringLiteral("Deutsch"));
            dialog.ChkFullScreen->setChecked(true);
            dialog.BnApply->click();
        });
        main.ProfileBn->click();
        QCOMPARE(profile_.Course, std::string("Deutsch"));
        QVERIFY(profile_.FullScreen);
        QCOMPARE(saves_, 0); // Apply keeps it for the close
        // The full-screen mode reaches the window the next time it is shown.
        main.hide();
        main.show();
        QCOMPARE(main.frameGeometry(), main.screen()->geometry()); // frame included
    }

    void helpOpensTheLocalManualOrTheOnlineOne()
    {
        TUrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "Open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "Open");
        TTWMainFm& main = LoggedOn();
        main.HelpBn->click();
        WriteFile(ProgramDir() / "help/manual.html", "<html></html>");
        main.HelpBn->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(recorder.opened.size(), std::size_t(2));
        QCOMPARE(recorder.opened[0], QUrl(QString::fromUtf8(TTWMainFm::OnlineManual)));
        QCOMPARE(recorder.opened[1].toLocalFile(),
                 QString::fromStdString((ProgramDir() / "help/manual.html").string()));
    }

signals:
    void logonClosing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == logon_.get() && event->type() == QEvent::Close)
            emit logonClosing();
        return QObject::eventFilter(watched, event);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
