// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/KeyShades.h"

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QChartView;
class QComboBox;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class QTableWidget;
class TCodePage;
class TDataMod;
class TKbFm;
class THistoryQueries;

// The statistics of the logged-on user, read from the typing history: the
// progress over time, the keys on the course's keyboard with the weakest
// keys, confusions and slow pairs, the words mistyped most, and a row per
// user of the data folder. It exports the user's history as CSV and asks
// for weak-key drills (OnPractise), which its owner runs.
class TStatisticsFm : public QDialog
{
    Q_OBJECT
public:
    // The user's name is in the code page, as the history keeps it; the
    // keyboard is the one the template data now holds.
    TStatisticsFm(const THistoryQueries& history, const TDataMod& dataMod,
                  const TCodePage& codePage, std::string user, QWidget* parent = nullptr);
    ~TStatisticsFm() override;

    // The characters to drill: those of the weakest keys, or of a key
    // clicked on the keyboard.
    std::function<void(const std::vector<unsigned char>& keys)> OnPractise;

    // Reads the history again, as after a drill.
    void Refresh();
    // Writes the user's history as CSV to the file; throws TError when it
    // cannot be written.
    void ExportTo(const QString& path);

    QTabWidget* Pages;
    QComboBox* ActivityBox;
    QComboBox* MeasureBox;
    QChartView* ProgressChart;
    QLineSeries* ProgressSeries;
    QDateTimeAxis* ProgressDays;
    QValueAxis* ProgressValues;
    QLabel* ProgressEmpty;
    TKbFm* KeyFrame;
    QRadioButton* ErrorRateBn;
    QRadioButton* MeanTimeBn;
    QLabel* ScaleLegend;
    QLabel* KeysEmpty;
    QTableWidget* WeakKeysTable;
    QTableWidget* ConfusionsTable;
    QTableWidget* SlowPairsTable;
    QLabel* WordsEmpty;
    QTableWidget* WordsTable;
    QLabel* UsersEmpty;
    QTableWidget* UsersTable;
    QPushButton* PractiseBn;
    QPushButton* ExportBn;
    QPushButton* CloseBn;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* ProgressPage();
    QWidget* KeysPage();
    QWidget* WordsPage();
    QWidget* UsersPage();
    void ShowProgress();
    void ShowKeys();
    void ShadeKeys();
    void ShowWords();
    void ShowUsers();
    void PractiseWeakKeys();
    void ExportHistory();

    QScrollArea* keyboard_;
    const THistoryQueries& history_;
    const TDataMod& data_;
    const TCodePage& codePage_;
    std::string user_;
    std::vector<TKeyButtonFigures> buttons_;
    std::vector<TKeyFigures> weakest_;
};
