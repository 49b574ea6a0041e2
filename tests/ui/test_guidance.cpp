// SPDX-License-Identifier: GPL-3.0-or-later
#include "OneLineDrill.h"
#include "base/CodePage.h"
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
};

QTEST_MAIN(TestGuidance)
#include "test_guidance.moc"
