// SPDX-License-Identifier: GPL-3.0-or-later
#include "../ui/OneLineDrill.h"
#include "XDesktop.h"
#include "app/GlobalVar.h"
#include "app/ui/FormInput.h"
#include "app/ui/TWMainForm.h"
#include "base/CodePage.h"
#include "base/ui/MessageBoxes.h"
#include "drills/ui/GuidanceWindows.h"
#include "drills/ui/LongText.h"
#include "game/GameSettings.h"
#include "game/ui/game.h"
#include "keyboard/MainData.h"
#include "keyboard/ui/keyboard.h"
#include "keyboard/ui/palm.h"
#include "profile/ProfileVar.h"

#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

// A window as the X server has it: its inside and the frame the window
// manager put around it (none yet: a null rectangle).
QRect WholeWindow(const QWidget& window)
{
    const QString id = QString::number(window.winId());
    const QString extents = XDesktop::Output(
        QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")});
    const QRegularExpressionMatch frame =
        QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)")).match(extents);
    if (!frame.hasMatch())
        return {};
    const QString info = XDesktop::Output(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    auto field = [&info](const char* name) {
        const QRegularExpression pattern(QString::fromLatin1(name) +
                                         QStringLiteral(":\\s+(-?\\d+)"));
        return pattern.match(info).captured(1).toInt();
    };
    const int left = frame.captured(1).toInt();
    const int right = frame.captured(2).toInt();
    const int top = frame.captured(3).toInt();
    const int bottom = frame.captured(4).toInt();
    return {field("Absolute upper-left X") - left, field("Absolute upper-left Y") - top,
            field("Width") + left + right, field("Height") + top + bottom};
}

// The client windows of the window manager, bottom to top.
QStringList Stacking()
{
    const QString list =
        XDesktop::Output(QStringLiteral("xprop"),
                         {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    QStringList ids;
    for (const QRegularExpressionMatch& id :
         QRegularExpression(QStringLiteral("0x[0-9a-f]+")).globalMatch(list))
        ids << QString::number(id.captured(0).toULongLong(nullptr, 16));
    return ids;
}

// Waits until the window manager has framed the window and the program has
// placed it; the whole window, frame and title bar included, is then on the
// screen.
void ExpectOnScreen(QWidget& window, const char* what)
{
    QVERIFY2(QTest::qWaitForWindowExposed(&window), what);
    const QRect screen = window.screen()->geometry();
    QRect whole;
    for (int i = 0; i < 40 && !(whole.isValid() && screen.contains(whole)); ++i) {
        QTest::qWait(50);
        whole = WholeWindow(window);
    }
    QVERIFY2(whole.isValid(), qPrintable(QStringLiteral("%1: no frame").arg(what)));
    QVERIFY2(screen.contains(whole),
             qPrintable(QStringLiteral("%1: whole window at %2,%3 %4x%5 off the screen %6x%7")
                            .arg(what)
                            .arg(whole.x())
                            .arg(whole.y())
                            .arg(whole.width())
                            .arg(whole.height())
                            .arg(screen.width())
                            .arg(screen.height())));
}

} // namespace

// The windows that the program sizes to the screen or places around
// another, shown on a desktop with a window manager that frames them: each
// whole window lies on the screen, its title bar below the top edge.
class TestDesktopFrames : public QObject
{
    Q_OBJECT

    TCodePage codePage_;
    QTemporaryDir dir_;
    QProcess windowManager_;
    std::unique_ptr<TSettings> settings_;
    std::unique_ptr<TDataMod> data_;

    static bool WindowManagerRuns()
    {
        return XDesktop::Output(
                   QStringLiteral("xprop"),
                   {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
            .contains(QStringLiteral("window id"));
    }

    std::string GameFile() const { return dir_.filePath(QStringLiteral("Game.txt")).toStdString(); }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QStringLiteral("xcb"))
            QSKIP("needs an X server");
        for (const char* tool : {"openbox", "xprop", "xwininfo"})
            if (!XDesktop::Have(QString::fromLatin1(tool)))
                QSKIP("openbox, xprop and xwininfo are needed");
        QVERIFY(dir_.isValid());
        windowManager_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        windowManager_.setStandardOutputFile(QProcess::nullDevice());
        windowManager_.start(QStringLiteral("openbox"), {});
        QVERIFY(windowManager_.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(WindowManagerRuns(), 10000);

        const fs::path data = fs::path(dir_.path().toStdString()) / "data";
        fs::create_directories(data / "Courses" / "English");
        fs::copy_file(TAPWREN_BUILD_DATA_DIR "Courses/English/layout.twt",
                      data / "Courses" / "English" / "layout.twt");
        settings_ =
            std::make_unique<TSettings>(dir_.path().toStdString() + "/", data.string() + "/");
        Settings = settings_.get();
        data_ = std::make_unique<TDataMod>();
        DataMod = data_.get();
        QFile words(QString::fromStdString(GameFile()));
        QVERIFY(words.open(QIODevice::WriteOnly));
        words.write("city\n");
        TMessageBoxes::SetResponder([](TMessageBoxes::Kind, const QString&) { return true; });
    }

    void cleanupTestCase()
    {
        TMessageBoxes::SetResponder({});
        DataMod = nullptr;
        Settings = nullptr;
        windowManager_.terminate();
        windowManager_.waitForFinished();
    }

    void mainWindowFitsTheScreen_data()
    {
        QTest::addColumn<bool>("fullScreen");
        QTest::newRow("full screen") << true;
        QTest::newRow("fitted to its buttons") << false;
    }

    void mainWindowFitsTheScreen()
    {
        QFETCH(bool, fullScreen);
        TProfile profile;
        profile.UserName = "Ann";
        profile.Course = "English";
        profile.FullScreen = fullScreen;
        auto* main = new TTWMainFm();
        const std::unique_ptr<TTWMainFm> owned(main);
        main->SetProfile(profile);
        main->show();
        ExpectOnScreen(*main, "main window");
        if (!fullScreen)
            QCOMPARE(main->size(), QSize(217, 382));
        else
            QCOMPARE(WholeWindow(*main), main->screen()->availableGeometry());
    }

    void gameWindowFitsTheScreenAtAFixedSize()
    {
        GameSettings = TGameSettings();
        TgameFrame frame(codePage_);
        frame.show();
        ExpectOnScreen(frame, "game window");
        QCOMPARE(WholeWindow(frame), frame.screen()->availableGeometry());
        QCOMPARE(frame.minimumSize(), frame.size());
        QCOMPARE(frame.maximumSize(), frame.size());
    }

    void difficultyPromptOpensAboveTheGame()
    {
        GameSettings = TGameSettings();
        TgameFrame frame(codePage_);
        frame.SetGameFile(GameFile());
        frame.show(); // and at once the game, as the main window starts it
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<THInputBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            const auto answer = qScopeGuard([box] { box->BnOK->click(); });
            QCOMPARE(box->parentWidget(), &frame);
            ExpectOnScreen(*box, "difficulty prompt");
            QTRY_VERIFY(Stacking().contains(QString::number(box->winId())));
            const QStringList stacking = Stacking();
            QVERIFY(stacking.indexOf(QString::number(box->winId())) >
                    stacking.indexOf(QString::number(frame.winId())));
            seen = true;
        });
        frame.StartGame();
        QVERIFY(seen);
        frame.Engine->Stop();
        frame.GameOver = true;
    }

    void paragraphDrillFitsTheScreen()
    {
        auto form = TFmLinePractice::Create<TFmLongText>(codePage_);
        form->show();
        ExpectOnScreen(*form, "paragraph drill");
        const QRect screen = form->screen()->geometry();
        // As wide as the screen, so no longer one pixel in from its left edge.
        QCOMPARE(WholeWindow(*form), QRect(0, 1, screen.width(), screen.height() - 25));
        QVERIFY(form->InputEdit->geometry().bottom() < form->Panel1->height());
    }

    void guidanceWindowsStayOnTheScreen_data()
    {
        QTest::addColumn<QPoint>("drillPlace");
        QTest::newRow("where the drill places itself") << QPoint(-1, -1);
        QTest::newRow("drill at the bottom left corner") << QPoint(0, 700);
    }

    void guidanceWindowsStayOnTheScreen()
    {
        QFETCH(QPoint, drillPlace);
        TVKeyboard keyboard(*data_, codePage_);
        keyboard.LoadTemplate(TAPWREN_BUILD_DATA_DIR "Courses/English/layout.twt");
        TPalmForm left;
        TPalmForm right;
        for (TPalmForm* hand : {&left, &right}) {
            hand->SetBlinking(false);
            hand->SetHand(hand == &left);
            hand->LayoutFingers(*data_);
        }
        TGuidanceWindows guidance(keyboard, left, right);
        auto form = TFmLinePractice::Create<TFmOneLine>(codePage_, "f j");
        form->SetGuidanceWindows(&guidance);
        form->Start();
        if (drillPlace.x() >= 0)
            form->move(drillPlace);
        form->show();
        ExpectOnScreen(*form, "drill window");
        ExpectOnScreen(keyboard, "keyboard");
        ExpectOnScreen(left, "left hand");
        ExpectOnScreen(right, "right hand");
    }
};

QTEST_MAIN(TestDesktopFrames)
#include "test_desktop_frames.moc"
