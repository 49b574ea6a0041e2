// SPDX-License-Identifier: GPL-3.0-or-later
#include "../logic/FakeLayoutPlatform.h"
#include "app/GlobalVar.h"
#include "app/ui/Application.h"
#include "app/ui/FormLogon.h"
#include "app/ui/StarterLocal.h"
#include "base/WholeFile.h"
#include "base/ui/MessageBoxes.h"
#include "history/HistoryStore.h"
#include "layout/KeyboardLayoutAgent.h"
#include "profile/ProfileStore.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <fstream>

namespace {

// The starter with the main window left out: it records who logged on.
class TRecordingStarter : public TTWStarterLocal
{
public:
    using TTWStarterLocal::TTWStarterLocal;
    std::vector<std::string> Started;
    void StartMain(TProfile& profile) override { Started.push_back(profile.UserName); }
};

std::unique_ptr<TKeyboardLayoutAgent> FakeAgent()
{
    auto platform = std::make_unique<TFakeLayoutPlatform>();
    platform->Installed = {German(), French()};
    return std::make_unique<TKeyboardLayoutAgent>(std::move(platform));
}

const char* const ThreeUsers = "[Default]\r\nCourse=English\r\nProgress=3\r\n"
                               "[Anna]\r\nCourse=Deutsch\r\nProgress=17\r\nTimeTotal=360000\r\n"
                               "FullScreen=1\r\nGScore1=900\r\nKeyboardLayout=00000407\r\n"
                               "[Bob]\r\nProgress=1\r\n";

using Box = std::pair<TMessageBoxes::Kind, QString>;

} // namespace

