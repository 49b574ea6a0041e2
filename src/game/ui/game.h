// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/CodePage.h"
#include "game/GameCore.h"
#include "game/ui/GameThread.h"
#include "keyboard/KeyComposer.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QProgressBar;
class QTimer;

// The play field. The game draws into the widget's own picture, which a
// repaint only shows; exclusive-or drawing works on it as on a screen.
class TGamePaintBox : public QWidget, public TGameView
{
    Q_OBJECT
public:
    TGamePaintBox(const TCodePage& codePage, QWidget* parent = nullptr);

    // The face and the point size of the falling words.
    void SetGameFont(const std::string& name, int size);
    // A blank picture of the widget's size in the game's background colour.
    void Clear();

    const QImage& Surface() const { return surface_; }

    void DrawChar(int x, int y, unsigned char ch, TColor color, const TFontStyles& style,
                  TColor background) override;
    void FillRect(const TGameRect& rect, TColor color) override;
    void XorFrame(const TGameRect& rect, int penWidth, TColor color) override;
    void ShowStatus(const std::string& text) override;
    void ShowMessage(const std::string& text) override;

    // Receives the status line.
    QLabel* StatusLabel = nullptr;

signals:
    // The picture was made anew, blank, for a new size.
    void Resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct TStyledFont
    {
        QFont Font;
        QFontMetrics Metrics;
        int Ascent = 0;
        int Height = 0;
    };
    const TStyledFont& Styled(const TFontStyles& style);

    const TCodePage& codePage_;
    QImage surface_;
    QString fontName_;
    int fontSize_ = GameSettings.GameFontSize;
    std::array<std::optional<TStyledFont>, 16> fonts_; // by style
};

// The game window: status line and bars above the play field. It creates one
// engine per game, paces it, hands it the typed keys and asks before the
// player leaves a running game. Closing hides it for the next game.
class TgameFrame : public QWidget
{
    Q_OBJECT
public:
    explicit TgameFrame(const TCodePage& codePage, QWidget* parent = nullptr);
    ~TgameFrame() override;

    // Reads twgame.ini in dataDir into GameSettings; missing values keep
    // their defaults.
    static void LoadGameTuning(const std::string& dataDir);
    void SetGameFile(const std::string& path) { GameFile = path; }
    void SetFontName(const std::string& name);

    // A new engine, the difficulty asked, pacing on. A word file that cannot
    // be read is reported and starts nothing.
    void StartGame();
    void AskDifficulty();
    // Whether the window may close; asks while a game runs.
    bool ConfirmExit();
    void InitBars(int quota, int totalBricks);
    void UpdateBars(int bricksLeft, int hits, int lost);
    // The engine's thread has ended.
    void StopPacing();
    void PaceTick();

    QWidget* Panel1;
    QLabel* LbStatus;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QProgressBar* PbTotalLeft;
    QProgressBar* PbHitLost;
    QProgressBar* PbCityLife;
    TGamePaintBox* PaintBox1;
    QTimer* PacingTimer;

    // Copied into each new engine.
    TGameEvent OnMiss;
    TGameEvent OnShoot;
    TGameEvent OnCityHurt;
    TGameEvent OnLevelUp;
    TGameEvent OnGameOver;
    // After the window agreed to close.
    std::function<void()> OnClose;

    std::unique_ptr<threadType> Engine;
    std::string WordFile; // the word file of the current game
    std::string GameFile;
    int Quota = 0;
    int TotalBricks = 0;
    bool GameOver = false;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Dead keys compose in keyPressEvent; no input method comes between.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormShow();
    void TypeKeys(const QString& text);

    const TCodePage& codePage_;
    TKeyComposer composer_;
};
