// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeHistory.h"
#include "base/CodePage.h"
#include "base/ui/MessageBoxes.h"
#include "base/ui/QtBridge.h"
#include "history/KeyShades.h"
#include "history/ui/StatisticsForm.h"
#include "keyboard/KeyLookup.h"
#include "keyboard/MainData.h"
#include "keyboard/ui/KbForm.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

const TCodePage& Cp1252()
{
    static const TCodePage codePage(1252);
    return codePage;
}

QStringList Row(const QTableWidget* table, int row)
{
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column)
        cells << table->item(row, column)->text();
    return cells;
}

QLineSeries* Series(const TStatisticsFm& form)
{
    const QList<QAbstractSeries*> series = form.ProgressChart->chart()->series();
    return series.size() == 1 ? qobject_cast<QLineSeries*>(series.front()) : nullptr;
}

QList<double> Values(const TStatisticsFm& form)
{
    QList<double> values;
    if (QLineSeries* series = Series(form))
        for (const QPointF& point : series->points())
            values << point.y();
    return values;
}

} // namespace

class TestStatisticsWindow : public QObject
{
    Q_OBJECT

    TDataMod data_{Cp1252()};
    std::unique_ptr<TFakeHistory> history_;
    std::vector<std::pair<TMessageBoxes::Kind, QString>> boxes_;

    std::size_t ButtonOf(unsigned char ch) const
    {
        const std::optional<std::size_t> button = FindKey(data_, ch).Button;
        [&] { QVERIFY(button.has_value()); }();
        return button.value_or(0);
    }

    std::unique_ptr<TStatisticsFm> Opened()
    {
        auto form =
            std::make_unique<TStatisticsFm>(*history_, data_, Cp1252(), std::string("J\xfcrgen"));
        form->show();
        return form;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(data_.LoadTemplate(TAPWREN_BUILD_DATA_DIR "Courses/English/layout.twt"));
    }

    void init()
    {
        history_ = std::make_unique<TFakeHistory>();
        history_->User = "J\xfcrgen";
        history_->AllDays = {
            {.Day = "2026-11-02",
             .Lines = 12,
             .KeysPerMinute = 140,
             .WordsPerMinute = 28,
             .Accuracy = 96,
             .Lesson = 4},
            {.Day = "2026-11-01",
             .Lines = 5,
             .KeysPerMinute = 120,
             .WordsPerMinute = 24,
             .Accuracy = 91,
             .Lesson = 3},
        };
        history_->ActivityDays = {{int(THistoryActivity::Game),
                                   {{.Day = "2026-11-03", .Lines = 1, .KeysPerMinute = 90}}}};
        history_->KeyFigures = {
            {.Key = 'a', .Typed = 100, .Wrong = 20, .MeanTime = 150}, // error-prone but quick
            {.Key = 'e', .Typed = 100, .Wrong = 0, .MeanTime = 400},  // sure but slow
            {.Key = 'A', .Typed = 5, .Wrong = 0, .MeanTime = 150},    // too few for the table
            {.Key = ' ', .Typed = 50, .Wrong = 1, .MeanTime = 200},
        };
        history_->ConfusionFigures = {{.Expected = 'a', .Typed = 's', .Count = 12},
                                      {.Expected = 'e', .Typed = 'r', .Count = 3}};
        history_->PairFigures = {{.First = 't', .Second = 'h', .Count = 40, .MeanTime = 320},
                                 {.First = 'q', .Second = 'u', .Count = 2, .MeanTime = 900}};
        history_->WordFigures = {{.Word = "gr\xfc\xdf"
                                          "e",
                                  .Count = 7},
                                 {.Word = "the", .Count = 2}};
        history_->Summaries = {
            {.User = "J\xfcrgen",
             .PracticeTime = 90'061'000,
             .Lesson = 4,
             .RecentKeysPerMinute = 141.4,
             .RecentAccuracy = 95.5,
             .LastPractice = "2026-11-02 18:30"},
            {.User = "Ann", .PracticeTime = 0, .Lesson = 0, .LastPractice = ""},
        };
        history_->Csv = "day,keys\r\n2026-11-01,120\r\n";
        boxes_.clear();
        TMessageBoxes::SetResponder([this](TMessageBoxes::Kind kind, const QString& text) {
            boxes_.emplace_back(kind, text);
            return true;
        });
    }

    void cleanup() { TMessageBoxes::SetResponder({}); }

