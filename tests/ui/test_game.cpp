// SPDX-License-Identifier: GPL-3.0-or-later
#include "OffscreenScreen.h"
#include "app/ui/FormInput.h"
#include "base/CodePage.h"
#include "base/Errors.h"
#include "base/ui/MessageBoxes.h"
#include "base/ui/QtBridge.h"
#include "game/GameBars.h"
#include "game/GameSettings.h"
#include "game/ui/game.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

namespace {

using Kind = TMessageBoxes::Kind;

// Answers the difficulty prompt with entry once it is up, after checking
// what it asks.
void AnswerPrompt(const QString& entry)
{
    QTimer::singleShot(0, [entry] {
        auto* box = qobject_cast<THInputBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        QCOMPARE(box->windowTitle(), QStringLiteral("Input Box"));
        QCOMPARE(box->LbHint->text(), QStringLiteral("Set difficulty (1-10)."));
        QCOMPARE(box->Edit->text(), QStringLiteral("3"));
        box->Edit->setText(entry);
        box->BnOK->click();
    });
}

QColor BarColor(const QProgressBar* bar)
{
    return bar->palette().color(QPalette::Highlight);
}

} // namespace

class TestGame : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    TCodePage codePage_;
    std::vector<std::pair<Kind, QString>> boxes_;
    std::deque<bool> answers_; // for confirmations; Yes when empty

    std::string WordFile(const QByteArray& words)
    {
        const QString path = dir_.filePath(QStringLiteral("Game.txt"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        file.write(words);
        return path.toStdString();
    }

    std::unique_ptr<TgameFrame> ShownFrame(const std::string& wordFile)
    {
        auto frame = std::make_unique<TgameFrame>(codePage_);
        frame->SetGameFile(wordFile);
        frame->show();
        return frame;
    }

    void Start(TgameFrame& frame, const QString& entry)
    {
        AnswerPrompt(entry);
        frame.StartGame();
        QVERIFY(frame.Engine != nullptr);
    }

    std::vector<std::pair<Kind, QString>> Confirmations() const
    {
        std::vector<std::pair<Kind, QString>> found;
        for (const auto& box : boxes_)
            if (box.first == Kind::Confirmation)
                found.push_back(box);
        return found;
    }

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        GameSettings = TGameSettings();
        boxes_.clear();
        answers_.clear();
        TMessageBoxes::SetResponder([this](Kind kind, const QString& text) {
            boxes_.emplace_back(kind, text);
            if (kind != Kind::Confirmation || answers_.empty())
                return true;
            const bool answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
    }

    void cleanup() { TMessageBoxes::SetResponder({}); }

    void difficultyEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("difficulty");
        QTest::newRow("0") << QStringLiteral("0") << 3;
        QTest::newRow("11") << QStringLiteral("11") << 3;
        QTest::newRow("-4") << QStringLiteral("-4") << 3;
        QTest::newRow("10") << QStringLiteral("10") << 10;
    }

    // Each game is left running: freeing the window mid-game ends it cleanly.
    void difficultyEntry()
    {
        QFETCH(QString, entry);
        QFETCH(int, difficulty);
        auto frame = ShownFrame(WordFile("alpha beta gamma delta\n"));
        Start(*frame, entry);
        TGameCore& core = frame->Engine->Core();
        QCOMPARE(core.Difficulty, difficulty);
        QCOMPARE(frame->Quota, difficulty * 20 + 50);
        QCOMPARE(frame->PbTotalLeft->value(), 0);
        QCOMPARE(frame->PbHitLost->value(), 100);
        QCOMPARE(frame->PbCityLife->value(), 100);
        QVERIFY(frame->PacingTimer->isActive());
        QSignalSpy iterated(frame->Engine.get(), &threadType::Iterated);
        QVERIFY(iterated.wait());
        QVERIFY(!core.Strikers.empty());
        // The thread is woken once more just before the window goes.
        frame->Engine->Tick();
        frame.reset();
        QVERIFY(boxes_.empty());
    }

    // The error reaches the general error report; the game never starts,
    // yet leaving it still asks.
    void entryThatIsNoNumberStartsNothing()
    {
        auto frame = ShownFrame(WordFile("alpha beta\n"));
        AnswerPrompt(QString());
        try {
            frame->StartGame();
            QFAIL("no error");
        } catch (const TError& error) {
            QCOMPARE(error.what(), "'' is not a valid integer value");
        }
        QVERIFY(!frame->PacingTimer->isActive());
        QVERIFY(!frame->Engine->isRunning());
        answers_ = {true};
        QVERIFY(frame->close());
        QCOMPARE(Confirmations().size(), 1U);
    }

    void escapeAsksNoResumesYesHides()
    {
        auto frame = ShownFrame(WordFile("alpha beta gamma delta\n"));
        Start(*frame, QStringLiteral("10"));
        int closed = 0;
        frame->OnClose = [&closed] { ++closed; };
        QSignalSpy iterated(frame->Engine.get(), &threadType::Iterated);
        QVERIFY(iterated.wait());

        answers_ = {false};
        QTest::keyClick(frame.get(), Qt::Key_Escape);
        const std::vector<std::pair<Kind, QString>> asked{
            {Kind::Confirmation, QStringLiteral("Do you want to exit?")}};
        QCOMPARE(Confirmations(), asked);
        QVERIFY(frame->isVisible());
        QVERIFY(frame->PacingTimer->isActive());
        QVERIFY(!frame->GameOver);
        QCOMPARE(closed, 0);
        iterated.clear();
        QVERIFY(iterated.wait());

        QTest::keyClick(frame.get(), Qt::Key_Escape);
        QCOMPARE(Confirmations().size(), 2U);
        QVERIFY(!frame->isVisible());
        QCOMPARE(closed, 1);
        QVERIFY(frame->GameOver);
        QVERIFY(!frame->PacingTimer->isActive());
        // The stopped engine's thread ends by itself, without a result.
        QTRY_VERIFY(frame->Engine->isFinished());
        QCOMPARE(boxes_.size(), 2U);

        // The next game starts with fresh bars.
        frame->UpdateBars(3, 20, 10);
        frame->show();
        Start(*frame, QStringLiteral("3"));
        QCOMPARE(frame->PbTotalLeft->value(), 0);
        QCOMPARE(frame->PbHitLost->value(), 100);
        QCOMPARE(frame->PbCityLife->value(), 100);
        QVERIFY(!frame->GameOver);
    }

    void typedWordIsShot()
    {
        auto frame = ShownFrame(WordFile("abc\n"));
        int shots = 0;
        frame->OnShoot = [&shots](TGameCore&) { ++shots; };
        Start(*frame, QStringLiteral("3"));
        TGameCore& core = frame->Engine->Core();
        QTRY_COMPARE(core.Strikers.size(), 1U);
        // One key per iteration: a key typed before the engine took the
        // last one would replace it.
        QTest::keyClick(frame.get(), 'a');
        QTRY_VERIFY(core.Selecting);
        QTest::keyClick(frame.get(), 'b');
        QTRY_COMPARE(core.Selected->Typed, 2);
        QTest::keyClick(frame.get(), 'c');
        QTRY_COMPARE(core.Hits, 1);
        QCOMPARE(shots, 1);
        QVERIFY(frame->LbStatus->text().contains(QStringLiteral("Hit: 1")));
        QCOMPARE(frame->PbHitLost->value(), 99); // (110 - 1) * 100 / 110
    }

    void closingAfterTheEndAsksNothing()
    {
        auto frame = ShownFrame(WordFile("\n"));
        Start(*frame, QStringLiteral("3"));
        QTRY_VERIFY(frame->GameOver);
        QVERIFY(!frame->PacingTimer->isActive());
        const std::vector<std::pair<Kind, QString>> result{
            {Kind::Information, QStringLiteral("   Accuracy: 0%   WPM: 0   Expected WPM: 0")}};
        QCOMPARE(boxes_, result);
        QVERIFY(frame->close());
        QVERIFY(!frame->isVisible());
        QCOMPARE(boxes_, result);
    }

    void unreadableWordFileIsReported()
    {
        auto frame = ShownFrame(dir_.path().toStdString()); // a folder cannot be read
        // Were a prompt shown after all, it is answered, and noticed.
        QTimer guard;
        guard.setSingleShot(true);
        bool prompted = false;
        connect(&guard, &QTimer::timeout, [&prompted] {
            if (auto* box = QApplication::activeModalWidget()) {
                prompted = true;
                box->close();
            }
        });
        guard.start(0);
        frame->StartGame();
        QVERIFY(!prompted);
        QVERIFY(frame->Engine == nullptr);
        QVERIFY(!frame->PacingTimer->isActive());
        QCOMPARE(boxes_.size(), 1U);
        QCOMPARE(boxes_[0].first, Kind::Error);
        QVERIFY(boxes_[0].second.contains(dir_.path()));
        QVERIFY(frame->close());
        QVERIFY(!frame->isVisible());
        QCOMPARE(boxes_.size(), 1U);
    }

    void columnsAcrossTheScreen_data()
    {
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<int>("columns");
        QTest::newRow("16") << 16 << 64;
        QTest::newRow("10") << 10 << 102;
    }

    void columnsAcrossTheScreen()
    {
        QFETCH(int, fontSize);
        QFETCH(int, columns);
        GameSettings.GameFontSize = fontSize;
        TgameFrame frame(codePage_);
        frame.show();
        QCOMPARE(GameSettings.Columns, columns);
        QCOMPARE(GameSettings.Rows, 3);
        QCOMPARE(frame.frameGeometry(), QRect(0, 0, 1024, 768)); // frame included
        QCOMPARE(frame.PaintBox1->geometry(), QRect(0, 57, frame.width(), frame.height() - 57));
        QCOMPARE(frame.PaintBox1->Surface().size(), QSize(frame.width(), frame.height() - 57));
    }

    // The panel keeps the face of buttons over a field in the game's colour.
    void panelAboveTheField()
    {
        GameSettings.GameBgColor = RGBColor(0, 0, 64);
        TgameFrame frame(codePage_);
        frame.show();
        const QImage shot = frame.grab().toImage();
        QCOMPARE(shot.pixelColor(1000, 30), ToQColor(clBtnFace));
        QCOMPARE(shot.pixelColor(1000, 100), QColor(0, 0, 64));
    }

    void bars()
    {
        TgameFrame frame(codePage_);
        frame.InitBars(110, 40);
        frame.UpdateBars(20, 22, 11);
        QCOMPARE(frame.PbTotalLeft->value(), 30);
        QCOMPARE(frame.PbHitLost->value(), 80);
        QCOMPARE(frame.PbCityLife->value(), 50);
        QCOMPARE(BarColor(frame.PbCityLife), QColor(155, 100, 0));
        QCOMPARE(BarColor(frame.PbHitLost), QColor(95, 160, 160));

        // A city built without a brick has nothing to lose.
        frame.InitBars(110, 0);
        frame.UpdateBars(0, 0, 0);
        QCOMPARE(frame.PbCityLife->value(), 0);
        QCOMPARE(BarColor(frame.PbCityLife), QColor(255, 0, 0));
    }

    void missingTuningFileGivesTheDefaults()
    {
        GameSettings.NewWordSpeed = 1;
        GameSettings.NewWordSpeedBy = 1;
        GameSettings.DropSpeed = 1;
        GameSettings.DropSpeedBy = 1;
        GameSettings.FunSpeed = false;
        GameSettings.GameFontName = "Arial";
        GameSettings.GameFontSize = 1;
        GameSettings.GameBgColor = 1;
        GameSettings.GameFontColor = 1;
        TgameFrame::LoadGameTuning(dir_.path().toStdString() + "/");
        QCOMPARE(GameSettings.NewWordSpeed, 3500);
        QCOMPARE(GameSettings.NewWordSpeedBy, 250);
        QCOMPARE(GameSettings.DropSpeed, 250);
        QCOMPARE(GameSettings.DropSpeedBy, 20);
        QVERIFY(GameSettings.FunSpeed);
        QCOMPARE(GameSettings.GameFontName, std::string("Courier"));
        QCOMPARE(GameSettings.GameFontSize, 16);
        QCOMPARE(GameSettings.GameBgColor, 0);
        QCOMPARE(GameSettings.GameFontColor, 65535);
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("twgame.ini"))));
    }

    // Bullets are drawn twice to vanish, words over in the background colour.
    void drawingOnThePlayField()
    {
        GameSettings.GameBgColor = RGBColor(0, 0, 64);
        TGamePaintBox box(codePage_);
        box.SetGameFont("Courier", 16);
        box.resize(200, 100);
        box.Clear();
        QCOMPARE(box.Surface().size(), QSize(200, 100));
        box.FillRect({10, 10, 26, 26}, BrickColor);
        QCOMPARE(box.Surface().pixelColor(10, 10), QColor(128, 128, 0));
        QCOMPARE(box.Surface().pixelColor(26, 26), QColor(0, 0, 64));
        const QImage before = box.Surface().copy();

        const TGameRect bullet{100, 50, 105, 59};
        box.XorFrame(bullet, BulletPenWidth, BulletColor);
        QCOMPARE(box.Surface().pixelColor(100, 50), QColor(85, 170, 170 ^ 64));
        QCOMPARE(box.Surface().pixelColor(104, 58), QColor(85, 170, 170 ^ 64));
        QCOMPARE(box.Surface().pixelColor(102, 54), QColor(0, 0, 64)); // inside
        box.XorFrame(bullet, BulletPenWidth, BulletColor);
        QCOMPARE(box.Surface(), before);

        box.DrawChar(40, 20, 'W', clRed, {true, false, false, false}, GameSettings.GameBgColor);
        QVERIFY(box.Surface() != before);
        box.DrawChar(40, 20, 'W', GameSettings.GameBgColor, {}, GameSettings.GameBgColor);
        QCOMPARE(box.Surface(), before);
    }

    // With a proportional font a narrow letter at its cell's left edge leaves
    // a gap inside the word: "l i ds".
    void narrowLetterSitsInTheMiddleOfItsCell()
    {
        GameSettings.GameBgColor = RGBColor(0, 0, 0);
        TGamePaintBox box(codePage_);
        box.SetGameFont("Liberation Sans", 16);
        box.resize(200, 100);
        box.Clear();
        const int cellLeft = 40;
        box.DrawChar(cellLeft, 20, 'i', clRed, {true, false, false, false},
                     GameSettings.GameBgColor);
        int first = -1;
        int last = -1;
        for (int x = 0; x < box.Surface().width(); ++x)
            for (int y = 0; y < box.Surface().height(); ++y)
                if (box.Surface().pixelColor(x, y).red() > 64) {
                    if (first < 0)
                        first = x;
                    last = x;
                    break;
                }
        QVERIFY(first >= cellLeft);
        const int cellMiddle = cellLeft + 16 / 2;
        QVERIFY2(std::abs((first + last) / 2 - cellMiddle) <= 2,
                 qPrintable(QStringLiteral("ink from %1 to %2").arg(first).arg(last)));
    }
};

int main(int argc, char** argv)
{
    // A 1024 x 768 screen, as the column counts assume.
    const TOffscreenScreen screen;
    if (!screen.Ready())
        return 1;
    QApplication app(argc, argv);
    TestGame test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_game.moc"
