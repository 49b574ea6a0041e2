// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the pictures of the manual from the real windows on the shipped data,
// in English and in German: screenshots/manual/<lang>/<name>.png beside the
// test program. Each must have the size of its copy in help/images/<lang>/,
// so a window that changes its shape tells us to copy the new pictures there.
#include "../logic/FakeLayoutPlatform.h"
#include "ShippedData.h"
#include "app/GlobalVar.h"
#include "app/ui/Application.h"
#include "app/ui/FormInput.h"
#include "app/ui/FormLogon.h"
#include "app/ui/StarterLocal.h"
#include "app/ui/TWMainForm.h"
#include "app/ui/Translation.h"
#include "base/ui/MessageBoxes.h"
#include "base/ui/QtBridge.h"
#include "drills/ui/LongText.h"
#include "drills/ui/course.h"
#include "game/ui/GameThread.h"
#include "game/ui/game.h"
#include "keyboard/ui/keyboard.h"
#include "keyboard/ui/palm.h"
#include "layout/KeyboardLayoutAgent.h"
#include "profile/ProfileStore.h"
#include "profile/ProfileVar.h"
#include "profile/ui/ProfileForm.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <list>
#include <memory>

namespace fs = std::filesystem;

namespace {

std::unique_ptr<TKeyboardLayoutAgent> Desktop()
{
    auto platform = std::make_unique<TFakeLayoutPlatform>();
    const TInstalledLayout us = {
        0x00000409, "English (US)", true, {0x0409, "English (United States)", "United States"}};
    platform->Installed = {us, German(), French()};
    platform->Loaded = {{{0x00000409, "English (US)"}}, 0};
    return std::make_unique<TKeyboardLayoutAgent>(std::move(platform));
}

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

// The windows as they stand on the screen, in one picture.
QImage Together(const std::vector<QWidget*>& windows)
{
    QRect all;
    for (const QWidget* window : windows)
        all |= window->geometry();
    QImage picture(all.size(), QImage::Format_RGB32);
    picture.fill(QColor(0xE8, 0xE8, 0xE8));
    QPainter painter(&picture);
    for (QWidget* window : windows)
        painter.drawPixmap(window->geometry().topLeft() - all.topLeft(), window->grab());
    return picture;
}

} // namespace

class TestManualScreenshots : public QObject
{
    Q_OBJECT

    QDir shots_;
    QString language_;
    QStringList taken_;

