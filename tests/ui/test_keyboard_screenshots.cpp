// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the on-screen keyboard of each shipped course and saves pictures of
// it for a person to look at: screenshots/keyboard-<course>.png beside the
// test program, and keyboard-<course>-marked.png with the home key of the
// left index finger marked.
#include "ShippedData.h"
#include "base/CodePage.h"
#include "keyboard/KeyTypes.h"
#include "keyboard/MainData.h"
#include "keyboard/ui/KbForm.h"
#include "keyboard/ui/keyboard.h"

#include <QDir>
#include <QtTest>
#include <map>
#include <optional>

namespace {

// What the home key of the left index finger types unshifted: the fourth key
// from the left of the third of the four character rows.
std::optional<unsigned char> LeftIndexHome(const TDataMod& data)
{
    const TTable& keys = data.MainTbl();
    std::map<std::int32_t, std::map<std::int32_t, std::int32_t>> rows; // Y, then X, to KeyValue
    for (std::size_t k = 0; k < keys.RowCount(); ++k)
        if (IsCharacterKey(keys.Integer(k, "KeyType")) && keys.String(k, "Name") != "Space")
            rows[keys.Integer(k, "Y")][keys.Integer(k, "X")] = keys.Integer(k, "KeyValue");
    if (rows.size() != 4 || std::next(rows.begin(), 2)->second.size() < 4)
        return std::nullopt;
    const std::int32_t keyValue = std::next(std::next(rows.begin(), 2)->second.begin(), 3)->second;
    const TTable& chars = data.Ctbl();
    for (std::size_t c = 0; c < chars.RowCount(); ++c)
        if (chars.Integer(c, "KeyNo") == keyValue && !chars.Boolean(c, "Shift") &&
            !chars.Boolean(c, "AltGr") && chars.Integer(c, "Accent") == 0)
            return static_cast<unsigned char>(chars.Integer(c, "Code"));
    return std::nullopt;
}

} // namespace

class TestKeyboardScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void drawsTheShippedKeyboards_data()
    {
        QTest::addColumn<QString>("course");
        for (const std::string& course : ShippedCourses())
            QTest::newRow(course.c_str()) << QString::fromStdString(course);
    }

    void drawsTheShippedKeyboards()
    {
        QFETCH(QString, course);
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
        const std::optional<unsigned char> home = LeftIndexHome(data);
        QVERIFY(home);
        QCOMPARE(window.ShowKey(static_cast<char>(*home)), 3);
        QVERIFY(window.grab().save(marked));
        QCOMPARE(QImage(plain).size(), window.size());
        QVERIFY(QImage(plain) != QImage(marked));
        qInfo("%s\n%s", qPrintable(QDir::toNativeSeparators(plain)),
              qPrintable(QDir::toNativeSeparators(marked)));
    }
};

QTEST_MAIN(TestKeyboardScreenshots)
#include "test_keyboard_screenshots.moc"
