#include "app/Translation.h"
#include "base/Translate.h"

#include <QCoreApplication>
#include <QtTest>

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void germanFromTheFirstArgument()
    {
        TTranslation translation;
        translation.Setup(TAPWREN_LOCALE_DIR, "de");
        QCOMPARE(translation.Language(), std::string("de"));
        QCOMPARE(QString::fromUtf8(_("Line Practice")), QStringLiteral("Zeilenübung"));
        // The toolkit's own buttons speak the same language.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ja"));
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
