// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShippedData.h"
#include "TestCodePage.h"
#include "base/CodePage.h"
#include "base/ui/QtBridge.h"
#include "keyboard/KeyLookup.h"
#include "keyboard/KeyTypes.h"
#include "keyboard/MainData.h"

#include <QtTest>
#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

QStringList Courses()
{
    QStringList courses;
    for (const std::string& course : ShippedCourses())
        courses << QString::fromStdString(course);
    return courses;
}

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
        for (const QString& course : Courses())
            for (const char* file : {"course.txt", "Practice.txt", "Game.txt"})
                QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(course, QLatin1String(file))))
                    << course << QString::fromLatin1(file);
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
        for (const QString& course : Courses())
            QTest::newRow(qPrintable(course)) << course;
    }

    // The first lessons use only what the home row types unshifted: the keys
    // of the third of the four character rows.
    void firstLessonsStayOnTheHomeRow()
    {
        QFETCH(QString, course);
        TDataMod data(Cp1252());
        QVERIFY(data.LoadTemplate(TemplatePath(course)));

        const TTable& keys = data.MainTbl();
        std::set<std::int32_t> rowTops;
        for (std::size_t k = 0; k < keys.RowCount(); ++k)
            if (IsCharacterKey(keys.Integer(k, "KeyType")) && keys.String(k, "Name") != "Space")
                rowTops.insert(keys.Integer(k, "Y"));
        QCOMPARE(rowTops.size(), std::size_t{4});
        const std::int32_t homeTop = *std::next(rowTops.begin(), 2);

        std::string home;
        const TTable& chars = data.Ctbl();
        for (std::size_t c = 0; c < chars.RowCount(); ++c) {
            const std::optional<std::size_t> key = data.FindKeyRow(chars.Integer(c, "KeyNo"));
            if (key && keys.Integer(*key, "Y") == homeTop && !chars.Boolean(c, "Shift") &&
                !chars.Boolean(c, "AltGr") && chars.Integer(c, "Accent") == 0)
                home += static_cast<char>(chars.Integer(c, "Code"));
        }
        QVERIFY2(home.size() >= 9, home.c_str());

        // Enough lessons on the home row alone to learn it before anything else.
        const std::vector<std::string> lines = Lines(CoursePath(course, "course.txt"));
        const auto onHomeRow = [&home](const std::string& line) {
            return !line.empty() && std::all_of(line.begin(), line.end(), [&home](char c) {
                return c == ' ' || home.find(c) != std::string::npos;
            });
        };
        const auto firstOther = std::find_if_not(lines.begin(), lines.end(), onHomeRow);
        QVERIFY2(firstOther - lines.begin() >= 5,
                 qPrintable(QStringLiteral("lesson %1 leaves the home row")
                                .arg(firstOther - lines.begin() + 1)));
    }
};

QTEST_MAIN(TestShippedCourses)
#include "test_shipped_courses.moc"
