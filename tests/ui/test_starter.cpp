// SPDX-License-Identifier: GPL-3.0-or-later
#include "../logic/FakeLayoutPlatform.h"
#include "app/GlobalVar.h"
#include "app/ui/Application.h"
#include "app/ui/FormLogon.h"
#include "app/ui/StarterLocal.h"
#include "app/ui/TWMainForm.h"
#include "base/ui/MessageBoxes.h"
#include "keyboard/MainData.h"
#include "layout/KeyboardLayoutAgent.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <fstream>

namespace {

using Box = std::pair<TMessageBoxes::Kind, QString>;

std::unique_ptr<TKeyboardLayoutAgent> FakeAgent()
{
    auto platform = std::make_unique<TFakeLayoutPlatform>();
    platform->Installed = {German(), French()};
    platform->Loaded = {{{0x00000407, "German"}}, 0};
    return std::make_unique<TKeyboardLayoutAgent>(std::move(platform));
}

bool CopyFile(const QString& from, const QString& to)
{
    QDir().mkpath(QFileInfo(to).path());
    return QFile::copy(from, to);
}

} // namespace

class TestStarter : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TSettings> settings_;
    std::unique_ptr<TFmLogon> logon_;
    TTWStarterLocal* starter_ = nullptr;
    std::vector<Box> boxes_;

    void Write(const char* name, const std::string& text)
    {
        std::ofstream(dir_->filePath(name).toStdString(), std::ios::binary) << text;
    }
    // A data folder with the English course and its built template.
    void AddEnglishCourse()
    {
        for (const char* file : {"course.txt", "Practice.txt", "Game.txt"})
            QVERIFY(CopyFile(QStringLiteral(TAPWREN_SOURCE_DATA_DIR "Courses/English/") + file,
                             dir_->filePath(QStringLiteral("Courses/English/")) + file));
        QVERIFY(CopyFile(QStringLiteral(TAPWREN_BUILD_DATA_DIR "Courses/English/layout.twt"),
                         dir_->filePath(QStringLiteral("Courses/English/layout.twt"))));
    }
    void Open(const std::string& store, const char* user)
    {
        Write("twc.ini", store);
        settings_->User = user;
        logon_ = std::make_unique<TFmLogon>();
        TApplication::SetMainForm(logon_.get());
        starter_ = new TTWStarterLocal(logon_.get(), FakeAgent());
        logon_->Starter = starter_;
        logon_->show();
    }
    void LogOn() { logon_->OKButton->click(); }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        settings_ = std::make_unique<TSettings>(dir_->path().toStdString() + "/",
                                                dir_->path().toStdString() + "/");
        settings_->FontName = "DejaVu Serif";
        Settings = settings_.get();
        boxes_.clear();
        TMessageBoxes::SetResponder([this](TMessageBoxes::Kind kind, const QString& text) {
            boxes_.emplace_back(kind, text);
            return true;
        });
    }
    void cleanup()
    {
        logon_.reset();
        TApplication::SetMainForm(nullptr);
        TMessageBoxes::SetResponder({});
        Settings = nullptr;
    }

    void logonShowsTheMainWindowInPlaceOfTheLogonWindow()
    {
        AddEnglishCourse();
        Open("[Default]\r\nCourse=English\r\nProgress=4\r\nKeyboardLayout=00000407\r\n", "Default");
        LogOn();
        TTWMainFm* mainFm = starter_->MainFm();
        QVERIFY(mainFm);
        QVERIFY(mainFm->isVisible());
        QVERIFY(!logon_->isVisible());
        QCOMPARE(mainFm->Profile, starter_->UserProfile.get());
        QCOMPARE(mainFm->LayoutAgent, starter_->LayoutAgent.get());
        QCOMPARE(starter_->UserProfile->Progress, 4);
        QCOMPARE(mainFm->font().family(), QStringLiteral("DejaVu Serif"));
        QVERIFY(DataMod);
        QVERIFY(boxes_.empty());
    }

    void aFailedLoadKeepsTheLogonWindowAndASecondLogonTheTemplate()
    {
        AddEnglishCourse();
        Open("[Default]\r\nCourse=English\r\nProgress=many\r\n[Bob]\r\nCourse=English\r\n",
             "Default");
        LogOn();
        QCOMPARE(boxes_.size(), std::size_t{1});
        QCOMPARE(boxes_[0].first, TMessageBoxes::Kind::Error);
        QVERIFY(boxes_[0].second.contains(QStringLiteral("many")));
        QVERIFY(!starter_->MainFm());
        QVERIFY(logon_->isVisible());
        const TDataMod* firstTemplate = DataMod;
        QVERIFY(firstTemplate);

        logon_->ComboUser->setEditText(QStringLiteral("Bob"));
        LogOn();
        QVERIFY(starter_->MainFm());
        QCOMPARE(DataMod, firstTemplate);
        QVERIFY(!logon_->isVisible());
    }

    void aSectionWithoutKeysStartsWithEveryDefault()
    {
        AddEnglishCourse();
        Open("[Default]\r\n", "Default");
        LogOn();
        QVERIFY(starter_->MainFm());
        TProfile defaults;
        defaults.UserName = "Default";
        defaults.LoadFromStrings({});
        QCOMPARE(starter_->UserProfile->SaveToStrings(), defaults.SaveToStrings());
        QCOMPARE(starter_->UserProfile->KeyboardLayout, std::string("00000409"));
    }

    void aNewUserChoosesAmongTheCourseFolders_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::newRow("empty Courses") << QStringList{};
        QTest::newRow("two courses") << QStringList{"Deutsch", "English"};
    }
    void aNewUserChoosesAmongTheCourseFolders()
    {
        QFETCH(QStringList, folders);
        QDir(dir_->path()).mkpath(QStringLiteral("Courses"));
        for (const QString& folder : folders)
            QDir(dir_->path()).mkpath(QStringLiteral("Courses/") + folder);
        Open("[Default]\r\nCourse=English\r\n", "Default");
        QStringList offered;
        QTimer::singleShot(0, this, [&offered] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            auto* courses = dialog->findChild<QComboBox*>(QStringLiteral("CourseEd"));
            for (int i = 0; i < courses->count(); ++i)
                offered << courses->itemText(i);
            dialog->findChild<QPushButton*>(QStringLiteral("CancelBn"))->click();
        });
        QCOMPARE(starter_->EditNewProfile(*starter_->NewUserProfile), int(QDialog::Rejected));
        offered.sort();
        QCOMPARE(offered, folders);
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestStarter test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_starter.moc"
