// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/MainData.h"
#include "keyboard/ui/palm.h"

#include <QTimer>
#include <QtTest>

namespace {

TDataMod Template()
{
    TDataMod data;
    for (std::size_t i = 0; i < FingerCount; ++i) {
        data.FingerLength[i] = 40;
        data.FingerColor[i] = RGBColor(200, 20 * static_cast<int>(i), 50);
    }
    data.FingerLength[LMiddle] = 60;
    data.FingerLength[RMiddle] = 55;
    return data;
}

QColor Pixel(const TPalmForm& form, int x, int y)
{
    return form.Surface().pixelColor(x, y);
}

QColor Color(const TDataMod& data, TFingerName name)
{
    const TColor c = data.FingerColor[name];
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

} // namespace

class TestPalmForm : public QObject
{
    Q_OBJECT

private slots:
    void bothHandsShareTheHeight()
    {
        const TDataMod data = Template();
        TPalmForm left;
        left.SetHand(true);
        left.LayoutFingers(data);
        TPalmForm right;
        right.SetHand(false);
        right.LayoutFingers(data);
        QCOMPARE(left.height(), 84);
        QCOMPARE(right.height(), 84);
        QCOMPARE(left.width(), 63);
        QCOMPARE(left.windowTitle(), QStringLiteral("Left"));
        // The stroke of the left middle finger reaches from the base line up.
        QCOMPARE(Pixel(left, 28, 74), Color(data, LMiddle));
        QCOMPARE(Pixel(left, 28, 74 - 60), Color(data, LMiddle));
        QCOMPARE(Pixel(left, 28, 74 - 60 - 5), QColor(Qt::black));
    }

    void aHandWithoutFingersIsNeverShown()
    {
        TDataMod data = Template();
        for (TFingerName name : {RLittle, RRing, RMiddle, RIndex, RThumb})
            data.FingerLength[name] = 0;
        TPalmForm right;
        right.SetHand(false);
        right.LayoutFingers(data);
        right.ShowIfUsed();
        QVERIFY(!right.isVisible());
    }

    void theDotMovesAndARepaintKeepsOnlyTheCurrentMark()
    {
        const TDataMod data = Template();
        TPalmForm left;
        left.SetHand(true);
        left.SetBlinking(false);
        left.LayoutFingers(data);
        left.show();
        QVERIFY(QTest::qWaitForWindowExposed(&left));

        left.SetFinger(0);
        left.SetFinger(6);
        QVERIFY(!left.TimerOfPalm->isActive());

        const int ringDot = 74 - 40 - 7;
        left.SetFinger(2);
        QCOMPARE(Pixel(left, 19, ringDot), Color(data, LRing));
        left.SetFinger(4);
        QCOMPARE(Pixel(left, 19, ringDot), QColor(Qt::black));
        QCOMPARE(Pixel(left, 37, ringDot), Color(data, LIndex));

        left.ClearFinger();
        QVERIFY(!left.TimerOfPalm->isActive());
        left.repaint();
        QCOMPARE(Pixel(left, 37, ringDot), QColor(Qt::black));
    }

    void aBlinkingFingerGoesDarkAndComesBack()
    {
        const TDataMod data = Template();
        TPalmForm left;
        left.SetHand(true);
        left.LayoutFingers(data);
        left.show();
        left.SetFinger(3);
        QVERIFY(left.TimerOfPalm->isActive());
        QCOMPARE(left.TimerOfPalm->interval(), 250);
        QCOMPARE(Pixel(left, 28, 74 - 60 - 7), QColor(Qt::black)); // no dot
        QTRY_COMPARE_WITH_TIMEOUT(Pixel(left, 28, 50), QColor(Qt::black), 1000);
        QTRY_COMPARE_WITH_TIMEOUT(Pixel(left, 28, 50), Color(data, LMiddle), 1000);
    }

    // The drills hide the hands between lines and after their end, and may
    // mark a finger while the hands are hidden.
    void onlyAShownHandBlinks()
    {
        const TDataMod data = Template();
        TPalmForm left;
        left.SetHand(true);
        left.LayoutFingers(data);
        left.SetFinger(3);
        QVERIFY(!left.TimerOfPalm->isActive());
        left.show();
        QVERIFY(left.TimerOfPalm->isActive());
        left.hide();
        QVERIFY(!left.TimerOfPalm->isActive());
        left.SetFinger(2);
        QVERIFY(!left.TimerOfPalm->isActive());
        left.show();
        QVERIFY(left.TimerOfPalm->isActive());
    }
};

QTEST_MAIN(TestPalmForm)
#include "test_palm.moc"
