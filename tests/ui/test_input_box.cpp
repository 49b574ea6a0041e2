// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/FormInput.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

// Runs the user's part once the box is up.
void WhenShown(const std::function<void(THInputBox&)>& user)
{
    QTimer::singleShot(0, [user] {
        auto* box = qobject_cast<THInputBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        user(*box);
    });
}

} // namespace

class TestInputBox : public QObject
{
    Q_OBJECT

private slots:
    void enterConfirmsAndLettersAreRefused()
    {
        WhenShown([](THInputBox& box) {
            QTest::keyClick(box.Edit, Qt::Key_Backspace);
            QTest::keyClicks(box.Edit, QStringLiteral("a1b0"));
            QTest::keyClick(box.Edit, Qt::Key_Escape); // does nothing
            QVERIFY(box.isVisible());
            QTest::keyClick(box.Edit, Qt::Key_Return);
        });
        QString value = QStringLiteral("3");
        QVERIFY(InputNumber(nullptr, QStringLiteral("Input Box"),
                            QStringLiteral("Set difficulty (1-10)."), value));
        QCOMPARE(value, QStringLiteral("10"));
    }

    void closingTheBoxReturnsFalseWithWhatWasTyped()
    {
        WhenShown([](THInputBox& box) {
            QVERIFY(!box.BnCancel->isVisible());
            QCOMPARE(box.LbHint->text(), QStringLiteral("How many?"));
            QTest::keyClicks(box.Edit, QStringLiteral("42"));
            box.close();
        });
        // The field starts with its text selected, so typing replaces it.
        QString value = QStringLiteral("7");
        QVERIFY(
            !InputNumber(nullptr, QStringLiteral("Input Box"), QStringLiteral("How many?"), value));
        QCOMPARE(value, QStringLiteral("42"));
    }
};

QTEST_MAIN(TestInputBox)
#include "test_input_box.moc"
