// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/ui/StatisticsForm.h"

#include "app/ui/Application.h"
#include "base/Errors.h"
#include "base/Translate.h"
#include "base/ui/QtBridge.h"
#include "history/HistoryFigures.h"
#include "history/StatisticsTexts.h"
#include "keyboard/MainData.h"
#include "keyboard/ui/KbForm.h"

#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDate>
#include <QDateTimeAxis>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

// How many rows the tables show.
constexpr int ConfusionRows = 10;
constexpr int SlowPairRows = 10;
constexpr int SlowPairMinCount = 5;
constexpr int WordRows = 30;

QString Ui(const char* text)
{
    return QString::fromUtf8(text);
}
QString Ui(const std::string& text)
{
    return QString::fromStdString(text);
}

QTableWidget* NewTable(const char* name, std::initializer_list<const char*> headers)
{
    auto* table = new QTableWidget(0, int(headers.size()));
    table->setObjectName(Ui(name));
    QStringList labels;
    for (const char* header : headers)
        labels << Ui(_(header));
    table->setHorizontalHeaderLabels(labels);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return table;
}

// Texts in the first textColumns columns, figures (right-aligned) in the others.
void FillTable(QTableWidget* table, const std::vector<QStringList>& rows, int textColumns = 1)
{
    table->setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        const QStringList& cells = rows[std::size_t(row)];
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column >= textColumns)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, column, item);
        }
    }
}

QLabel* NewEmptyLabel(const char* name, const char* text)
{
    auto* label = new QLabel(Ui(_(text)));
    label->setObjectName(Ui(name));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// The title comes translated.
QWidget* Titled(const char* title, QWidget* content)
{
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(Ui(title)));
    layout->addWidget(content);
    return box;
}

} // namespace

TStatisticsFm::TStatisticsFm(const THistoryQueries& history, const TDataMod& dataMod,
                             const TCodePage& codePage, std::string user, QWidget* parent)
    : QDialog(parent), history_(history), data_(dataMod), codePage_(codePage),
      user_(std::move(user))
{
    setObjectName(QStringLiteral("StatisticsFm"));
    setWindowTitle(Ui(Format(_("Statistics of %s"), codePage_.ToUtf8(user_).c_str())));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Pages = new QTabWidget;
    Pages->setObjectName(QStringLiteral("Pages"));
    Pages->addTab(ProgressPage(), Ui(_("&Progress")));
    Pages->addTab(KeysPage(), Ui(_("&Keys")));
    Pages->addTab(WordsPage(), Ui(_("&Words")));
    Pages->addTab(UsersPage(), Ui(_("&All users")));

    PractiseBn = new QPushButton(Ui(_("Practise my weak keys")));
    PractiseBn->setObjectName(QStringLiteral("PractiseBn"));
    ExportBn = new QPushButton(Ui(_("&Export as CSV...")));
    ExportBn->setObjectName(QStringLiteral("ExportBn"));
    CloseBn = new QPushButton(Ui(_("&Close")));
    CloseBn->setObjectName(QStringLiteral("CloseBn"));
    for (QPushButton* button : {PractiseBn, ExportBn, CloseBn})
        button->setAutoDefault(false);
    connect(PractiseBn, &QPushButton::clicked, this, [this] { PractiseWeakKeys(); });
    connect(ExportBn, &QPushButton::clicked, this, [this] { ExportHistory(); });
    connect(CloseBn, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PractiseBn);
    buttons->addStretch();
    buttons->addWidget(ExportBn);
    buttons->addWidget(CloseBn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Pages);
    layout->addLayout(buttons);
    resize(960, 720);

    Refresh();
}

TStatisticsFm::~TStatisticsFm() = default;

