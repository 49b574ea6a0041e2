// SPDX-License-Identifier: GPL-3.0-or-later
#include "OffscreenScreen.h"
#include "OneLineDrill.h"
#include "base/CodePage.h"
#include "drills/ui/GuidanceDock.h"
#include "drills/ui/GuidanceWindows.h"
#include "keyboard/MainData.h"
#include "keyboard/ui/keyboard.h"
#include "keyboard/ui/palm.h"

#include <QTextEdit>
#include <QtTest>

class TestGuidance : public QObject
{
    Q_OBJECT

    TCodePage codePage_;
    TDataMod data_;
    std::unique_ptr<TVKeyboard> keyboard_;
    std::unique_ptr<TPalmForm> left_;
    std::unique_ptr<TPalmForm> right_;
    std::unique_ptr<TGuidanceWindows> guidance_;

private slots:
    void init()
    {
        keyboard_ = std::make_unique<TVKeyboard>(data_, codePage_);
        keyboard_->LoadTemplate(TAPWREN_BUILD_DATA_DIR "Courses/English/layout.twt");
        left_ = std::make_unique<TPalmForm>();
        right_ = std::make_unique<TPalmForm>();
        for (auto* hand : {left_.get(), right_.get()}) {
            hand->SetBlinking(false);
            hand->SetHand(hand == left_.get());
            hand->LayoutFingers(data_);
        }
        guidance_ = std::make_unique<TGuidanceWindows>(*keyboard_, *left_, *right_);
    }

    void placesTheWindowsAroundTheDrill()
    {
        guidance_->Show(100, 50, 600, 230);
        const QRect board = keyboard_->frameGeometry();
        QCOMPARE(board.left(), 100 + (600 - board.width()) / 2);
        QCOMPARE(board.top(), 50 + 230 + 10);
        QCOMPARE(left_->frameGeometry().right() + 1, board.left() - 5);
        QCOMPARE(right_->frameGeometry().left(), board.right() + 1 + 5);
        QCOMPARE(right_->frameGeometry().top(), board.top());
    }

    void marksTheFingerOfEveryNextKey()
    {
        auto form = TFmLinePractice::Create<TFmOneLine>(codePage_, "f j");
        form->SetGuidanceWindows(guidance_.get());
        form->Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QVERIFY(keyboard_->isVisible());
        QVERIFY(left_->isVisible() && right_->isVisible());

        QCOMPARE(left_->Hand.Current, 4); // f: left index
        QVERIFY(left_->Hand.IsMarked(4));
        QTest::keyClicks(form->InputEdit, QStringLiteral("f"));
        QCOMPARE(right_->Hand.Current, 5); // space: right thumb
        QVERIFY(!left_->Hand.IsMarked(4));
        QTest::keyClicks(form->InputEdit, QStringLiteral(" "));
        QCOMPARE(right_->Hand.Current, 4); // j: right index
        QVERIFY(keyboard_->Highlighted().has_value());

        QTest::keyClicks(form->InputEdit, QStringLiteral("j"));
        QVERIFY(!keyboard_->Highlighted().has_value());
        for (int i = 1; i <= 5; ++i)
            QVERIFY(!left_->Hand.IsMarked(i) && !right_->Hand.IsMarked(i));

        form->hide();
        QVERIFY(!keyboard_->isVisible() && !left_->isVisible() && !right_->isVisible());
    }

    void withGuidanceOffOnlyTheHiddenKeyboardFollows()
    {
        auto form = TFmLinePractice::Create<TFmOneLine>(codePage_, "fj");
        form->SetGuidanceWindows(guidance_.get());
        form->Engine.Guidance = false;
        form->Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QVERIFY(!keyboard_->isVisible());
        const auto before = keyboard_->Highlighted();
        QTest::keyClicks(form->InputEdit, QStringLiteral("f"));
        QVERIFY(keyboard_->Highlighted() != before);
        QCOMPARE(left_->Hand.Current, 0);
        QCOMPARE(right_->Hand.Current, 0);
    }

    // Where windows cannot be placed: the same three widgets inside the drill
    // window, below its input box, marking as they do as windows.
    void embeddedGuidanceShowsInsideTheDrillWindow()
    {
        guidance_->Embed();
        std::unique_ptr<TFmOneLine> form = TFmLinePractice::Create<TFmOneLine>(codePage_, "f j");
        guidance_->DockIn(form->GuidanceDock);
        form->SetGuidanceWindows(guidance_.get());
        form->Start();
        const int before = form->height();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));

        for (QWidget* part :
             std::initializer_list<QWidget*>{keyboard_.get(), left_.get(), right_.get()}) {
            QVERIFY(!part->isWindow());
            QCOMPARE(part->window(), form.get());
            QVERIFY(part->isVisible());
            const QRect inForm(part->mapTo(form.get(), QPoint()), part->size());
            QVERIFY2(form->rect().contains(inForm), "cut off by the drill window's edge");
            QVERIFY(inForm.top() > form->InputEdit->geometry().bottom());
        }
        QCOMPARE(form->height(), before + form->GuidanceDock->height());
        QVERIFY(left_->geometry().right() < keyboard_->geometry().left());
        QVERIFY(right_->geometry().left() > keyboard_->geometry().right());

        QCOMPARE(left_->Hand.Current, 4); // f: left index
        QTest::keyClicks(form->InputEdit, QStringLiteral("f "));
        QCOMPARE(right_->Hand.Current, 4); // j: right index
        QVERIFY(keyboard_->Highlighted().has_value());
        QVERIFY(right_->TimerOfPalm->isActive() || !right_->Hand.Blinking);

        // The guidance outlives the drill window, as the windows they were.
        form.reset();
        for (QWidget* part :
             std::initializer_list<QWidget*>{keyboard_.get(), left_.get(), right_.get()}) {
            QVERIFY(part->isWindow());
            QVERIFY(part->isHidden());
        }
        QVERIFY(keyboard_->windowFlags().testFlag(Qt::Tool));
    }

    void embeddedGuidanceFitsALaptopScreen()
    {
        guidance_->Embed();
        auto form = TFmLinePractice::Create<TFmOneLine>(codePage_, "f");
        guidance_->DockIn(form->GuidanceDock);
        form->SetGuidanceWindows(guidance_.get());
        form->Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QVERIFY(form->screen()->availableGeometry().contains(form->frameGeometry()));
        QVERIFY(form->width() >= form->GuidanceDock->minimumWidth());
    }
};

int main(int argc, char** argv)
{
    // A screen smaller than a 1366 x 768 laptop's.
    const TOffscreenScreen screen;
    if (!screen.Ready())
        return 1;
    QApplication app(argc, argv);
    TestGuidance test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_guidance.moc"
