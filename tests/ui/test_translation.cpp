// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/Translation.h"
#include "base/Translate.h"

#include <QCoreApplication>
#include <QtTest>

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void languageFromTheFirstArgument_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("linePractice");
        QTest::addColumn<QString>("yes");
        QTest::newRow("German") << "de"
                                << "Zeilenübung"
                                << "&Ja";
        QTest::newRow("French") << "fr"
                                << "Exercice de frappe"
                                << "&Oui";
        QTest::newRow("Spanish") << "es"
                                 << "Práctica de línea"
                                 << "&Sí";
    }

    void languageFromTheFirstArgument()
    {
        QFETCH(QString, language);
        QFETCH(QString, linePractice);
        QFETCH(QString, yes);
        TTranslation translation;
        QVERIFY(translation.Setup(TAPWREN_LOCALE_DIR, language.toStdString()));
        QCOMPARE(translation.Language(), language.toStdString());
        QCOMPARE(QString::fromUtf8(_("Line Practice")), linePractice);
        // The toolkit's own buttons speak the same language.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), yes);
    }

    void regionalVariantFallsBackToTheLanguage()
    {
        TTranslation translation;
        translation.Setup(TAPWREN_LOCALE_DIR, "de_AT");
        QCOMPARE(QString::fromUtf8(_("Keys/Min: %d   Accuracy: %d%%   WPM: %d")),
                 QStringLiteral("Anschläge/Min: %d   Genauigkeit: %d%%   WpM: %d"));
    }

    // Without an argument the environment's LANGUAGE list is read in order:
    // the first language with a catalogue wins, English among them.
    void environmentLanguageList_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("linePractice");
        QTest::newRow("unknown first") << QByteArray("xx:fr:de") << "Exercice de frappe";
        QTest::newRow("English first") << QByteArray("en:de") << "Line Practice";
        QTest::newRow("none known") << QByteArray("xx:yy") << "Line Practice";
    }

    void environmentLanguageList()
    {
        QFETCH(QByteArray, list);
        QFETCH(QString, linePractice);
        // A catalogue of another language, in force from an earlier set-up.
        TTranslation earlier;
        earlier.Setup(TAPWREN_LOCALE_DIR, "es");
        qputenv("LANG", "C.UTF-8");
        qunsetenv("LC_ALL");
        qunsetenv("LC_MESSAGES");
        qputenv("LANGUAGE", list);
        TTranslation translation;
        QVERIFY(translation.Setup(TAPWREN_LOCALE_DIR, ""));
        QCOMPARE(QString::fromUtf8(_("Line Practice")), linePractice);
    }

    void languageWithoutCatalogueKeepsEnglish()
    {
        TTranslation translation;
        QVERIFY(!translation.Setup(TAPWREN_LOCALE_DIR, "xx"));
        QCOMPARE(translation.Language(), std::string());
        QCOMPARE(QString::fromUtf8(_("Line Practice")), QStringLiteral("Line Practice"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
    }
};

QTEST_MAIN(TestTranslation)
#include "test_translation.moc"
