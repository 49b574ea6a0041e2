// SPDX-License-Identifier: GPL-3.0-or-later
#include "../ui/OneLineDrill.h"
#include "XDesktop.h"
#include "app/ui/FormInput.h"
#include "base/CodePage.h"
#include "base/ui/MessageBoxes.h"
#include "base/ui/QtBridge.h"
#include "drills/ui/LongText.h"
#include "game/GameSettings.h"
#include "game/ui/game.h"

#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <memory>

namespace {

const QColor Navy(0, 0, 128);
const QColor Red(255, 0, 0);

// The colour of every character in the input box: 'r' navy, 'w' red.
QString Colours(const QTextEdit* box)
{
    QString colours;
    const int count = box->document()->characterCount() - 1;
    for (int i = 1; i <= count; ++i) {
        QTextCursor cursor(box->document());
        cursor.setPosition(i);
        const QColor colour = cursor.charFormat().foreground().color();
        colours += colour == Navy ? u'r' : colour == Red ? u'w' : u'?';
    }
    return colours;
}

void Focus(QWidget* window, QWidget* box)
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
}

} // namespace

// Real key events through real layouts on a virtual X server: dead keys and
// AltGr reach the boxes as the desktop delivers them.
class TestDesktopKeys : public QObject
{
    Q_OBJECT

    TCodePage codePage_;
    QTemporaryDir dir_;

