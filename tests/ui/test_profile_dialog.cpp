// SPDX-License-Identifier: GPL-3.0-or-later
#include "../logic/FakeLayoutPlatform.h"
#include "app/ui/Application.h"
#include "base/CodePage.h"
#include "base/IniFile.h"
#include "base/ui/MessageBoxes.h"
#include "base/ui/QtBridge.h"
#include "layout/KeyboardLayoutAgent.h"
#include "profile/ProfileStore.h"
#include "profile/ui/ProfileForm.h"
#include "profile/ui/ProfileWidgets.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>
#include <memory>

using Kind = TMessageBoxes::Kind;

namespace {

TInstalledLayout UsEnglish()
{
    return {0x00000409, "English (US)", true, {0x0409, "English (United States)", "United States"}};
}

} // namespace

class TestProfileDialog : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    TCodePage codePage;
    std::unique_ptr<TProfileStore> store;
    TFakeLayoutPlatform* platform = nullptr;
    std::unique_ptr<TKeyboardLayoutAgent> agent;
    TProfile profile;
    std::vector<std::pair<Kind, QString>> boxes;
    std::deque<bool> answers; // for confirmations; OK boxes need none

    // Shows the dialog (full mode, or new-user mode) and runs the steps once
    // it is up; a dialog the steps leave open is closed afterwards.
    int Show(const std::function<void(TProfileFm&)>& steps, bool newUser = false)
    {
        TProfileFm dialog(codePage);
        dialog.SetCourses({"English", "Deutsch"});
        dialog.SetUsers(store->Users());
        dialog.SetAgent(agent.get());
        QTimer::singleShot(0, &dialog, [&] {
            steps(dialog);
            if (dialog.isVisible())
                dialog.done(-1);
        });
        return newUser ? dialog.ShowForNewUser(&profile) : dialog.ShowForProfile(&profile);
    }

    static void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    std::vector<std::string> StoredLines(const std::string& user)
    {
        TProfile read;
        store->LoadProfile(read, user);
        return read.SaveToStrings();
    }

    bool HasSection(const std::string& user)
    {
        const auto users = store->Users();
        return std::find(users.begin(), users.end(), user) != users.end();
    }

    QStringList BoxTexts() const
    {
        QStringList texts;
        for (const auto& b : boxes)
            texts << b.second;
        return texts;
    }