    void Save(const QString& name, const QImage& picture)
    {
        const QString path = shots_.filePath(name + ".png");
        QVERIFY(picture.save(path));
        taken_ << name;
        qInfo("%s", qPrintable(QDir::toNativeSeparators(path)));
    }
    void Save(const QString& name, QWidget& window) { Save(name, window.grab().toImage()); }

private slots:
    void showsTheRealWindows_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<std::string>("course");
        QTest::addColumn<std::string>("layout");
        // What a first lesson starts with, and one key struck wrong.
        QTest::addColumn<QString>("typed");
        QTest::newRow("en") << "en" << std::string("English") << std::string("00000409")
                            << "asdf jkk";
        QTest::newRow("de") << "de" << std::string("Deutsch") << std::string("00000407")
                            << "asdf jkk";
    }

    void showsTheRealWindows()
    {
        QFETCH(QString, language);
        QFETCH(std::string, course);
        QFETCH(std::string, layout);
        QFETCH(QString, typed);
        TTranslation translation;
        translation.Setup(TAPWREN_LOCALE_DIR, language.toStdString());
        language_ = language;
        taken_.clear();
        shots_.setPath(QCoreApplication::applicationDirPath() + "/screenshots/manual/" + language);
        QVERIFY(shots_.mkpath(QStringLiteral(".")));

        // The shipped data with its built templates, the shipped user on the
        // course of the language.
        QTemporaryDir dir;
        const auto [data, program] = CopyShippedData(dir.path().toStdString());
        {
            TProfileStore store((data / "twc.ini").string());
            TProfile profile;
            store.LoadProfile(profile, "Default");
            profile.Course = course;
            profile.KeyboardLayout = layout;
            store.SaveProfile(profile, "Default");
        }
        TSettings settings(program.string() + "/", data.string() + "/");
        settings.Load();
        Settings = &settings;
        int answered = 0;
        TMessageBoxes::SetResponder([&answered](TMessageBoxes::Kind, const QString&) {
            ++answered;
            return true;
        });

        TFmLogon logon;
        TApplication::SetMainForm(&logon);
        auto* starter = new TTWStarterLocal(&logon, Desktop());
        logon.Starter = starter;
        logon.show();
        QVERIFY(QTest::qWaitForWindowExposed(&logon));
        QCOMPARE(logon.ComboUser->currentText(), QStringLiteral("Default"));
        Save("logon", logon);

        logon.OKButton->click();
        TTWMainFm* main = starter->MainFm();
        QVERIFY(main != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(main));
        // Still pictures: the marks stay on instead of blinking.
        main->VKeyboard->SetBlinking(false);
        main->PalmForm->SetBlinking(false);
        main->RightPalmForm->SetBlinking(false);
        main->CourseBn->setFocus();
        Save("main", *main);

        InsideModal<TFmCoursePrac>([&](TFmCoursePrac& form) {
            QTest::keyClicks(form.InputEdit, typed);
            QVERIFY(main->VKeyboard->isVisible());
            QVERIFY(main->PalmForm->isVisible());
            Save("course", Together({&form, main->VKeyboard, main->PalmForm, main->RightPalmForm}));
        });
        main->CourseBn->click();

        InsideModal<TFmLongText>([&](TFmLongText& form) {
            const std::string text = (data / "Courses" / course / "Practice.txt").string();
            form.LoadTextFrom(text);
            QTest::keyClicks(form.InputEdit,
                             form.SampleEdit->toPlainText().left(12) + QStringLiteral("x"));
            Save("paragraph", form);
        });
        main->ParagraphBn->click();

        InsideModal<TProfileFm>([&](TProfileFm& form) {
            Save("profile", form);
            form.PageControl2->setCurrentIndex(1);
            Save("profile-misc", form);
            form.PageControl2->setCurrentIndex(2);
            Save("profile-keyboard", form);
        });
        main->ProfileBn->click();

        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<THInputBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            box->Edit->setText(QStringLiteral("8"));
            box->BnOK->click();
        });
        main->GameBn->click();
        TgameFrame* game = main->gameFrame;
        QVERIFY(game != nullptr);
        // A few words on their way down; one shot, the next half typed.
        QVERIFY(game->Engine != nullptr);
        const std::list<TStrikerPtr>& falling = game->Engine->Core().Strikers;
        QTest::qWait(2000);
        QTRY_VERIFY_WITH_TIMEOUT(falling.size() >= 3, 20000);
        const QString shot = ToQString(falling.front()->Word, settings.CodePage());
        const QString next = ToQString((*std::next(falling.begin()))->Word, settings.CodePage());
        for (const QChar letter : shot + next.left(next.size() / 2)) {
            QTest::sendKeyEvent(QTest::Click, game, Qt::Key_unknown, QString(letter),
                                Qt::NoModifier);
            QTest::qWait(40);
        }
        QTest::qWait(150);
        Save("game", *game);
        game->close();
        QVERIFY(main->isVisible());

        QCOMPARE(answered, 1); // only the exit question of the game
        main->close();
        TMessageBoxes::SetResponder({});
        TApplication::SetMainForm(nullptr);
        Settings = nullptr;

        for (const QString& name : taken_) {
            const QString shipped =
                QStringLiteral(TAPWREN_SOURCE_HELP_DIR "images/") + language_ + "/" + name + ".png";
            QVERIFY2(QFileInfo::exists(shipped), qPrintable(shipped + " is missing"));
            QCOMPARE(QImage(shipped).size(), QImage(shots_.filePath(name + ".png")).size());
        }
    }
};

QTEST_MAIN(TestManualScreenshots)
#include "test_manual_screenshots.moc"
