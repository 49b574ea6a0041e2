// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CodePage.h"
#include "base/Errors.h"
#include "base/ui/MessageBoxes.h"
#include "drills/ui/LongText.h"
#include "drills/ui/Sentence.h"
#include "drills/ui/WeakKeys.h"
#include "drills/ui/course.h"
#include "drills/ui/letter.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QFileDialog>
#include <QInputDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <functional>

namespace {

// Answers the next standard input box with text, or cancels it.
void AnswerInputBox(const std::optional<QString>& text)
{
    QTimer::singleShot(0, [text] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        if (text) {
            box->setTextValue(*text);
            box->accept();
        } else {
            box->reject();
        }
    });
}

void Type(TFmLinePractice& form, const QString& text)
{
    QTest::keyClicks(form.InputEdit, text);
}

// Words of a few letters, one paragraph of the given length.
QString Words(qsizetype length)
{
    QString text;
    for (int i = 0; text.size() < length; ++i) {
        text += QString(2 + i % 7, QChar(u'a' + i % 26));
        text += u' ';
    }
    text.truncate(length);
    return text;
}

// Every line the box shows, in order.
QStringList ShownLines(const QTextEdit& box)
{
    QStringList lines;
    QTextDocument* document = box.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        document->documentLayout()->blockBoundingRect(block); // laid out now
        const QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i)
            lines << block.text().mid(layout->lineAt(i).textStart(),
                                      layout->lineAt(i).textLength());
    }
    return lines;
}

// The lines of the text as one paragraph in a box like this one.
QStringList LinesWrappedWhole(const QTextEdit& box, const QString& text)
{
    QTextEdit whole;
    whole.setFont(box.font());
    whole.setVerticalScrollBarPolicy(box.verticalScrollBarPolicy());
    whole.setFrameStyle(box.frameStyle());
    whole.resize(box.size());
    whole.setPlainText(text);
    whole.show();
    return ShownLines(whole);
}

} // namespace

class TestDrillWindows : public QObject
{
    Q_OBJECT

    TCodePage codePage_;
    QTemporaryDir dir_;
    std::vector<QString> boxes_;

    std::string WriteFile(const char* name, const std::string& content)
    {
        const std::string path = dir_.filePath(QString::fromLatin1(name)).toStdString();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

private slots:
    void init()
    {
        boxes_.clear();
        TMessageBoxes::SetResponder([this](TMessageBoxes::Kind, const QString& text) {
            boxes_.push_back(text);
            return true;
        });
    }
    void cleanup() { TMessageBoxes::SetResponder({}); }

    void courseStepsJumpsAndKeepsTheLesson()
    {
        auto form = TFmLinePractice::Create<TFmCoursePrac>(codePage_);
        form->SetFileName(WriteFile("course.txt", "ab\r\ncd\nef\rgh"));
        form->SetLesson(0);
        form->LoadFile();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->Label1->text(), QStringLiteral("1 / 4"));
        QCOMPARE(form->SampleEdit->toPlainText(), QStringLiteral("ab"));

        QTest::keyClick(form->InputEdit, Qt::Key_Left);
        QCOMPARE(boxes_, std::vector<QString>{QStringLiteral("Beginning of the course.")});

        Type(*form, QStringLiteral("ab "));
        QCOMPARE(form->Label1->text(), QStringLiteral("2 / 4"));
        QCOMPARE(form->SampleEdit->toPlainText(), QStringLiteral("cd"));

        AnswerInputBox(QStringLiteral("4"));
        QTest::keyClick(form->InputEdit, Qt::Key_Insert);
        QCOMPARE(form->Lesson(), 3);
        QCOMPARE(form->SampleEdit->toPlainText(), QStringLiteral("gh"));
        QVERIFY(form->InputEdit->toPlainText().isEmpty());

        Type(*form, QStringLiteral("g"));
        QTest::keyClick(form->InputEdit, Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->Lesson(), 3);
    }