private slots:
    void init()
    {
        store = std::make_unique<TProfileStore>(dir.filePath("twc.ini").toStdString());
        auto p = std::make_unique<TFakeLayoutPlatform>();
        p->Installed = {UsEnglish(), German(), French(), UsDvorak()};
        p->Loaded = {{{0x00000409, ""}}, 0};
        platform = p.get();
        agent = std::make_unique<TKeyboardLayoutAgent>(std::move(p));
        agent->Refresh();

        profile = TProfile();
        profile.LoadFromStrings({});
        profile.UserName = "Ann";
        profile.Course = "English";
        profile.Progress = 12;
        profile.TimeTotal = 3723000;
        profile.KeyboardLayout = "00000407";
        profile.GameBgColor = RGBColor(0, 0, 128);
        store->Bind(profile);
        store->SaveProfile(profile, "Ann");

        boxes.clear();
        answers.clear();
        TMessageBoxes::SetResponder([this](Kind kind, const QString& text) {
            boxes.emplace_back(kind, text);
            if (kind != Kind::Confirmation || answers.empty())
                return true;
            const bool answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }

    void cleanup()
    {
        TMessageBoxes::SetResponder({});
        QFile::remove(dir.filePath("twc.ini"));
    }

    void showsTheProfileAndActivatesItsLayout()
    {
        Show([&](TProfileFm& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Profile"));
            QCOMPARE(d.size(), QSize(395, 419));
            QCOMPARE(d.PageControl2->currentWidget(), d.TabSheet4);
            QCOMPARE(d.PageControl2->tabText(0), QStringLiteral("Layout"));
            QCOMPARE(d.UserEd->currentText(), QStringLiteral("Ann"));
            QCOMPARE(d.UserEd->count(), 0);
            QCOMPARE(d.CourseEd->count(), 2);
            QCOMPARE(d.CourseEd->currentText(), QStringLiteral("English"));
            QCOMPARE(d.ProgressLb->text(), QStringLiteral("12"));
            QCOMPARE(d.TimeLb->text(), QStringLiteral("1 h 2 m 3 s"));
            QCOMPARE(d.ExampleEd->text(), QStringLiteral("ExAmPLe"));
            QCOMPARE(d.KeyboardsCombo->count(), 4);
            QCOMPARE(d.KeyboardsCombo->currentText(), QStringLiteral("German - 00000407"));
            QCOMPARE(d.OriginalKeyboardNameLb->text(), QStringLiteral("English (US)"));
            QVERIFY(d.InfoMemo->toPlainText().startsWith(
                QStringLiteral("Loaded input locale identifiers:\n  English (United States) = "
                               "English (US)-0409\n")));
            QCOMPARE(d.Example3Ed->palette().color(QPalette::Base), QColor(0, 0, 128));
            QVERIFY(d.OkBn->isVisible());
            QVERIFY(!d.NewUser);
        });
        QCOMPARE(platform->Activations, std::vector<std::uint32_t>{0x00000407});
        QVERIFY(boxes.empty());
    }

    void practiceTime_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("1 2 3") << 3723000 << QStringLiteral("1 h 2 m 3 s");
        QTest::newRow("25 hours") << 90000000 << QStringLiteral("25 h 0 m 0 s");
    }
    void practiceTime()
    {
        QFETCH(int, ms);
        QFETCH(QString, text);
        profile.TimeTotal = ms;
        Show([&](TProfileFm& d) { QCOMPARE(d.TimeLb->text(), text); });
    }

    void saveWithTheSameNameInOtherCaseSavesTheProfile()
    {
        Show([&](TProfileFm& d) {
            d.UserEd->setEditText(QStringLiteral("aNN"));
            d.ChkFullScreen->setChecked(true);
            Click(d.OkBn);
            QVERIFY(d.isVisible());
            Click(d.CancelBn);
        });
        QVERIFY(boxes.empty());
        QVERIFY(profile.FullScreen);
        QCOMPARE(StoredLines("Ann"), profile.SaveToStrings());
        QCOMPARE(store->Users().size(), std::size_t{1});
    }

    void saveWithANewNameAddsAUserAndKeepsTheCurrentOne()
    {
        const auto before = profile.SaveToStrings();
        answers = {true};
        Show([&](TProfileFm& d) {
            d.UserEd->setEditText(QStringLiteral("Bob"));
            d.HighlightEd->setChecked(true);
            d.KeyboardsCombo->setCurrentIndex(2);
            Click(d.OkBn);
            QVERIFY(d.isVisible());
        });
        QCOMPARE(BoxTexts(),
                 QStringList({QStringLiteral("Are you going to add a new user?"),
                              QStringLiteral("Please restart the program to load the profile of "
                                             "new user.")}));
        QCOMPARE(boxes[1].first, Kind::Information);
        QVERIFY(HasSection("Bob"));
        TProfile bob;
        store->LoadProfile(bob, "Bob");
        QCOMPARE(bob.Progress, 0);
        QCOMPARE(bob.TimeTotal, 0);
        QVERIFY(bob.HighLight);
        QCOMPARE(bob.KeyboardLayout, std::string("0000040C"));
        QCOMPARE(profile.SaveToStrings(), before);
        QCOMPARE(profile.UserName, std::string("Ann"));
        QCOMPARE(StoredLines("Ann"), before);
    }

    void saveWithANewNameAndNoDoesNothing()
    {
        answers = {false};
        Show([&](TProfileFm& d) {
            d.UserEd->setEditText(QStringLiteral("Bob"));
            Click(d.OkBn);
        });
        QCOMPARE(BoxTexts(), QStringList({QStringLiteral("Are you going to add a new user?")}));
        QVERIFY(!HasSection("Bob"));
    }

    void saveUnderAnotherUsersNameLeavesThatUserAlone()
    {
        TProfile bob;
        bob.LoadFromStrings({});
        bob.Progress = 5;
        store->SaveProfile(bob, "Bob");
        const auto before = StoredLines("Bob");
        Show([&](TProfileFm& d) {
            d.UserEd->setEditText(QStringLiteral("bOB"));
            Click(d.OkBn);
            QVERIFY(d.isVisible());
        });
        QCOMPARE(BoxTexts(), QStringList({QStringLiteral(
                                 "The user bOB already exists. Please choose another name.")}));
        QCOMPARE(StoredLines("Bob"), before);
        QCOMPARE(store->Users().size(), std::size_t{2});
    }

    void saveAsNewUserFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("chooseLayout");
        QTest::newRow("no layout chosen") << QStringLiteral("Bob") << false;
        QTest::newRow("name the store cannot hold") << QStringLiteral("Bo]b") << true;
    }
    void saveAsNewUserFailures()
    {
        QFETCH(QString, name);
        QFETCH(bool, chooseLayout);
        answers = {true};
        Show([&](TProfileFm& d) {
            d.UserEd->setEditText(name);
            if (!chooseLayout)
                d.KeyboardsCombo->setCurrentIndex(-1);
            Click(d.OkBn);
            QVERIFY(d.isVisible());
        });
        QCOMPARE(BoxTexts(), QStringList({QStringLiteral("Are you going to add a new user?"),
                                          QStringLiteral("Save Profile fail.")}));
        QCOMPARE(boxes[1].first, Kind::Plain);
        QCOMPARE(store->Users().size(), std::size_t{1});
    }

    void applyTakesTheControlsAndIgnoresTheUserName()
    {
        const int result = Show([&](TProfileFm& d) {
            d.UserEd->setEditText(QStringLiteral("Zed"));
            d.CourseEd->setEditText(QStringLiteral("My own course"));
            d.ChkPopupAtEnd->setChecked(true);
            d.KeyboardsCombo->setCurrentIndex(3);
            Click(d.BnApply);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(profile.UserName, std::string("Ann"));
        QCOMPARE(profile.Course, std::string("My own course"));
        QVERIFY(profile.PopupAtEnd);
        QCOMPARE(profile.KeyboardLayout, std::string("00010409"));
        QCOMPARE(profile.Progress, 12);
        // Applying writes nothing; the store is written when the program ends.
        QVERIFY(!StoredLines("Ann")[0].empty());
        QCOMPARE(StoredLines("Ann")[2], std::string("Course=English"));
    }

    void closeAfterChangesLeavesTheProfile()
    {
        const auto before = profile.SaveToStrings();
        const int result = Show([&](TProfileFm& d) {
            d.ChkFunSpeed->setChecked(true);
            d.BlinkingEd->setChecked(true);
            d.ChkGameSoundEnabled->setChecked(true);
            d.CourseEd->setEditText(QStringLiteral("Deutsch"));
            Click(d.CancelBn);
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(profile.SaveToStrings(), before);
    }

    void newUserApply_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("name");
        QTest::newRow("blanks only") << QStringLiteral("   ") << false << QString();
        QTest::newRow("empty") << QString() << false << QString();
        QTest::newRow("blanks around") << QStringLiteral("  Cy  ") << true << QStringLiteral("Cy");
    }
    void newUserApply()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(QString, name);
        profile.UserName.clear();
        bool stayedOpen = false;
        const int result = Show(
            [&](TProfileFm& d) {
                QVERIFY(d.NewUser);
                QVERIFY(!d.OkBn->isVisible());
                d.UserEd->setEditText(typed);
                d.ChkFullScreen->setChecked(true);
                Click(d.BnApply);
                stayedOpen = d.isVisible();
            },
            true);
        QCOMPARE(result == QDialog::Accepted, accepted);
        QCOMPARE(stayedOpen, !accepted);
        QCOMPARE(QString::fromStdString(profile.UserName), name);
        // Taken into the profile either way.
        QVERIFY(profile.FullScreen);
        if (!accepted)
            QCOMPARE(BoxTexts(), QStringList({QStringLiteral("Please define a user name.")}));
    }

    void uninstalledLayoutOpensWithNoneChosen()
    {
        profile.KeyboardLayout = "0000041D";
        Show([&](TProfileFm& d) {
            QCOMPARE(d.KeyboardsCombo->currentIndex(), -1);
            QCOMPARE(BoxTexts(),
                     QStringList({QStringLiteral("0000041D layout could not be activated.")}));
            QCOMPARE(boxes[0].first, Kind::Plain);
            boxes.clear();
            d.ChkFullScreen->setChecked(true);
            Click(d.BnApply);
            // The index error reaches the general error report; the dialog stays.
            QVERIFY(d.isVisible());
            QCOMPARE(BoxTexts(), QStringList({QStringLiteral("List index out of bounds (-1)")}));
            QCOMPARE(boxes[0].first, Kind::Error);
            QVERIFY(profile.FullScreen);
            QCOMPARE(profile.KeyboardLayout, std::string("0000041D"));
            // Picking a layout first avoids it.
            d.KeyboardsCombo->setCurrentIndex(1);
            Click(d.BnApply);
            QVERIFY(!d.isVisible());
        });
        QCOMPARE(profile.KeyboardLayout, std::string("00000407"));
        QCOMPARE(StoredLines("Ann")[0], std::string("FullScreen=0"));
    }

    // Where the desktop cannot switch, nothing is tried and nothing is told,
    // and the button that would only fail is off; choosing and storing a
    // layout still works.
    void desktopThatCannotSwitchShowsNoBox()
    {
        platform->Switches = false;
        profile.KeyboardLayout = "0000041D";
        Show([&](TProfileFm& d) {
            QVERIFY(!d.BnApplyKb->isEnabled());
            d.KeyboardsCombo->setCurrentIndex(1);
            Click(d.BnApply);
        });
        QVERIFY(BoxTexts().isEmpty());
        QVERIFY(platform->Activations.empty());
        QCOMPARE(profile.KeyboardLayout, std::string("00000407"));
    }

    void activateLayoutButton_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("refuse");
        QTest::addColumn<QString>("message");
        QTest::newRow("activated") << 2 << false << QStringLiteral("Selected layout is activated.");
        QTest::newRow("refused") << 2 << true
                                 << QStringLiteral("Selected layout could not be activated.");
        QTest::newRow("none chosen")
            << -1 << false << QStringLiteral("List index out of bounds (-1)");
    }
    void activateLayoutButton()
    {
        QFETCH(int, index);
        QFETCH(bool, refuse);
        QFETCH(QString, message);
        const auto before = profile.KeyboardLayout;
        Show([&](TProfileFm& d) {
            platform->Activations.clear();
            platform->Refuse = refuse;
            d.KeyboardsCombo->setCurrentIndex(index);
            Click(d.BnApplyKb);
            QVERIFY(d.isVisible());
        });
        QCOMPARE(BoxTexts(), QStringList({message}));
        if (index >= 0)
            QCOMPARE(platform->Activations, std::vector<std::uint32_t>{0x0000040C});
        QCOMPARE(profile.KeyboardLayout, before);
    }

    void gameBackgroundRecoloursTheSampleOnlyWhenOpenedAgain()
    {
        Show([&](TProfileFm& d) {
            d.ColorEd->SetColor(RGBColor(255, 0, 0));
            QCOMPARE(d.Example3Ed->palette().color(QPalette::Base), QColor(0, 0, 128));
            Click(d.BnApply);
        });
        QCOMPARE(profile.GameBgColor, RGBColor(255, 0, 0));
        Show([&](TProfileFm& d) {
            QCOMPARE(d.Example3Ed->palette().color(QPalette::Base), QColor(255, 0, 0));
        });
    }

    void colourCodesComeBackAsTheyWere_data()
    {
        QTest::addColumn<int>("bg");
        QTest::addColumn<int>("gameBg");
        QTest::newRow("grey and navy") << int(RGBColor(128, 128, 128)) << int(RGBColor(0, 0, 128));
        QTest::newRow("system colours")
            << int(SystemColor(COLOR_BTNFACE)) << int(SystemColor(COLOR_WINDOW));
        QTest::newRow("unnamed colours") << int(RGBColor(1, 2, 3)) << int(RGBColor(250, 1, 9));
        QTest::newRow("unnamed system colour") << int(SystemColor(2)) << int(SystemColor(21));
    }
    void colourCodesComeBackAsTheyWere()
    {
        QFETCH(int, bg);
        QFETCH(int, gameBg);
        profile.BgColor = bg;
        profile.GameBgColor = gameBg;
        Show([&](TProfileFm& d) { Click(d.BnApply); });
        QCOMPARE(profile.BgColor, bg);
        QCOMPARE(profile.GameBgColor, gameBg);
    }

    void customOpensTheColourDialog()
    {
        Show([&](TProfileFm& d) {
            QTimer::singleShot(0, [] {
                auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->setCurrentColor(QColor(10, 20, 30));
                dialog->accept();
            });
            const int custom = d.ColorEd->count() - 1;
            QCOMPARE(d.ColorEd->itemText(custom), QStringLiteral("Custom..."));
            d.ColorEd->setCurrentIndex(custom);
            emit d.ColorEd->activated(custom);
            QCOMPARE(d.ColorEd->Color(), RGBColor(10, 20, 30));
            Click(d.BnApply);
        });
        QCOMPARE(profile.GameBgColor, RGBColor(10, 20, 30));
    }

    void fontButtonsSetTheSampleAndApplyTheProfile_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("Line") << 0;
        QTest::newRow("Paragraph") << 1;
        QTest::newRow("Game") << 2;
    }
    void fontButtonsSetTheSampleAndApplyTheProfile()
    {
        QFETCH(int, which);
        const TFont chosen{"DejaVu Sans", 16, RGBColor(255, 0, 0), true, true, true, true};
        Show([&](TProfileFm& d) {
            QPushButton* buttons[] = {d.SetFontBn, d.Button1, d.Button3};
            TFontSample* samples[] = {d.ExampleEd, d.Example2Ed, d.Example3Ed};
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<TFontColorDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->FontDialog->setCurrentFont(ToQFont(chosen, codePage));
                dialog->ColorBox->SetColor(chosen.Color);
                dialog->accept();
            });
            Click(buttons[which]);
            QCOMPARE(samples[which]->SampleFont(), chosen);
            QVERIFY(samples[which]->font().strikeOut());
            QCOMPARE(profile.PracticeFont.Name, std::string("courier"));
            Click(d.BnApply);
        });
        const TFont* fonts[] = {&profile.PracticeFont, &profile.TextFont, &profile.GameFont};
        QCOMPARE(*fonts[which], chosen);
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestProfileDialog test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_profile_dialog.moc"
