// SPDX-License-Identifier: GPL-3.0-or-later
#include "OneLineDrill.h"
#include "base/CodePage.h"
#include "base/ui/MessageBoxes.h"

#include <QLabel>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

namespace {

struct TBox
{
    TMessageBoxes::Kind kind;
    QString text;
};

QColor ColorAt(QTextEdit* box, int position)
{
    QTextCursor cursor(box->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat().foreground().color();
}

} // namespace

class TestLinePractice : public QObject
{
    Q_OBJECT

    TCodePage codePage_;
    std::vector<TBox> boxes_;

private slots:
    void init()
    {
        boxes_.clear();
        TMessageBoxes::SetResponder([this](TMessageBoxes::Kind kind, const QString& text) {
            boxes_.push_back({kind, text});
            return true;
        });
    }
    void cleanup() { TMessageBoxes::SetResponder({}); }

    void typingColoursJudgesAndReports()
    {
        auto form = TFmLinePractice::Create<TFmOneLine>(codePage_, "abc");
        int wrongKeys = 0;
        int linesDone = 0;
        form->OnWrongKey = [&](TFmLinePractice&) { ++wrongKeys; };
        form->OnLineDone = [&](TFmLinePractice&) { ++linesDone; };
        form->Engine.PopupStatistics = true;
        form->Engine.HighlightFlag = true;
        form->SetPracticeFont(QFont(QStringLiteral("Courier New"), 12), Qt::black);
        form->Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));

        QVERIFY(!form->SampleEdit->textCursor().hasSelection());
        QTest::keyClicks(form->InputEdit, QStringLiteral("a"));
        QVERIFY(form->LbMark->isVisible());
        QCOMPARE(form->SampleEdit->textCursor().selectedText(), QStringLiteral("b"));

        QTest::keyClicks(form->InputEdit, QStringLiteral("x"));
        QCOMPARE(wrongKeys, 1);
        QCOMPARE(form->SampleEdit->textCursor().selectedText(), QStringLiteral("c"));

        // Keys that would move the caret into the typed text never reach it.
        QTest::keyClick(form->InputEdit, Qt::Key_Left);
        QTest::keyClick(form->InputEdit, Qt::Key_Home);
        QTest::keyClicks(form->InputEdit, QStringLiteral("c"));
        QCOMPARE(form->InputEdit->toPlainText(), QStringLiteral("axc"));
        QCOMPARE(ColorAt(form->InputEdit, 0), QColor(0, 0, 128));
        QCOMPARE(ColorAt(form->InputEdit, 1), QColor(255, 0, 0));
        QCOMPARE(ColorAt(form->InputEdit, 2), QColor(0, 0, 128));

        // The key after the last character ends the line.
        QTest::keyClick(form->InputEdit, Qt::Key_Space);
        QCOMPARE(linesDone, 1);
        QVERIFY(!form->LbMark->isVisible());
        const QString status = form->SBHelp->currentMessage();
        QVERIFY2(status.contains(QStringLiteral("Accuracy: 66%   WPM: ")), qPrintable(status));
        QVERIFY(status.startsWith(QStringLiteral("Keys/Min: ")));

        // Typed in no time at all: the pop-up, then the warning.
        QCOMPARE(boxes_.size(), std::size_t{2});
        QCOMPARE(boxes_[0].kind, TMessageBoxes::Kind::Information);
        QCOMPARE(boxes_[0].text, status);
        QCOMPARE(boxes_[1].kind, TMessageBoxes::Kind::Warning);
        QCOMPARE(boxes_[1].text, QStringLiteral("Can you really type so fast?  Do be patient."));

        // The next line starts clean, with nothing highlighted.
        QCOMPARE(form->nextLines, 2);
        QVERIFY(form->InputEdit->toPlainText().isEmpty());
        QVERIFY(!form->SampleEdit->textCursor().hasSelection());
        QVERIFY(form->PracticeTime() >= 25);
    }

    void escapeClosesTheWindow()
    {
        auto form = TFmLinePractice::Create<TFmOneLine>(codePage_, "abc");
        form->Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTest::keyClicks(form->InputEdit, QStringLiteral("a"));
        QTest::keyClick(form->InputEdit, Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Rejected));
        QVERIFY(boxes_.empty());
        QCOMPARE(form->nextLines, 2);
    }

    void charactersOutsideTheCodePageAreWrong()
    {
        auto form = TFmLinePractice::Create<TFmOneLine>(codePage_, "\xe4"
                                                                   "b");
        int wrongKeys = 0;
        form->OnWrongKey = [&](TFmLinePractice&) { ++wrongKeys; };
        form->Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTest::sendKeyEvent(QTest::Click, form->InputEdit, Qt::Key_unknown, QString(QChar(0xE4)),
                            Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, form->InputEdit, Qt::Key_unknown, QString(QChar(0x0141)),
                            Qt::NoModifier);
        QCOMPARE(wrongKeys, 1);
        QCOMPARE(form->InputEdit->toPlainText(), QString::fromUtf8("\xc3\xa4\xc5\x81"));
        QCOMPARE(ColorAt(form->InputEdit, 1), QColor(255, 0, 0));
    }

    void textModeShowsLineBreaksAsTyped()
    {
        auto form = TFmLinePractice::Create<TFmOneLine>(codePage_, "ab\r\ncd");
        form->Engine.EnterEndsLine = false;
        form->Engine.HighlightFlag = true;
        form->Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTest::keyClicks(form->InputEdit, QStringLiteral("ab"));
        QTest::keyClick(form->InputEdit, Qt::Key_Space);
        QCOMPARE(form->SampleEdit->textCursor().selectedText(), QStringLiteral("c"));
        QTest::keyClicks(form->InputEdit, QStringLiteral("c"));
        QCOMPARE(form->InputEdit->document()->blockCount(), 2);
        QCOMPARE(form->InputEdit->document()->lastBlock().text(), QStringLiteral("c"));
        QCOMPARE(form->SampleEdit->textCursor().selectedText(), QStringLiteral("d"));
    }

    void placesItselfOnTheScreen()
    {
        auto form = TFmLinePractice::Create<TFmOneLine>(codePage_, "abc");
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const int width = screen.width() * 90 / 100;
        QCOMPARE(form->width(), width);
        QCOMPARE(form->x(), (screen.width() - width) / 2);
        QCOMPARE(form->y(), screen.height() <= 640 ? 20 : screen.height() / 8);
        QCOMPARE(form->SampleEdit->width(), width - 15);
        QCOMPARE(form->InputEdit->width(), width - 11);
    }
};

QTEST_MAIN(TestLinePractice)
#include "test_line.moc"
