#include "keyboard/KeyLookup.h"
#include "keyboard/MainData.h"

#include <QtTest>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

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
        for (const char* course : {"English", "Deutsch"})
            for (const char* file : {"course.txt", "Practice.txt", "Game.txt"})
                QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(course, file)))
                    << QString::fromLatin1(course) << QString::fromLatin1(file);
    }

    void everyCharacterHasAKey()
    {
        QFETCH(QString, course);
        QFETCH(QString, file);
        TDataMod data;
        QVERIFY(data.LoadTemplate(TAPWREN_BUILD_DATA_DIR "Courses/" + course.toStdString() +
                                  "/layout.twt"));
        const std::vector<std::string> lines = Lines(
            TAPWREN_SOURCE_DATA_DIR "Courses/" + course.toStdString() + "/" + file.toStdString());
        QVERIFY(lines.size() > 100);
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
};

QTEST_MAIN(TestShippedCourses)
#include "test_shipped_courses.moc"
