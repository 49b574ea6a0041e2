// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShippedData.h"
#include "TestCodePage.h"
#include "base/CodePage.h"
#include "base/ui/QtBridge.h"
#include "keyboard/KeyLookup.h"
#include "keyboard/KeyTypes.h"
#include "keyboard/KeyboardDescription.h"
#include "keyboard/MainData.h"

#include <QImage>
#include <QtTest>
#include <map>
#include <set>

namespace {

std::string PrintableAscii()
{
    std::string text;
    for (char c = ' '; c <= '~'; ++c)
        text += c;
    return text;
}

// The printable characters of the character rows, in code order.
std::string PrintableTyped(const TDataMod& data)
{
    std::set<unsigned char> codes;
    for (std::size_t row = 0; row < data.Ctbl().RowCount(); ++row) {
        const auto code = static_cast<unsigned char>(data.Ctbl().Integer(row, "Code"));
        const std::optional<char32_t> ch = Cp1252().ToUnicode(code);
        if (ch && QChar::isPrint(*ch))
            codes.insert(code);
    }
    return std::string(codes.begin(), codes.end());
}

bool IsModifier(std::int32_t keyType)
{
    return keyType == KeyTypeCapsLock || keyType == KeyTypeAltGr || keyType == KeyTypeLeftShift ||
           keyType == KeyTypeRightShift;
}

} // namespace

class TestShippedTemplates : public QObject
{
    Q_OBJECT

private slots:
    void typesItsCharacters_data()
    {
        QTest::addColumn<QString>("course");
        // Every printable character the keyboard types, and no other.
        QTest::addColumn<QString>("typed");
        // Characters on a Shift or AltGr level or behind a dead key, each
        // followed by a character of the same key's base level.
        QTest::addColumn<QString>("sameKey");

        const QString ascii = QString::fromStdString(PrintableAscii());
        // What each course's keyboard types: a new course needs its line here.
        const std::map<std::string, std::pair<QString, QString>> expected = {
            {"English", {ascii, "Aa!1\"'~`?/"}},
            {"Deutsch",
             {ascii + "äöüÄÖÜß§°²³€µ´"
                      "âêîôûÂÊÎÔÛáéíóúýÁÉÍÓÚÝàèìòùÀÈÌÒÙ",
              "Aa!1\"2@q€eµm|<~+{7\\ßÉeùu°^`´"}},
            {"Français",
             {ascii + "²éèçà°£¤ùµ§€¨âêîôûÂÊÎÔÛäëïöüÿÄËÏÖÜŸ", "1&~é`è^ç@à€eµ*%ù§!Ÿy£$.;/:Ûu"}},
            {"Español",
             {ascii + "ºª·¬¡¿€ñÑçÇ´¨áéíóúýÁÉÍÓÚÝàèìòùÀÈÌÒÙ"
                      "âêîôûÂÊÎÔÛäëïöüÿÄËÏÖÜŸ",
              "ªº\\º|1@2·3~4¬6¿¡Ññ}ç€e*+?'Áa;,:.Ÿy^`¨´"}},
            {"English Dvorak", {ascii, "Aa\"'<,?/{[_-"}},
            {"English Colemak", {ascii, "Aa\"':;<,{[?/"}},
            {"English (UK)",
             {ascii + "£¬€´¨¸áéíóúýÁÉÍÓÚÝàèìòùÀÈÌÒÙâêîôûÂÊÎÔÛ"
                      "äëïöüÿÄËÏÖÜŸãñõÃÑÕçÇ",
              "Aa£3€4@'~#|\\¬`\"2´;¨[¸=ÇcÉe"}},
            {"Italiano",
             {ascii + "£€ìèéòçà°ù§´ÀÈÌÒÙáíóúýÁÉÍÓÚÝ",
              "Aa\"2£3/7{7}0`'?'^ì~ìéè[è]+*+çò@ò°à#à§ùÈeÉe´,;,"}},
            {"Português (Portugal)",
             {ascii + "«»£§€çÇºª´¨áéíóúýÁÉÍÓÚÝàèìòùÀÈÌÒÙâêîôûÂÊÎÔÛ"
                      "ãõñÃÕÑäëïöüÿÄËÏÖÜŸ",
              "Aa@2£3§4{7[8]9}0»«*+¨+Ççªº`´^~ÃaÉe"}},
            {"Português (Brasil)",
             {ascii + "¹²³£¢¬§°ªºçÇ´¨áéíóúýÁÉÍÓÚÝàèìòùÀÈÌÒÙâêîôûÂÊÎÔÛãõñÃÕÑ",
              "Aa\"'¹1²2³3£4¢5¬6¨6§=°eª[º]Çç`´^~?/:;|\\Ãa"}},
            {"Svenska",
             {ascii + "åäöÅÄÖ§½¤£€µ´¨"
                      "áéíóúýÁÉÍÓÚÝàèìòùÀÈÌÒÙâêîôûÂÊÎÔÛëïüÿËÏÜŸ",
              "Åå½§@2¤4$4€eµm|<\\+`´^¨~¨*'Éeüu"}},
            {"Norsk",
             {ascii + "åæøÅÆØ§¤£€µ´¨"
                      "áéíóúýÁÉÍÓÚÝâêîôûÂÊÎÔÛäëïöüÿÄËÏÖÜŸ",
              "Åå§|@2¤4$4€eµm`\\´\\^¨~¨*'Éeüu"}},
            {"Dansk",
             {ascii + "åæøÅÆØ§½¤£€µ´¨"
                      "áéíóúýÁÉÍÓÚÝàèìòùÀÈÌÒÙâêîôûÂÊÎÔÛäëïöüÿÄËÏÖÜŸ",
              "Åå§½@2¤4$4€eµm\\<`´|´^¨~¨*'Éeüu"}},
            {"Deutsch (Schweiz)",
             {ascii + "äöüèéàçÄÖÜ§°¬¢£€´¨"
                      "áíóúýÁÉÍÓÚÝìòùÀÈÌÒÙâêîôûÂÊÎÔÛëïÿËÏŸ",
              "+1*3ç4@2#3¬6|7¢8°§?'´'`^~^!¨]¨èü[üéöàä{ä£$}$\\<€eÜuÉe"}},
        };
        for (const std::string& course : ShippedCourses()) {
            const auto found = expected.find(course);
            // A course without its line fails below: its keyboard would type nothing.
            const std::pair<QString, QString> chars =
                found == expected.end() ? std::pair<QString, QString>{} : found->second;
            QTest::newRow(course.c_str())
                << QString::fromStdString(course) << chars.first << chars.second;
        }
    }

