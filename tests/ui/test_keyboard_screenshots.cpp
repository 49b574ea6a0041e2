// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the on-screen keyboard of each shipped course and saves pictures of
// it for a person to look at: screenshots/keyboard-<course>.png beside the
// test program, and keyboard-<course>-marked.png with the home key of the
// left index finger marked.
#include "base/CodePage.h"
#include "keyboard/MainData.h"
#include "keyboard/ui/KbForm.h"
#include "keyboard/ui/keyboard.h"

#include <QDir>
#include <QtTest>

class TestKeyboardScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void drawsTheShippedKeyboards_data()
    {
        QTest::addColumn<QString>("course");
        // The character on the home key of the left index finger.
        QTest::addColumn<char>("home");
        QTest::newRow("US English") << "English" << 'f';
        QTest::newRow("German") << "Deutsch" << 'f';
        QTest::newRow("French") << "Français" << 'f';
        QTest::newRow("Spanish") << "Español" << 'f';
        QTest::newRow("US Dvorak") << "English Dvorak" << 'u';
        QTest::newRow("Colemak") << "English Colemak" << 't';
    }

    void drawsTheShippedKeyboards()
    {
        QFETCH(QString, course);
        QFETCH(char, home);
        const TCodePage codePage(1252);
        TDataMod data(codePage);
        TVKeyboard window(data, codePage);
        window.SetBlinking(false);
        window.LoadTemplate(TAPWREN_BUILD_DATA_DIR "Courses/" + course.toStdString() +
                            "/layout.twt");

        QVERIFY(data.MainTbl().RowCount() > 0);
        QCOMPARE(window.KbFrame->ButtonCount(), data.MainTbl().RowCount());
        const TFrameSize size = FitToKeys(KeyExtent(data.MainTbl()));
        QCOMPARE(window.size(), QSize(size.Width, size.Height));
        for (std::size_t i = 0; i < window.KbFrame->ButtonCount(); ++i)
            QVERIFY(!window.KbFrame->Button(i)->NormalGlyph.isNull());

        const QDir folder(QCoreApplication::applicationDirPath() + "/screenshots");
        QVERIFY(folder.mkpath(QStringLiteral(".")));
        const QString plain = folder.filePath("keyboard-" + course + ".png");
        const QString marked = folder.filePath("keyboard-" + course + "-marked.png");
        QVERIFY(window.grab().save(plain));
        QCOMPARE(window.ShowKey(home), 3);
        QVERIFY(window.grab().save(marked));
        QCOMPARE(QImage(plain).size(), window.size());
        QVERIFY(QImage(plain) != QImage(marked));
        qInfo("%s\n%s", qPrintable(QDir::toNativeSeparators(plain)),
              qPrintable(QDir::toNativeSeparators(marked)));
    }
};

QTEST_MAIN(TestKeyboardScreenshots)
#include "test_keyboard_screenshots.moc"