QWidget* TStatisticsFm::ProgressPage()
{
    ActivityBox = new QComboBox;
    ActivityBox->setObjectName(QStringLiteral("ActivityBox"));
    for (const TActivityChoice& choice : ActivityChoices)
        ActivityBox->addItem(Ui(_(choice.Name)), choice.Activity);
    MeasureBox = new QComboBox;
    MeasureBox->setObjectName(QStringLiteral("MeasureBox"));
    for (const TMeasureChoice& choice : MeasureChoices)
        MeasureBox->addItem(Ui(_(choice.Name)), int(choice.Measure));
    connect(ActivityBox, &QComboBox::currentIndexChanged, this, [this] { ShowProgress(); });
    connect(MeasureBox, &QComboBox::currentIndexChanged, this, [this] { ShowProgress(); });

    ProgressChart = new QChartView;
    ProgressChart->setObjectName(QStringLiteral("ProgressChart"));
    ProgressChart->setRenderHint(QPainter::Antialiasing);
    QChart* chart = ProgressChart->chart();
    chart->legend()->hide();
    ProgressSeries = new QLineSeries(chart);
    ProgressSeries->setPointsVisible(true);
    chart->addSeries(ProgressSeries);
    ProgressDays = new QDateTimeAxis(chart);
    ProgressDays->setFormat(QStringLiteral("yyyy-MM-dd"));
    ProgressValues = new QValueAxis(chart);
    ProgressValues->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(ProgressDays, Qt::AlignBottom);
    chart->addAxis(ProgressValues, Qt::AlignLeft);
    ProgressSeries->attachAxis(ProgressDays);
    ProgressSeries->attachAxis(ProgressValues);
    ProgressEmpty = NewEmptyLabel("ProgressEmpty", N_("No practice recorded yet."));

    auto* choices = new QHBoxLayout;
    auto* activityLabel = new QLabel(Ui(_("Ac&tivity:")));
    activityLabel->setBuddy(ActivityBox);
    auto* measureLabel = new QLabel(Ui(_("&Measure:")));
    measureLabel->setBuddy(MeasureBox);
    choices->addWidget(activityLabel);
    choices->addWidget(ActivityBox);
    choices->addSpacing(16);
    choices->addWidget(measureLabel);
    choices->addWidget(MeasureBox);
    choices->addStretch();

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(choices);
    layout->addWidget(ProgressChart, 1);
    layout->addWidget(ProgressEmpty, 1);
    return page;
}

QWidget* TStatisticsFm::KeysPage()
{
    KeyFrame = new TKbFm(data_, codePage_);
    KeyFrame->installEventFilter(this);
    auto* keyboard = new QScrollArea;
    keyboard->setWidget(KeyFrame);
    keyboard->setAlignment(Qt::AlignCenter);
    keyboard->setFrameShape(QFrame::NoFrame);
    keyboard->setWidgetResizable(false);
    keyboard_ = keyboard;

    ErrorRateBn = new QRadioButton(Ui(_("Colour by e&rror rate")));
    ErrorRateBn->setObjectName(QStringLiteral("ErrorRateBn"));
    MeanTimeBn = new QRadioButton(Ui(_("Colour by time to t&ype")));
    MeanTimeBn->setObjectName(QStringLiteral("MeanTimeBn"));
    ErrorRateBn->setChecked(true);
    auto* measure = new QButtonGroup(this);
    measure->addButton(ErrorRateBn);
    measure->addButton(MeanTimeBn);
    connect(ErrorRateBn, &QRadioButton::toggled, this, [this] { ShadeKeys(); });
    KeysEmpty = NewEmptyLabel("KeysEmpty", N_("No keys typed yet."));

    auto* switches = new QHBoxLayout;
    switches->addWidget(ErrorRateBn);
    switches->addWidget(MeanTimeBn);
    ScaleLegend = new QLabel;
    ScaleLegend->setObjectName(QStringLiteral("ScaleLegend"));
    switches->addSpacing(16);
    switches->addWidget(ScaleLegend);
    switches->addStretch();
    switches->addWidget(new QLabel(Ui(_("Click a key to practise it."))));

    WeakKeysTable = NewTable("WeakKeysTable",
                             {N_("Key"), N_("Typed"), N_("Wrong"), N_("Error rate"), N_("Time")});
    ConfusionsTable =
        NewTable("ConfusionsTable", {N_("Expected"), N_("Typed instead"), N_("Times")});
    SlowPairsTable = NewTable("SlowPairsTable", {N_("Keys"), N_("Times"), N_("Time")});
    auto* tables = new QHBoxLayout;
    tables->addWidget(
        Titled(Format(_("The ten weakest keys (typed %d times or more)"), WeakKeyMinCount).c_str(),
               WeakKeysTable));
    tables->addWidget(Titled(_("Most frequent confusions"), ConfusionsTable));
    tables->addWidget(Titled(_("Slowest key pairs"), SlowPairsTable));

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(keyboard);
    layout->addLayout(switches);
    layout->addWidget(KeysEmpty);
    layout->addLayout(tables, 1);
    return page;
}