    void typesItsCharacters()
    {
        QFETCH(QString, course);
        QFETCH(QString, typed);
        QFETCH(QString, sameKey);
        TDataMod data(Cp1252());
        QVERIFY(data.LoadTemplate(TAPWREN_BUILD_DATA_DIR "Courses/" + course.toStdString() +
                                  "/layout.twt"));

        const std::string bytes = FromQString(typed, Cp1252());
        const std::set<unsigned char> expected(bytes.begin(), bytes.end());
        QCOMPARE(ToQString(PrintableTyped(data), Cp1252()),
                 ToQString(std::string(expected.begin(), expected.end()), Cp1252()));
        for (const unsigned char code : expected) {
            const TFoundKey key = FindKey(data, code);
            QVERIFY2(key.Button && key.Finger >= 0 && key.Finger <= 9,
                     qPrintable(ToQString(std::string(1, static_cast<char>(code)), Cp1252())));
        }

        // Shift and AltGr name the level, the row names the character's own key.
        const TTable& chars = data.Ctbl();
        for (std::size_t row = 0; row < chars.RowCount(); ++row) {
            if (!chars.Boolean(row, "Shift") && !chars.Boolean(row, "AltGr"))
                continue;
            const std::optional<std::size_t> key = data.FindKeyRow(chars.Integer(row, "KeyNo"));
            QVERIFY(key);
            QVERIFY2(!IsModifier(data.MainTbl().Integer(*key, "KeyType")),
                     chars.String(row, "Name").c_str());
        }
        const std::string pairs = FromQString(sameKey, Cp1252());
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
            const TFoundKey key = FindKey(data, static_cast<unsigned char>(pairs[i]));
            QVERIFY(key.Button);
            QCOMPARE(key.Button, FindKey(data, static_cast<unsigned char>(pairs[i + 1])).Button);
        }
    }

    void facesShowTheFingerZones_data()
    {
        QTest::addColumn<QString>("course");
        for (const std::string& course : ShippedCourses())
            QTest::newRow(course.c_str()) << QString::fromStdString(course);
    }

    void facesShowTheFingerZones()
    {
        QFETCH(QString, course);
        TDataMod data(Cp1252());
        QVERIFY(data.LoadTemplate(TAPWREN_BUILD_DATA_DIR "Courses/" + course.toStdString() +
                                  "/layout.twt"));
        const TTable& keys = data.MainTbl();
        QVERIFY(keys.RowCount() > 0);
        for (std::size_t row = 0; row < keys.RowCount(); ++row) {
            const TKeyRow key = KeyRowOf(keys, row);
            QVERIFY2(key.Finger >= 0 && key.Finger <= 9, key.Name.c_str());
            const QImage face = QImage::fromData(
                QByteArray(key.Glyph.data(), static_cast<qsizetype>(key.Glyph.size())));
            QVERIFY2(!face.isNull(), key.Name.c_str());
            QVERIFY(face.width() <= key.Width && face.height() <= key.Height);
            // The bottom-left pixel gives the button its colour.
            QCOMPARE(FromQColor(face.pixelColor(0, face.height() - 1)),
                     data.FingerColor[FingerIndex(key.Finger)]);
        }
    }
};

QTEST_MAIN(TestShippedTemplates)
#include "test_shipped_templates.moc"