    std::unique_ptr<TFmOneLine> ShownDrill(const QString& sample)
    {
        auto form = TFmLinePractice::Create<TFmOneLine>(codePage_, FromQString(sample, codePage_));
        form->Start();
        form->show();
        Focus(form.get(), form->InputEdit);
        return form;
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QStringLiteral("xcb"))
            QSKIP("needs an X server");
        for (const char* tool : {"setxkbmap", "xdotool"})
            if (!XDesktop::Have(QString::fromLatin1(tool)))
                QSKIP("setxkbmap and xdotool are needed");
        TMessageBoxes::SetResponder([](TMessageBoxes::Kind, const QString&) { return true; });
    }

    void cleanupTestCase() { TMessageBoxes::SetResponder({}); }

    void composedCharactersAreJudgedOnce_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("colours");

        const QString de = QStringLiteral("de");
        QTest::newRow("circumflex then e") << de << QString() << QStringLiteral("thêe")
                                           << QStringList{"t", "h", "dead_circumflex", "e", "e"}
                                           << QStringLiteral("thêe") << QStringLiteral("rrrr");
        QTest::newRow("acute then e") << de << QString() << QStringLiteral("Café")
                                      << QStringList{"shift+c", "a", "f", "dead_acute", "e"}
                                      << QStringLiteral("Café") << QStringLiteral("rrrr");
        QTest::newRow("composed where a plain letter is due")
            << de << QString() << QStringLiteral("tet") << QStringList{"t", "dead_grave", "e", "t"}
            << QStringLiteral("tèt") << QStringLiteral("rwr");
        QTest::newRow("dead key then space gives the accent")
            << de << QString() << QStringLiteral("a^b")
            << QStringList{"a", "dead_circumflex", "space", "b"} << QStringLiteral("a^b")
            << QStringLiteral("rrr");
        QTest::newRow("AltGr at and euro")
            << de << QString() << QStringLiteral("a@€b")
            << QStringList{"a", "ISO_Level3_Shift+q", "ISO_Level3_Shift+e", "b"}
            << QStringLiteral("a@€b") << QStringLiteral("rrrr");
        QTest::newRow("French dead diaeresis")
            << QStringLiteral("fr") << QString() << QStringLiteral("Noël")
            << QStringList{"shift+n", "o", "dead_diaeresis", "e", "l"} << QStringLiteral("Noël")
            << QStringLiteral("rrrr");
        QTest::newRow("US international apostrophe")
            << QStringLiteral("us") << QStringLiteral("intl") << QStringLiteral("éa")
            << QStringList{"dead_acute", "e", "a"} << QStringLiteral("éa") << QStringLiteral("rr");
    }

    void composedCharactersAreJudgedOnce()
    {
        QFETCH(QString, layout);
        QFETCH(QString, variant);
        QFETCH(QString, sample);
        QFETCH(QStringList, keys);
        QFETCH(QString, typed);
        QFETCH(QString, colours);
        QVERIFY(XDesktop::SetLayout(layout, variant));
        auto form = ShownDrill(sample);
        XDesktop::Keys(keys);
        QCOMPARE(form->InputEdit->toPlainText(), typed);
        QCOMPARE(Colours(form->InputEdit), colours);
        QCOMPARE(form->Engine.Position, static_cast<int>(colours.size()) + 1);
    }

    void compositionInProgressShowsAndJudgesNothing()
    {
        QVERIFY(XDesktop::SetLayout(QStringLiteral("de")));
        auto form = ShownDrill(QStringLiteral("ê"));
        XDesktop::Keys({QStringLiteral("dead_circumflex")});
        QCOMPARE(form->InputEdit->toPlainText(), QString());
        QCOMPARE(form->Engine.Position, 1);
        XDesktop::Keys({QStringLiteral("e")});
        QCOMPARE(form->InputEdit->toPlainText(), QStringLiteral("ê"));
        QCOMPARE(form->Engine.Position, 2);
    }

    void paragraphDrillComposesAfterRestart()
    {
        QVERIFY(XDesktop::SetLayout(QStringLiteral("de")));
        auto form = TFmLinePractice::Create<TFmLongText>(codePage_);
        QGuiApplication::clipboard()->setText(QStringLiteral("Crêpes"));
        form->PasteText();
        form->show();
        Focus(form.get(), form->InputEdit);
        XDesktop::Keys({"shift+c", "r", "dead_circumflex", "e"});
        form->Restart(); // writable again: the box's input handling stays the same
        Focus(form.get(), form->InputEdit);
        XDesktop::Keys({"shift+c", "r", "dead_circumflex", "e", "p"});
        QCOMPARE(form->InputEdit->toPlainText(), QStringLiteral("Crêp"));
        QCOMPARE(Colours(form->InputEdit), QStringLiteral("rrrr"));
        QCOMPARE(form->Engine.Position, 5);
    }

    void middleButtonPastesNothing()
    {
        auto form = ShownDrill(QStringLiteral("zz"));
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (!clipboard->supportsSelection())
            QSKIP("no selection clipboard");
        clipboard->setText(QStringLiteral("zz"), QClipboard::Selection);
        QTRY_COMPARE(clipboard->text(QClipboard::Selection), QStringLiteral("zz"));
        QTest::mouseClick(form->InputEdit->viewport(), Qt::MiddleButton);
        QTest::qWait(100);
        QCOMPARE(form->InputEdit->toPlainText(), QString());
        QCOMPARE(form->Engine.Position, 1);
    }

    void gameTakesComposedCharacters()
    {
        QVERIFY(dir_.isValid());
        QVERIFY(XDesktop::SetLayout(QStringLiteral("de")));
        GameSettings = TGameSettings();
        const QString words = dir_.filePath(QStringLiteral("Game.txt"));
        QFile file(words);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("t\xEA\n"); // "tê" in the code page
        file.close();
        TgameFrame frame(codePage_);
        frame.SetGameFile(words.toStdString());
        frame.show();
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<THInputBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            box->BnOK->click();
        });
        frame.StartGame();
        QVERIFY(frame.Engine != nullptr);
        Focus(&frame, &frame);
        TGameCore& core = frame.Engine->Core();
        QTRY_COMPARE(core.Strikers.size(), 1U);
        XDesktop::Keys({QStringLiteral("t")});
        QTRY_VERIFY(core.Selecting);
        XDesktop::Keys({QStringLiteral("dead_circumflex"), QStringLiteral("e")});
        QTRY_COMPARE(core.Hits, 1);
        frame.Engine->Stop();
        frame.GameOver = true;
    }
};

QTEST_MAIN(TestDesktopKeys)
#include "test_desktop_keys.moc"