    void pagesFillFromTheHistory()
    {
        auto form = Opened();
        QCOMPARE(form->windowTitle(), QString::fromUtf8("Statistics of J\u00fcrgen"));
        QCOMPARE(form->Pages->count(), 4);
        for (const std::string& user : history_->AskedUsers)
            QCOMPARE(user, std::string("J\xfcrgen"));

        // Progress: all activities, keys per minute, in day order.
        QVERIFY(form->ProgressChart->isVisible());
        QVERIFY(!form->ProgressEmpty->isVisible());
        QCOMPARE(Values(*form), (QList<double>{120, 140}));

        // Keys: the weakest with enough strokes, confusions, slow pairs seen often enough.
        QCOMPARE(form->WeakKeysTable->rowCount(), 3);
        QCOMPARE(Row(form->WeakKeysTable, 0), (QStringList{"a", "100", "20", "20.0 %", "150 ms"}));
        QCOMPARE(Row(form->WeakKeysTable, 1).front(), QStringLiteral("Space"));
        QCOMPARE(form->ConfusionsTable->rowCount(), 2);
        QCOMPARE(Row(form->ConfusionsTable, 0), (QStringList{"a", "s", "12"}));
        QCOMPARE(form->SlowPairsTable->rowCount(), 1);
        QCOMPARE(Row(form->SlowPairsTable, 0),
                 (QStringList{QString::fromUtf8("t \u2192 h"), "40", "320 ms"}));
        QVERIFY(!form->KeysEmpty->isVisible());
        QVERIFY(form->PractiseBn->isEnabled());

        // Words and users, names from the code page.
        form->Pages->setCurrentIndex(2);
        QCOMPARE(form->WordsTable->rowCount(), 2);
        QCOMPARE(Row(form->WordsTable, 0),
                 (QStringList{QString::fromUtf8("gr\u00fc\u00dfe"), "7"}));
        QVERIFY(!form->WordsEmpty->isVisible());
        form->Pages->setCurrentIndex(3);
        QCOMPARE(form->UsersTable->rowCount(), 2);
        QCOMPARE(Row(form->UsersTable, 0),
                 (QStringList{QString::fromUtf8("J\u00fcrgen"), "25 h 1 m 1 s", "4", "141",
                              "95.5 %", "2026-11-02 18:30"}));
        QCOMPARE(Row(form->UsersTable, 1).front(), QStringLiteral("Ann"));
        QVERIFY(!form->UsersEmpty->isVisible());
    }

    void activityAndMeasureChooseTheChart()
    {
        auto form = Opened();
        const struct
        {
            int activity; // index in the box
            int measure;
            QList<double> values;
        } cases[] = {
            {0, 1, {24, 28}}, {0, 2, {91, 96}}, {0, 3, {3, 4}},
            {6, 0, {90}},     {6, 3, {}}, // no lesson in games
            {1, 0, {}},
        };
        for (const auto& c : cases) {
            form->ActivityBox->setCurrentIndex(c.activity);
            form->MeasureBox->setCurrentIndex(c.measure);
            QCOMPARE(Values(*form), c.values);
            QCOMPARE(form->ProgressEmpty->isVisible(), c.values.isEmpty());
            QCOMPARE(form->ProgressChart->isVisible(), !c.values.isEmpty());
        }
        QCOMPARE(form->ActivityBox->itemText(6), QStringLiteral("Game"));
        QCOMPARE(history_->AskedActivities.back(), int(THistoryActivity::Course));
    }