QWidget* TStatisticsFm::WordsPage()
{
    WordsTable = NewTable("WordsTable", {N_("Word"), N_("Times mistyped")});
    WordsEmpty = NewEmptyLabel("WordsEmpty", N_("No word mistyped yet."));
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(WordsEmpty);
    layout->addWidget(WordsTable, 1);
    return page;
}

QWidget* TStatisticsFm::UsersPage()
{
    UsersTable =
        NewTable("UsersTable", {N_("User"), N_("Practice time"), N_("Lesson"),
                                N_("Recent keys/min"), N_("Recent accuracy"), N_("Last practice")});
    UsersEmpty = NewEmptyLabel("UsersEmpty", N_("Nobody has practised in this data folder yet."));
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(UsersEmpty);
    layout->addWidget(UsersTable, 1);
    return page;
}

void TStatisticsFm::Refresh()
{
    ShowProgress();
    ShowKeys();
    ShowWords();
    ShowUsers();
}

void TStatisticsFm::ShowProgress()
{
    const auto measure = static_cast<TProgressMeasure>(MeasureBox->currentData().toInt());
    const std::vector<TProgressPoint> points =
        ProgressPoints(history_.Days(user_, ActivityBox->currentData().toInt()), measure);

    QList<QPointF> values;
    values.reserve(qsizetype(points.size()));
    double highest = 0;
    for (const TProgressPoint& point : points) {
        const QDate day = QDate::fromString(Ui(point.Day), Qt::ISODate);
        values.append({double(day.startOfDay().toMSecsSinceEpoch()), point.Value});
        highest = std::max(highest, point.Value);
    }
    ProgressSeries->replace(values);
    if (!points.empty()) {
        // A day more on either side; over a few days a tick on every one.
        const QDateTime first = QDateTime::fromMSecsSinceEpoch(qint64(values.front().x()));
        const QDateTime last = QDateTime::fromMSecsSinceEpoch(qint64(values.back().x()));
        ProgressDays->setRange(first.addDays(-1), last.addDays(1));
        const qint64 days = first.daysTo(last) + 3;
        ProgressDays->setTickCount(days <= 9 ? int(days) : 8);
    }
    ProgressValues->setRange(
        0, measure == TProgressMeasure::Accuracy ? 100 : std::max(1.0, std::ceil(highest * 1.1)));
    ProgressValues->applyNiceNumbers();
    ProgressValues->setTitleText(MeasureBox->currentText());

    ProgressChart->setVisible(!points.empty());
    ProgressEmpty->setVisible(points.empty());
}

void TStatisticsFm::ShowKeys()
{
    const std::vector<TKeyFigures> keys = history_.Keys(user_);
    KeyFrame->ClearKeys();
    KeyFrame->FitToKeys();
    KeyFrame->BuildKeys(false);
    keyboard_->setFixedHeight(KeyFrame->height() +
                              keyboard_->horizontalScrollBar()->sizeHint().height());
    buttons_ = ButtonFigures(data_, keys);
    buttons_.resize(KeyFrame->ButtonCount());
    ShadeKeys();

    weakest_ = WeakestKeys(keys);
    std::vector<QStringList> rows;
    for (const TKeyFigures& key : weakest_)
        rows.push_back({Ui(KeyName(key.Key, codePage_)), QString::number(key.Typed),
                        QString::number(key.Wrong), Ui(PercentText(key.ErrorRate())),
                        Ui(MillisecondsText(key.MeanTime))});
    FillTable(WeakKeysTable, rows);

    rows.clear();
    for (const TConfusion& confusion : history_.Confusions(user_, ConfusionRows))
        rows.push_back({Ui(KeyName(confusion.Expected, codePage_)),
                        Ui(KeyName(confusion.Typed, codePage_)), QString::number(confusion.Count)});
    FillTable(ConfusionsTable, rows, 2);

    rows.clear();
    for (const TPairTime& pair : history_.SlowPairs(user_, SlowPairMinCount, SlowPairRows))
        rows.push_back({Ui(PairName(pair.First, pair.Second, codePage_)),
                        QString::number(pair.Count), Ui(MillisecondsText(pair.MeanTime))});
    FillTable(SlowPairsTable, rows);

    KeysEmpty->setVisible(keys.empty());
    PractiseBn->setEnabled(!weakest_.empty());
}