    // A course of hundreds of lessons shows its position whole.
    void lessonPositionFitsItsLabel()
    {
        std::string lines;
        for (int n = 0; n < 999; ++n)
            lines += "ab\r\n";
        auto form = TFmLinePractice::Create<TFmCoursePrac>(codePage_);
        form->SetFileName(WriteFile("course.txt", lines));
        form->SetLesson(997);
        form->LoadFile();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->Label1->text(), QStringLiteral("998 / 999"));
        const QRect text = form->Label1->fontMetrics().boundingRect(form->Label1->text());
        QVERIFY2(text.width() <= form->Label1->contentsRect().width(),
                 qPrintable(QStringLiteral("%1 > %2")
                                .arg(text.width())
                                .arg(form->Label1->contentsRect().width())));
        QVERIFY(form->Label1->geometry().right() < form->Panel1->width());
    }

    void sentenceOfAOneLineFileComesEveryTime()
    {
        auto form = TFmLinePractice::Create<TFmSentencePrac>(codePage_);
        form->SetFileName(WriteFile("Practice.txt", "  Hello,  world\t\r\n"));
        form->LoadFile();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->SampleEdit->toPlainText(), QStringLiteral("Hello,  world"));
        Type(*form, QStringLiteral("Hello,  world "));
        QCOMPARE(form->SampleEdit->toPlainText(), QStringLiteral("Hello,  world"));
        QVERIFY(form->SBHelp->currentMessage().contains(QStringLiteral("Accuracy: 100%")));
    }

    void weakKeyLinesComeFromTheirSourceAndFailedOnesAgain()
    {
        std::vector<std::string> built = {"as sea", "sass", "seas"};
        std::size_t builds = 0;
        auto form = TFmLinePractice::Create<TFmWeakKeyPrac>(
            codePage_, std::vector<unsigned char>{'s', ' '},
            [&] { return built.at(std::min(builds++, built.size() - 1)); });
        QCOMPARE(form->windowTitle(), QStringLiteral("Weak Keys: s Space"));
        form->Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->SampleEdit->toPlainText(), QStringLiteral("as sea"));
        Type(*form, QStringLiteral("as sea "));
        QVERIFY(form->SBHelp->currentMessage().contains(QStringLiteral("Accuracy: 100%")));
        QCOMPARE(form->SampleEdit->toPlainText(), QStringLiteral("sass"));
        Type(*form, QStringLiteral("xxxx "));
        QCOMPARE(form->SampleEdit->toPlainText(), QStringLiteral("sass"));
        QTest::keyClick(form->InputEdit, Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QVERIFY(form->PracticeTime() > 0);

        auto nothing = TFmLinePractice::Create<TFmWeakKeyPrac>(
            codePage_, std::vector<unsigned char>{'q'}, [] { return std::string(); });
        QVERIFY_THROWS_EXCEPTION(TError, nothing->Start());
    }

    void freeDrillRepeatsTheUsersText()
    {
        auto form = TFmLinePractice::Create<TFmLetterPrac>(codePage_);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QVERIFY(!form->LineDefined());
        AnswerInputBox(QStringLiteral("asdf"));
        QTest::keyClick(form->InputEdit, Qt::Key_Insert);
        QVERIFY(form->LineDefined());
        const QString line = form->SampleEdit->toPlainText();
        QCOMPARE(line.size(), 64);
        QCOMPARE(line.count(QStringLiteral("asdf")), 13);

        AnswerInputBox(std::nullopt); // Cancel gives the default text
        QTest::keyClick(form->InputEdit, Qt::Key_Insert);
        QCOMPARE(form->SampleEdit->toPlainText().size(), 69);
    }

    void paragraphTextIsTypedWithItsLineBreaks()
    {
        auto form = TFmLinePractice::Create<TFmLongText>(codePage_);
        int returns = 0;
        int done = 0;
        form->OnReturnExpected = [&](TFmLinePractice&) { ++returns; };
        form->OnLineDone = [&](TFmLinePractice&) { ++done; };
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->LoadTextFrom(WriteFile("text.txt", "ab\ncd"));
        QCOMPARE(form->SampleEdit->toPlainText(), QStringLiteral("ab\ncd"));

        Type(*form, QStringLiteral("ab"));
        QVERIFY(form->BnShowReturn->isVisible());
        QCOMPARE(returns, 1);
        Type(*form, QStringLiteral("x")); // waits for the line break: ignored
        Type(*form, QStringLiteral(" cd"));
        QCOMPARE(form->InputEdit->toPlainText(), QStringLiteral("ab\ncd"));
        Type(*form, QStringLiteral("z"));
        QCOMPARE(done, 1);
        QVERIFY(form->SBHelp->currentMessage().contains(QStringLiteral("Accuracy: 100%")));
        QVERIFY(form->InputEdit->isReadOnly());

        // A finished text counts once.
        const auto time = form->PracticeTime();
        Type(*form, QStringLiteral("q"));
        QCOMPARE(done, 1);
        QCOMPARE(form->PracticeTime(), time);

        form->Restart();
        QVERIFY(!form->InputEdit->isReadOnly());
        QVERIFY(form->InputEdit->toPlainText().isEmpty());
    }

    // A paragraph of thousands of characters shows as the box wraps it, with
    // no line break that the text does not have; where a space is due, Enter
    // is neither judged nor counted, and the space is still to type.
    void longParagraphShowsOnlyItsOwnLineBreaks()
    {
        const QString paragraph = Words(2600);
        const QString text = paragraph + QStringLiteral("\nend");
        auto form = TFmLinePractice::Create<TFmLongText>(codePage_);
        int wrongKeys = 0;
        form->OnWrongKey = [&wrongKeys](TFmLinePractice&) { ++wrongKeys; };
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->LoadTextFrom(WriteFile("long.txt", text.toStdString()));
        QCOMPARE(form->SampleEdit->toPlainText(), text);
        QCOMPARE(form->SampleEdit->document()->blockCount(), 2);

        const qsizetype space = paragraph.indexOf(u' ', 2000);
        QVERIFY(space >= 2000);
        Type(*form, paragraph.left(space));
        QCOMPARE(form->Engine.Position, space + 1);
        QCOMPARE(form->SampleEdit->textCursor().selectedText(), QStringLiteral(" "));
        QTest::keyClick(form->InputEdit, Qt::Key_Return);
        QCOMPARE(form->Engine.Position, space + 1);
        QCOMPARE(wrongKeys, 0);
        Type(*form, QStringLiteral(" "));
        QCOMPARE(form->Engine.Position, space + 2);
        QVERIFY(form->Engine.Marks[static_cast<std::size_t>(space + 1)]);
        QCOMPARE(form->InputEdit->TypedText(), paragraph.left(space) + QStringLiteral("\n "));
    }

    // The input box shows a long typed paragraph as it would wrap it whole,
    // one line after another; what it holds is what was typed.
    void longTypedParagraphWrapsAsOne()
    {
        const QString paragraph = Words(1500);
        auto form = TFmLinePractice::Create<TFmLongText>(codePage_);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->LoadTextFrom(WriteFile("long.txt", paragraph.toStdString()));
        TDrillInputBox& box = *form->InputEdit;
        Type(*form, paragraph.left(1400));
        QCOMPARE(box.TypedText(), paragraph.left(1400));
        QCOMPARE(ShownLines(box), LinesWrappedWhole(box, paragraph.left(1400)));
        QVERIFY(ShownLines(box).size() > 3);
        QCOMPARE(box.document()->blockCount(), ShownLines(box).size()); // a block a line

        // Back over the place where the box wrapped: the characters typed go.
        const QStringList lines = ShownLines(box);
        const int back = static_cast<int>(lines.last().size()) + 3;
        for (int i = 0; i < back; ++i)
            QTest::keyClick(&box, Qt::Key_Backspace);
        const QString left = paragraph.left(1400 - back);
        QCOMPARE(box.TypedText(), left);
        QCOMPARE(form->Engine.Position, 1400 - back + 1);
        QCOMPARE(ShownLines(box), LinesWrappedWhole(box, left));

        // A narrower box wraps it anew.
        box.resize(box.width() / 2, box.height());
        QCOMPARE(box.TypedText(), left);
        QCOMPARE(ShownLines(box), LinesWrappedWhole(box, left));
        Type(*form, paragraph.mid(left.size(), 30));
        QCOMPARE(box.TypedText(), paragraph.left(left.size() + 30));
        QCOMPARE(ShownLines(box), LinesWrappedWhole(box, box.TypedText()));
    }

    // The paragraph drill's Alt shortcuts work from the input box, and no
    // Alt+letter ever types its letter.
    void altShortcutsWorkFromTheInputBox_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("fileDialog");
        const QString ab = QStringLiteral("ab");
        const QString a = QStringLiteral("a");
        QTest::newRow("Alt+L opens the file dialog") << int(Qt::Key_L) << ab << a << true << true;
        QTest::newRow("Alt+P pastes")
            << int(Qt::Key_P) << QStringLiteral("pasted") << QString() << true << false;
        QTest::newRow("Alt+R restarts") << int(Qt::Key_R) << ab << QString() << true << false;
        QTest::newRow("Alt+C closes") << int(Qt::Key_C) << ab << a << false << false;
        QTest::newRow("Alt+X does nothing") << int(Qt::Key_X) << ab << a << true << false;
    }

    void altShortcutsWorkFromTheInputBox()
    {
        QFETCH(int, key);
        QFETCH(QString, sample);
        QFETCH(QString, input);
        QFETCH(bool, visible);
        QFETCH(bool, fileDialog);
        auto form = TFmLinePractice::Create<TFmLongText>(codePage_);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->LoadTextFrom(WriteFile("text.txt", "ab"));
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        Type(*form, QStringLiteral("a"));
        QVERIFY(form->InputEdit->hasFocus());
        bool dialogShown = false;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&dialogShown] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                dialogShown = true;
                dialog->reject();
            }
        });
        answer.start(20);
        QTest::keyClick(form->InputEdit, static_cast<Qt::Key>(key), Qt::AltModifier);
        QTRY_COMPARE(form->isVisible(), visible); // a button's click comes a moment later
        QTest::qWait(300);
        QCOMPARE(dialogShown, fileDialog);
        QCOMPARE(form->SampleEdit->toPlainText(), sample);
        QCOMPARE(form->InputEdit->toPlainText(), input);
        if (visible)
            QCOMPARE(form->focusWidget(), form->InputEdit);
    }

    // Pasting into the box is refused like typing what it is not: only
    // judged keys reach it.
    void inputBoxTakesNoPasteAndNoComposition()
    {
        auto form = TFmLinePractice::Create<TFmLongText>(codePage_);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->LoadTextFrom(WriteFile("text.txt", "\xEA"
                                                 "a"));
        form->Restart();
        QApplication::clipboard()->setText(QStringLiteral("xx"));
        form->InputEdit->paste();
        QCOMPARE(form->InputEdit->toPlainText(), QString());
        QInputMethodEvent preedit(QStringLiteral("^"), {});
        QApplication::sendEvent(form->InputEdit, &preedit);
        QCOMPARE(form->InputEdit->document()->firstBlock().layout()->preeditAreaText(), QString());
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("ê"));
        QApplication::sendEvent(form->InputEdit, &commit);
        QCOMPARE(form->InputEdit->toPlainText(), QStringLiteral("ê"));
        QCOMPARE(form->Engine.Position, 2);
        QVERIFY(!static_cast<QWidget*>(form->InputEdit)->inputMethodQuery(Qt::ImEnabled).toBool());
    }

    void anUnreadableCourseFileIsAnError()
    {
        auto form = TFmLinePractice::Create<TFmCoursePrac>(codePage_);
        form->SetFileName(dir_.filePath(QStringLiteral("missing.txt")).toStdString());
        QVERIFY_THROWS_EXCEPTION(std::exception, form->LoadFile());
    }
};

QTEST_MAIN(TestDrillWindows)
#include "test_drill_windows.moc"
