// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestCodePage.h"
#include "base/CodePage.h"
#include "base/ui/QtBridge.h"
#include "keyboard/KeyLookup.h"
#include "keyboard/MainData.h"

#include <QtTest>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const Courses[] = {"English", "Deutsch",        "Français",
                               "Español", "English Dvorak", "English Colemak"};

std::string TemplatePath(const QString& course)
{
    return TAPWREN_BUILD_DATA_DIR "Courses/" + course.toStdString() + "/layout.twt";
}

std::string CoursePath(const QString& course, const char* file)
{
    return TAPWREN_SOURCE_DATA_DIR "Courses/" + course.toStdString() + "/" + file;
}

std::size_t WordCount(const std::vector<std::string>& lines)
{
    std::size_t words = 0;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        for (std::string word; in >> word;)
            ++words;
    }
    return words;
}

std::vector<std::string> Lines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<std::string> lines;
    std::string line;
    for (const char c : text.str()) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

} // namespace

// Every text we ship can be typed on the keyboard its course carries.
class TestShippedCourses : public QObject
{
    Q_OBJECT

private slots:
    void everyCharacterHasAKey_data()
    {
        QTest::addColumn<QString>("course");
        QTest::addColumn<QString>("file");
        for (const char* course : Courses)
            for (const char* file : {"course.txt", "Practice.txt", "Game.txt"})
                QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(course, file)))
                    << QString::fromUtf8(course) << QString::fromLatin1(file);
    }

    void everyCharacterHasAKey()
    {
        QFETCH(QString, course);
        QFETCH(QString, file);
        TDataMod data(Cp1252());
        QVERIFY(data.LoadTemplate(TemplatePath(course)));
        const std::vector<std::string> lines = Lines(CoursePath(course, qPrintable(file)));
        // A course is worth taking with at least 100 lessons, 300 sentences
        // and 1,500 game words.
        if (file == "course.txt")
            QVERIFY2(lines.size() >= 100, qPrintable(QString::number(lines.size())));
        else if (file == "Practice.txt")
            QVERIFY2(lines.size() >= 300, qPrintable(QString::number(lines.size())));
        else
            QVERIFY2(WordCount(lines) >= 1500, qPrintable(QString::number(WordCount(lines))));
        for (std::size_t n = 0; n < lines.size(); ++n) {
            const std::string& line = lines[n];
            QVERIFY2(line.size() <= 80,
                     qPrintable(QStringLiteral("line %1 is too long").arg(n + 1)));
            for (const char c : line) {
                const auto ch = static_cast<unsigned char>(c);
                QVERIFY2(
                    FindKey(data, ch).Button.has_value(),
                    qPrintable(QStringLiteral("line %1: no key for code %2").arg(n + 1).arg(ch)));
            }
        }
    }

    void firstLessonsStayOnTheHomeRow_data()
    {
        QTest::addColumn<QString>("course");
        // The characters of the home row's keys, unshifted.
        QTest::addColumn<QString>("homeRow");
        QTest::addColumn<int>("lessons");
        QTest::newRow("US English") << "English"
                                    << "asdfghjkl;" << 5;
        QTest::newRow("German") << "Deutsch"
                                << "asdfghjklö" << 5;
        QTest::newRow("French") << "Français"
                                << "qsdfghjklmù" << 7;
        QTest::newRow("Spanish") << "Español"
                                 << "asdfghjklñç" << 8;
        QTest::newRow("US Dvorak") << "English Dvorak"
                                   << "aoeuidhtns-" << 11;
        QTest::newRow("Colemak") << "English Colemak"
                                 << "arstdhneio'" << 12;
    }

    void firstLessonsStayOnTheHomeRow()
    {
        QFETCH(QString, course);
        QFETCH(QString, homeRow);
        QFETCH(int, lessons);
        TDataMod data(Cp1252());
        QVERIFY(data.LoadTemplate(TemplatePath(course)));

        const std::string home = FromQString(homeRow, Cp1252());
        std::set<std::int32_t> rowTops;
        for (const char c : home) {
            const auto code = static_cast<unsigned char>(c);
            const std::optional<std::size_t> ch = data.FindCharRow(code);
            QVERIFY(ch);
            QVERIFY(!data.Ctbl().Boolean(*ch, "Shift") && !data.Ctbl().Boolean(*ch, "AltGr") &&
                    data.Ctbl().Integer(*ch, "Accent") == 0);
            const TFoundKey key = FindKey(data, code);
            QVERIFY(key.Button);
            rowTops.insert(data.MainTbl().Integer(*key.Button, "Y"));
        }
        QCOMPARE(rowTops.size(), std::size_t{1});

        const std::vector<std::string> lines = Lines(CoursePath(course, "course.txt"));
        QVERIFY(lines.size() > static_cast<std::size_t>(lessons));
        for (int n = 0; n < lessons; ++n) {
            QVERIFY(!lines[n].empty());
            for (const char c : lines[n])
                QVERIFY2(c == ' ' || home.find(c) != std::string::npos,
                         qPrintable(QStringLiteral("lesson %1: %2")
                                        .arg(n + 1)
                                        .arg(ToQString(std::string(1, c), Cp1252()))));
        }
    }
};

QTEST_MAIN(TestShippedCourses)
#include "test_shipped_courses.moc"