void TStatisticsFm::ShadeKeys()
{
    const TKeyShades shades(buttons_, ErrorRateBn->isChecked() ? TKeyMeasure::ErrorRate
                                                               : TKeyMeasure::MeanTime);
    const auto square = [](TColor color) {
        return QStringLiteral("<span style=\"color:%1\">&#9632;</span>")
            .arg(ToQColor(color).name());
    };
    ScaleLegend->setText(square(ScaleColor(0)) + square(ScaleColor(0.5)) + square(ScaleColor(1)) +
                         QStringLiteral(" ") +
                         Ui(ErrorRateBn->isChecked() ? _("from fewest to most errors")
                                                     : _("from fastest to slowest")) +
                         QStringLiteral("&nbsp;&nbsp;&nbsp;") + square(NoFiguresColor) +
                         QStringLiteral(" ") + Ui(_("not typed yet")));
    const QString clickToPractise = Ui(_("Click to practise this key."));
    for (std::size_t i = 0; i < KeyFrame->ButtonCount(); ++i) {
        ButtonType* button = KeyFrame->Button(i);
        const TKeyButtonFigures& figures = buttons_[i];
        const std::optional<TColor> shade = shades.Shade(figures);
        button->SetShade(ToQColor(shade.value_or(NoFiguresColor)));
        QString tip = Ui(KeyFiguresText(figures, codePage_));
        if (figures.Typed > 0)
            tip += QStringLiteral("\n") + clickToPractise;
        button->setToolTip(tip);
    }
}

void TStatisticsFm::ShowWords()
{
    std::vector<QStringList> rows;
    for (const TWordMiss& word : history_.MissedWords(user_, WordRows))
        rows.push_back({ToQString(word.Word, codePage_), QString::number(word.Count)});
    FillTable(WordsTable, rows);
    WordsEmpty->setVisible(rows.empty());
    WordsTable->setVisible(!rows.empty());
}

void TStatisticsFm::ShowUsers()
{
    std::vector<QStringList> rows;
    for (const TUserSummary& user : history_.Users())
        rows.push_back({ToQString(user.User, codePage_), Ui(DurationText(user.PracticeTime)),
                        QString::number(user.Lesson),
                        QString::number(user.RecentKeysPerMinute, 'f', 0),
                        Ui(PercentText(user.RecentAccuracy / 100)), Ui(user.LastPractice)});
    FillTable(UsersTable, rows);
    UsersEmpty->setVisible(rows.empty());
    UsersTable->setVisible(!rows.empty());
}

bool TStatisticsFm::eventFilter(QObject* watched, QEvent* event)
{
    // The keys ignore clicks, so they reach the keyboard frame.
    if (watched == KeyFrame && event->type() == QEvent::MouseButtonRelease) {
        const auto* click = static_cast<QMouseEvent*>(event);
        for (std::size_t i = 0; i < KeyFrame->ButtonCount(); ++i) {
            if (KeyFrame->Button(i)->geometry().contains(click->position().toPoint()) &&
                buttons_[i].Typed > 0 && OnPractise) {
                OnPractise(buttons_[i].Characters);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TStatisticsFm::PractiseWeakKeys()
{
    std::vector<unsigned char> keys;
    for (const TKeyFigures& key : weakest_)
        keys.push_back(key.Key);
    if (!keys.empty() && OnPractise)
        OnPractise(keys);
}

void TStatisticsFm::ExportHistory()
{
    const QString suggested = QDir::home().filePath(Ui(ExportFileName(
        codePage_.ToUtf8(user_), QDate::currentDate().toString(Qt::ISODate).toStdString())));
    const QString path = QFileDialog::getSaveFileName(this, Ui(_("Export the history")), suggested,
                                                      Ui(_("CSV files (*.csv);;All files (*)")));
    if (!path.isEmpty())
        Guarded([&] { ExportTo(path); });
}

void TStatisticsFm::ExportTo(const QString& path)
{
    const std::string csv = history_.ExportCsv(user_);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(csv.data(), qint64(csv.size())) != qint64(csv.size()) || !file.flush())
        ThrowUnableToWrite(path.toStdString());
}