    void keysAreColouredByTheChosenMeasure()
    {
        auto form = Opened();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->Pages->setCurrentIndex(1);
        ButtonType* a = form->KeyFrame->Button(ButtonOf('a'));
        ButtonType* e = form->KeyFrame->Button(ButtonOf('e'));
        ButtonType* z = form->KeyFrame->Button(ButtonOf('z'));
        QCOMPARE(form->KeyFrame->ButtonCount(), data_.MainTbl().RowCount());
        QVERIFY(form->ErrorRateBn->isChecked());
        // a and A share a key: 20 wrong of 105 is beyond the red limit.
        QCOMPARE(a->Shade(), std::optional<QColor>(ToQColor(ScaleColor(1))));
        QCOMPARE(e->Shade(), std::optional<QColor>(ToQColor(ScaleColor(0))));
        QCOMPARE(z->Shade(), std::optional<QColor>(ToQColor(NoFiguresColor)));
        QCOMPARE(a->toolTip(), QStringLiteral("A a: typed 105 times, 20 wrong (19.0 %)\n"
                                              "Mean time: 150 ms\nClick to practise this key."));
        QCOMPARE(z->toolTip(), QStringLiteral("Not typed yet."));
        // The shade is what is drawn under the face.
        const QImage drawn = a->grab().toImage();
        QCOMPARE(drawn.pixelColor(3, a->height() / 2), ToQColor(ScaleColor(1)));

        form->MeanTimeBn->click();
        QCOMPARE(a->Shade(), std::optional<QColor>(ToQColor(ScaleColor(0))));
        QCOMPARE(e->Shade(), std::optional<QColor>(ToQColor(ScaleColor(1))));
        QCOMPARE(z->Shade(), std::optional<QColor>(ToQColor(NoFiguresColor)));
        form->ErrorRateBn->click();
        QCOMPARE(a->Shade(), std::optional<QColor>(ToQColor(ScaleColor(1))));
    }

    void weakKeysAndClickedKeysAskForADrill()
    {
        auto form = Opened();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        std::vector<std::vector<unsigned char>> asked;
        form->OnPractise = [&asked](const std::vector<unsigned char>& keys) {
            asked.push_back(keys);
        };
        form->PractiseBn->click();
        form->Pages->setCurrentIndex(1);
        QTest::mouseClick(form->KeyFrame->Button(ButtonOf('e')), Qt::LeftButton);
        QTest::mouseClick(form->KeyFrame->Button(ButtonOf('a')), Qt::LeftButton);
        QTest::mouseClick(form->KeyFrame->Button(ButtonOf('z')), Qt::LeftButton); // never typed
        QCOMPARE(asked,
                 (std::vector<std::vector<unsigned char>>{{'a', ' ', 'e'}, {'e'}, {'A', 'a'}}));
    }

    void exportWritesTheHistoryWhereTheUserSays()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mine.csv"));
        auto form = Opened();
        QString suggested;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            suggested = dialog->selectedFiles().value(0);
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept(); // as the Save button does
        });
        form->ExportBn->click();
        QVERIFY2(suggested.endsWith(QStringLiteral("/tapwren-J\u00fcrgen-") +
                                    QDate::currentDate().toString(Qt::ISODate) + ".csv"),
                 qPrintable(suggested));
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().toStdString(), history_->Csv);
        QVERIFY(boxes_.empty());

        const QString unwritable = dir.filePath(QStringLiteral("no/such/folder/h.csv"));
        QVERIFY_THROWS_EXCEPTION(std::exception, form->ExportTo(unwritable));
    }

    void emptyHistoryShowsWhatIsMissing()
    {
        history_ = std::make_unique<TFakeHistory>();
        auto form = Opened();
        QVERIFY(!form->ProgressChart->isVisible());
        QVERIFY(form->ProgressEmpty->isVisible());
        QCOMPARE(form->ProgressEmpty->text(), QStringLiteral("No practice recorded yet."));
        form->Pages->setCurrentIndex(1);
        QVERIFY(form->KeysEmpty->isVisible());
        QCOMPARE(form->WeakKeysTable->rowCount(), 0);
        for (std::size_t i = 0; i < form->KeyFrame->ButtonCount(); ++i)
            QCOMPARE(form->KeyFrame->Button(i)->Shade(),
                     std::optional<QColor>(ToQColor(NoFiguresColor)));
        QVERIFY(!form->PractiseBn->isEnabled());
        form->Pages->setCurrentIndex(2);
        QVERIFY(form->WordsEmpty->isVisible());
        QVERIFY(!form->WordsTable->isVisible());
        form->Pages->setCurrentIndex(3);
        QVERIFY(form->UsersEmpty->isVisible());
        QVERIFY(!form->UsersTable->isVisible());
    }

    void refreshReadsTheHistoryAgain()
    {
        auto form = Opened();
        history_->WordFigures.push_back({.Word = "new", .Count = 1});
        history_->AllDays.push_back({.Day = "2026-11-04", .Lines = 1, .KeysPerMinute = 150});
        form->Refresh();
        QCOMPARE(form->WordsTable->rowCount(), 3);
        QCOMPARE(Values(*form), (QList<double>{120, 140, 150}));
    }
};

QTEST_MAIN(TestStatisticsWindow)
#include "test_statistics_window.moc"