class TestLogon : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TSettings> settings_;
    std::unique_ptr<TFmLogon> logon_;
    TRecordingStarter* starter_ = nullptr;
    std::vector<Box> boxes_;
    bool confirm_ = true;

    std::string Path(const char* name) const { return dir_->filePath(name).toStdString(); }
    std::string Store() const { return ReadWholeFile(Path("twc.ini")); }
    void Write(const char* name, const std::string& text)
    {
        std::ofstream(Path(name), std::ios::binary) << text;
    }

    // A logon window shown on a data folder holding that store.
    void Open(const char* store, const char* user = "Default")
    {
        if (store)
            Write("twc.ini", store);
        settings_->User = user;
        logon_ = std::make_unique<TFmLogon>();
        starter_ = new TRecordingStarter(logon_.get(), FakeAgent());
        logon_->Starter = starter_;
        logon_->show();
    }
    QStringList Listed() const
    {
        QStringList names;
        for (int i = 0; i < logon_->ComboUser->count(); ++i)
            names << logon_->ComboUser->itemText(i);
        return names;
    }
    void Type(const QString& name) { logon_->ComboUser->setEditText(name); }

    // Answers the profile dialog the next Add opens: the new user's name
    // and Apply, or Close when the name is null.
    void AnswerProfileDialog(const QString& name)
    {
        QTimer::singleShot(0, this, [name] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            if (name.isNull()) {
                dialog->findChild<QPushButton*>(QStringLiteral("CancelBn"))->click();
                return;
            }
            dialog->findChild<QComboBox*>(QStringLiteral("UserEd"))->setEditText(name);
            dialog->findChild<QPushButton*>(QStringLiteral("BnApply"))->click();
        });
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        settings_ = std::make_unique<TSettings>(Path(""), dir_->path().toStdString() + "/");
        settings_->ToRestoreLayout = true;
        Settings = settings_.get();
        boxes_.clear();
        confirm_ = true;
        TMessageBoxes::SetResponder([this](TMessageBoxes::Kind kind, const QString& text) {
            boxes_.emplace_back(kind, text);
            return confirm_;
        });
    }
    void cleanup()
    {
        logon_.reset();
        TMessageBoxes::SetResponder({});
        Settings = nullptr;
    }

    void listsTheStoreInFileOrderWithTheRememberedUserSelected()
    {
        Open(ThreeUsers, "anna");
        QCOMPARE(Listed(), (QStringList{"Default", "Anna", "Bob"}));
        QCOMPARE(logon_->ComboUser->currentText(), QStringLiteral("Anna"));
        QTRY_COMPARE(QApplication::focusWidget(), logon_->ComboUser);
        QCOMPARE(logon_->windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
        QVERIFY(!logon_->Image1->pixmap().isNull());
    }

    void aRememberedUserWithoutASectionLeavesTheBoxEmpty()
    {
        Open(ThreeUsers, "Carol");
        QCOMPARE(logon_->ComboUser->currentIndex(), -1);
        QCOMPARE(logon_->ComboUser->currentText(), QString());
    }

    void logsOnUnderTheNameAsTyped()
    {
        Open(ThreeUsers);
        Type(QStringLiteral("bOB"));
        QTest::keyClick(logon_->ComboUser, Qt::Key_Return);
        QCOMPARE(starter_->Started, (std::vector<std::string>{"bOB"}));
        QCOMPARE(starter_->UserProfile->UserName, std::string("bOB"));
        QCOMPARE(settings_->User, std::string("bOB"));
        QVERIFY(boxes_.empty());
        // The store finds the user's section under the typed case.
        starter_->UserProfile->Load();
        QCOMPARE(starter_->UserProfile->Progress, 1);
    }

    void refusesToLogOn_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("no name") << QString() << "Please select a user name from the user list.";
        QTest::newRow("unlisted") << "Carol"
                                  << "The user name is not in the list. Please either select "
                                     "from the list or add a new user name.";
    }
    void refusesToLogOn()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Open(ThreeUsers);
        Type(typed);
        logon_->OKButton->click();
        QVERIFY(starter_->Started.empty());
        QCOMPARE(boxes_, (std::vector<Box>{{TMessageBoxes::Kind::Information, message}}));
        QCOMPARE(settings_->User, std::string("Default"));
    }

    void removeErasesTheSectionAndNothingElse()
    {
        Open(ThreeUsers);
        Write("tw.ini", "[General]\r\nUser=Default\r\n");
        Type(QStringLiteral("ANNA"));
        logon_->BnRemove->click();
        QCOMPARE(boxes_.size(), std::size_t{1});
        QCOMPARE(boxes_[0].first, TMessageBoxes::Kind::Confirmation);
        QCOMPARE(Store(), std::string("[Default]\r\nCourse=English\r\nProgress=3\r\n"
                                      "[Bob]\r\nProgress=1\r\n"));
        QCOMPARE(Listed(), (QStringList{"Default", "Bob"}));
        QCOMPARE(logon_->ComboUser->currentText(), QString());
        QCOMPARE(settings_->User, std::string("Default"));
        QCOMPARE(ReadWholeFile(Path("tw.ini")), std::string("[General]\r\nUser=Default\r\n"));
    }

    void removeChangesNothing_data()
    {
        QTest::addColumn<QString>("store");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("lastProfile");
        QTest::newRow("answered No") << ThreeUsers << "Anna" << false << false;
        QTest::newRow("unknown name") << ThreeUsers << "Carol" << true << false;
        QTest::newRow("no name") << ThreeUsers << "" << true << false;
        QTest::newRow("one user") << "[Default]\r\nProgress=2\r\n"
                                  << "Default" << true << true;
        QTest::newRow("one user, unknown name") << "[Default]\r\nProgress=2\r\n"
                                                << "Carol" << true << true;
    }
    void removeChangesNothing()
    {
        QFETCH(QString, store);
        QFETCH(QString, typed);
        QFETCH(bool, confirm);
        QFETCH(bool, lastProfile);
        const std::string before = store.toStdString();
        Open(before.c_str());
        const QStringList listed = Listed();
        confirm_ = confirm;
        Type(typed);
        logon_->BnRemove->click();
        QCOMPARE(Store(), before);
        QCOMPARE(Listed(), listed);
        QCOMPARE(boxes_.size(), std::size_t(lastProfile ? 2 : 1));
        if (lastProfile)
            QCOMPARE(boxes_[1], Box(TMessageBoxes::Kind::Error,
                                    "There should be at least one profile. Abort."));
    }

    void addStartsTheNewUserFromTheTemplateAtZero()
    {
        Open(ThreeUsers);
        Type(QStringLiteral("anna"));
        AnswerProfileDialog(QStringLiteral("  Carol "));
        logon_->BnAdd->click();
        QCOMPARE(boxes_, (std::vector<Box>{{TMessageBoxes::Kind::Information,
                                            QStringLiteral("Carol is added to the list.")}}));
        QCOMPARE(Listed(), (QStringList{"Default", "Anna", "Bob", "Carol"}));
        QCOMPARE(logon_->ComboUser->currentText(), QStringLiteral("Default"));

        TProfileStore store(Path("twc.ini"));
        TProfile anna;
        TProfile carol;
        store.LoadProfile(anna, "Anna");
        store.LoadProfile(carol, "Carol");
        QCOMPARE(carol.Progress, 0);
        QCOMPARE(carol.TimeTotal, 0);
        QCOMPARE(carol.GScore1, 0);
        QCOMPARE(carol.Course, std::string("Deutsch"));
        QCOMPARE(carol.KeyboardLayout, std::string("00000407"));
        QVERIFY(carol.FullScreen);
        TProfile expected;
        expected.CopySettingsFrom(anna);
        QCOMPARE(carol.SaveToStrings(), expected.SaveToStrings());
        // The template keeps its progress and time.
        QCOMPARE(anna.Progress, 17);
        QCOMPARE(anna.TimeTotal, 360000);
    }

    void historyGoesWithTheRemovedUserAndANewUserStartsWithout()
    {
        {
            auto history = OpenHistory(settings_->DataDir);
            TLineRecord line;
            line.Sample = "ab";
            line.Keys = {{1, 'a', 'a', 0}};
            for (const char* user : {"Anna", "Bob", "Carol"})
                history->Record(user, line);
        }
        Open(ThreeUsers);
        Type(QStringLiteral("anna"));
        AnswerProfileDialog(QStringLiteral("Carol"));
        logon_->BnAdd->click();
        Type(QStringLiteral("anna"));
        logon_->BnRemove->click();
        std::vector<std::string> kept;
        for (const TUserSummary& user : OpenHistory(settings_->DataDir)->Users())
            kept.push_back(user.User);
        QCOMPARE(kept, std::vector<std::string>{"Bob"});
    }

    void addLeftWithoutAcceptingSavesAndShowsNothing()
    {
        Open(ThreeUsers);
        Type(QStringLiteral("Anna"));
        AnswerProfileDialog(QString());
        logon_->BnAdd->click();
        QVERIFY(boxes_.empty());
        QCOMPARE(Store(), std::string(ThreeUsers));
    }

    void addUnderAListedNameSavesNothing()
    {
        Open(ThreeUsers);
        Type(QStringLiteral("Anna"));
        AnswerProfileDialog(QStringLiteral("bob"));
        logon_->BnAdd->click();
        QCOMPARE(boxes_, (std::vector<Box>{{TMessageBoxes::Kind::Information,
                                            "The user name is already in the dropdown list. "
                                            "Please pick up the name and logon."}}));
        QCOMPARE(Store(), std::string(ThreeUsers));
    }

    void addNeedsAListedTemplate()
    {
        Open(ThreeUsers);
        Type(QStringLiteral("Carol"));
        logon_->BnAdd->click();
        QCOMPARE(boxes_, (std::vector<Box>{{TMessageBoxes::Kind::Information,
                                            "To use an existing profile as basic template to "
                                            "define a new profile, Please select a user name "
                                            "from the user combobox."}}));
    }

    void aTemplateThatCannotBeLoadedIsReportedAndNothingSaved()
    {
        Open("[Default]\r\nProgress=lots\r\n[Bob]\r\n");
        Type(QStringLiteral("Default"));
        logon_->BnAdd->click();
        QCOMPARE(boxes_.size(), std::size_t{1});
        QCOMPARE(boxes_[0].first, TMessageBoxes::Kind::Error);
        QVERIFY(boxes_[0].second.contains(QStringLiteral("lots")));
        QCOMPARE(Store(), std::string("[Default]\r\nProgress=lots\r\n[Bob]\r\n"));
        QVERIFY(logon_->isVisible());
    }

    void withoutAStoreNobodyCanLogOnOrBeAdded()
    {
        Open(nullptr);
        QCOMPARE(logon_->ComboUser->count(), 0);
        Type(QStringLiteral("Default"));
        logon_->OKButton->click();
        logon_->BnAdd->click();
        logon_->BnRemove->click();
        QCOMPARE(boxes_.size(), std::size_t{4});
        QVERIFY(boxes_[0].second.startsWith(QStringLiteral("The user name is not in the list")));
        QVERIFY(boxes_[1].second.startsWith(QStringLiteral("To use an existing profile")));
        QCOMPARE(boxes_[3].second, QStringLiteral("There should be at least one profile. Abort."));
        QVERIFY(starter_->Started.empty());
        QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("twc.ini"))));
    }

    void escapeEndsTheRunWithoutSavingTheSettings()
    {
        Open(ThreeUsers);
        QSignalSpy closed(logon_.get(), &TFmLogon::Closed);
        QTest::keyClick(logon_->ComboUser, Qt::Key_Escape);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!logon_->isVisible());
        QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("tw.ini"))));
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestLogon test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_logon.moc"
