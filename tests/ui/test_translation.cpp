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
        translation.Setup(TAPWREN_LOCALE_DIR, language.toStdString());
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
};

QTEST_MAIN(TestTranslation)
#include "test_translation.moc"
