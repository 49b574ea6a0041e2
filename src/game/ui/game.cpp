// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/ui/game.h"

#include "app/ui/FormInput.h"
#include "base/Errors.h"
#include "base/Translate.h"
#include "base/ui/FramedWindow.h"
#include "base/ui/MessageBoxes.h"
#include "base/ui/QtBridge.h"
#include "drills/LineEngine.h"
#include "game/GameBars.h"
#include "game/GameSettings.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <clocale>

namespace {

constexpr int PanelHeight = 57;
constexpr int StatusHeight = 17;
constexpr int CityRows = 3;

QString Ui(const char* translated)
{
    return QString::fromUtf8(translated);
}

int StyleIndex(const TFontStyles& style)
{
    return (style.Bold ? 1 : 0) | (style.Italic ? 2 : 0) | (style.Underline ? 4 : 0) |
           (style.StrikeOut ? 8 : 0);
}

QRect ToQRect(const TGameRect& rect)
{
    return QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
}

QProgressBar* Bar(QWidget* parent, const char* name, int left)
{
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(left, 36, 150, 16);
    bar->setRange(0, 100);
    bar->setTextVisible(false);
    return bar;
}

QLabel* Caption(QWidget* parent, const char* name, const char* translated, int left)
{
    auto* label = new QLabel(Ui(translated), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, 20);
    return label;
}

void SetBar(QProgressBar* bar, int position, TColor fill)
{
    bar->setValue(position);
    const QColor color = ToQColor(fill);
    if (bar->palette().color(QPalette::Highlight) != color) {
        QPalette palette = bar->palette();
        palette.setColor(QPalette::Highlight, color);
        bar->setPalette(palette);
    }
}

} // namespace

TGamePaintBox::TGamePaintBox(const TCodePage& codePage, QWidget* parent)
    : QWidget(parent), codePage_(codePage), surface_(1, 1, QImage::Format_RGB32),
      fontName_(ToQString(GameSettings.GameFontName, codePage))
{
    setObjectName(QStringLiteral("PaintBox1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    Clear();
}

void TGamePaintBox::SetGameFont(const std::string& name, int size)
{
    const QString face = ToQString(name, codePage_);
    if (face == fontName_ && size == fontSize_)
        return;
    fontName_ = face;
    fontSize_ = size;
    fonts_ = {};
}

void TGamePaintBox::Clear()
{
    // A hidden widget hears of its new size only when shown.
    const QSize size(std::max(1, width()), std::max(1, height()));
    if (surface_.size() != size)
        surface_ = QImage(size, QImage::Format_RGB32);
    surface_.fill(ToQColor(GameSettings.GameBgColor));
    update();
}

const TGamePaintBox::TStyledFont& TGamePaintBox::Styled(const TFontStyles& style)
{
    std::optional<TStyledFont>& cached = fonts_[static_cast<std::size_t>(StyleIndex(style))];
    if (!cached) {
        QFont font(fontName_);
        font.setStyleHint(QFont::TypeWriter);
        font.setPointSize(std::max(1, fontSize_));
        font.setBold(style.Bold);
        font.setItalic(style.Italic);
        font.setUnderline(style.Underline);
        font.setStrikeOut(style.StrikeOut);
        const QFontMetrics metrics(font);
        cached = TStyledFont{font, metrics, metrics.ascent(), metrics.height()};
    }
    return *cached;
}

// The glyph stays within the cell's width and the font's height, so that
// drawing the same character in the background colour erases it completely.
// It is centred in its cell: with a proportional font, narrow letters drawn
// at the cell's left would leave gaps inside the word.
void TGamePaintBox::DrawChar(int x, int y, unsigned char ch, TColor color, const TFontStyles& style,
                             TColor background)
{
    const TStyledFont& styled = Styled(style);
    const QRect cell(x, y, std::max(1, fontSize_), styled.Height);
    const std::optional<char32_t> unicode = codePage_.ToUnicode(ch);
    const char32_t character = unicode ? *unicode : U'?';
    QPainter painter(&surface_);
    painter.fillRect(cell, ToQColor(background));
    painter.setClipRect(cell);
    painter.setFont(styled.Font);
    painter.setPen(ToQColor(color));
    const QString text = QString::fromUcs4(&character, 1);
    const int left = x + (cell.width() - styled.Metrics.horizontalAdvance(text)) / 2;
    painter.drawText(QPoint(left, y + styled.Ascent), text);
    update(cell);
}

void TGamePaintBox::FillRect(const TGameRect& rect, TColor color)
{
    const QRect area = ToQRect(rect);
    QPainter(&surface_).fillRect(area, ToQColor(color));
    update(area);
}

void TGamePaintBox::XorFrame(const TGameRect& rect, int penWidth, TColor color)
{
    QPainter painter(&surface_);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(ToQColor(color), penWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    // One outline: corners where the edges meet are combined only once.
    const QRect outline(rect.Left, rect.Top, rect.Right - 1 - rect.Left,
                        rect.Bottom - 1 - rect.Top);
    painter.drawRect(outline);
    update(outline.adjusted(-penWidth, -penWidth, penWidth, penWidth));
}

void TGamePaintBox::ShowStatus(const std::string& text)
{
    if (StatusLabel)
        StatusLabel->setText(QString::fromStdString(text));
}

void TGamePaintBox::ShowMessage(const std::string& text)
{
    TMessageBoxes::Information(window(), QString::fromStdString(text));
}

void TGamePaintBox::paintEvent(QPaintEvent* event)
{
    QPainter(this).drawImage(event->rect(), surface_, event->rect());
}

void TGamePaintBox::resizeEvent(QResizeEvent*)
{
    Clear();
    emit Resized();
}

TgameFrame::TgameFrame(const TCodePage& codePage, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      codePage_(codePage), composer_(std::setlocale(LC_CTYPE, nullptr))
{
    setObjectName(QStringLiteral("gameFrame"));
    setWindowTitle(Ui(_("Game")));
    resize(564, 350);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    // The window takes the game's background; the panel keeps the face of buttons.
    Panel1->setAutoFillBackground(true);
    QPalette panelPalette = Panel1->palette();
    panelPalette.setColor(QPalette::Window, ToQColor(clBtnFace));
    Panel1->setPalette(panelPalette);

    LbStatus = new QLabel(Ui(_("Score")), Panel1);
    LbStatus->setObjectName(QStringLiteral("LbStatus"));
    QPalette statusPalette = LbStatus->palette();
    statusPalette.setColor(QPalette::WindowText, ToQColor(clNavy));
    LbStatus->setPalette(statusPalette);
    QFont statusFont = LbStatus->font();
    statusFont.setPointSize(9);
    LbStatus->setFont(statusFont);

    Label2 = Caption(Panel1, "Label2", _("Progress"), 12);
    PbTotalLeft = Bar(Panel1, "PbTotalLeft", 12);
    Label3 = Caption(Panel1, "Label3", _("Invader Life"), 196);
    PbHitLost = Bar(Panel1, "PbHitLost", 196);
    PbHitLost->setToolTip(Ui(_("How many words get hit correctly")));
    Label1 = Caption(Panel1, "Label1", _("City Life"), 380);
    PbCityLife = Bar(Panel1, "PbCityLife", 380);
    PbCityLife->setToolTip(Ui(_("How many city bricks get destroyed")));

    PaintBox1 = new TGamePaintBox(codePage_, this);
    PaintBox1->StatusLabel = LbStatus;
    connect(PaintBox1, &TGamePaintBox::Resized, this, [this] {
        if (Engine)
            Engine->Core().Repaint();
    });

    PacingTimer = new QTimer(this);
    PacingTimer->setObjectName(QStringLiteral("PacingTimer"));
    PacingTimer->setInterval(GamePaceMs);
    PacingTimer->setTimerType(Qt::PreciseTimer);
    connect(PacingTimer, &QTimer::timeout, this, &TgameFrame::PaceTick);
}

TgameFrame::~TgameFrame()
{
    PacingTimer->stop();
    Engine.reset();
}

void TgameFrame::LoadGameTuning(const std::string& dataDir)
{
    ::LoadGameTuning(GameSettings, dataDir + "twgame.ini");
}

void TgameFrame::SetFontName(const std::string& name)
{
    GameSettings.GameFontName = name;
    PaintBox1->SetGameFont(name, GameSettings.GameFontSize);
}

void TgameFrame::StartGame()
{
    WordFile = GameFile;
    Engine.reset();
    PaintBox1->SetGameFont(GameSettings.GameFontName, GameSettings.GameFontSize);
    PaintBox1->Clear();
    try {
        Engine = std::make_unique<threadType>(WordFile, *PaintBox1, PaintBox1->height());
    } catch (const TError& error) {
        TMessageBoxes::Error(this, QString::fromStdString(error.what()));
        return;
    }
    GameOver = false;
    TGameCore& core = Engine->Core();
    core.Repaint();
    core.OnMiss = OnMiss;
    core.OnShoot = OnShoot;
    core.OnCityHurt = OnCityHurt;
    core.OnLevelUp = OnLevelUp;
    core.OnGameOver = OnGameOver;
    Engine->OnTerminate = [this] { StopPacing(); };
    core.OnStart = [this](int quota, int totalBricks) { InitBars(quota, totalBricks); };
    core.OnStatus = [this](int bricksLeft, int hits, int lost) {
        UpdateBars(bricksLeft, hits, lost);
    };
    AskDifficulty();
    Engine->start();
    PacingTimer->start();
}

void TgameFrame::AskDifficulty()
{
    // Confirmed or not, the box's text counts.
    QString value = Ui(_("3"));
    InputNumber(this, Ui(_("Input Box")), Ui(_("Set difficulty (1-10).")), value);
    Engine->Core().SetDifficulty(DifficultyFromEntry(value.toStdString()));
}

bool TgameFrame::ConfirmExit()
{
    // A game that has just ended is over even before its thread's end is told.
    if (GameOver || Engine->Core().Terminated())
        return true;
    PacingTimer->stop();
    Engine->Paused = true;
    const bool exit = TMessageBoxes::Confirm(this, Ui(_("Do you want to exit?")));
    Engine->Paused = false;
    if (exit) {
        Engine->Stop();
        GameOver = true;
        return true;
    }
    PacingTimer->start();
    return false;
}

void TgameFrame::InitBars(int quota, int totalBricks)
{
    Quota = quota;
    TotalBricks = totalBricks;
    PbTotalLeft->setValue(0);
    SetBar(PbCityLife, 100, BlendColor(BarLowColor, CityBarHighColor, 100, 100));
    SetBar(PbHitLost, 100, BlendColor(BarLowColor, HitLostBarHighColor, 100, 100));
}

// Qt repaints the bars as soon as the engine's step is over; processing
// events inside the step would let a key or a close request in mid-step.
void TgameFrame::UpdateBars(int bricksLeft, int hits, int lost)
{
    const TGameBars bars = GameBars(Quota, TotalBricks, bricksLeft, hits, lost);
    PbTotalLeft->setValue(bars.TotalLeft);
    SetBar(PbCityLife, bars.CityLife, bars.CityLifeColor);
    SetBar(PbHitLost, bars.HitLost, bars.HitLostColor);
}

void TgameFrame::StopPacing()
{
    PacingTimer->stop();
    GameOver = true;
}

void TgameFrame::PaceTick()
{
    if (Engine)
        Engine->Tick();
}

void TgameFrame::FormShow()
{
    const QRect area = screen()->geometry();
    GameSettings.Columns = FieldColumns(area.width(), GameSettings.GameFontSize);
    GameSettings.Rows = CityRows;
    PlaceFramed(
        *this, [this](const QMargins&) { return screen()->geometry(); }, TFramedSize::Fixed);
    QPalette background = palette();
    background.setColor(QPalette::Window, ToQColor(GameSettings.GameBgColor));
    setPalette(background);
}

void TgameFrame::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QWidget::showEvent(event);
}

void TgameFrame::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    const QString text = event->text();
    switch (composer_.Feed(event->nativeVirtualKey())) {
    case TKeyComposer::TStep::Swallow:
        return;
    case TKeyComposer::TStep::Composed:
        TypeKeys(QString::fromStdString(composer_.Composed()));
        return;
    case TKeyComposer::TStep::Pass:
        break;
    }
    if (text.isEmpty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    TypeKeys(text);
}

QVariant TgameFrame::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled)
        return false;
    return QWidget::inputMethodQuery(query);
}

void TgameFrame::TypeKeys(const QString& text)
{
    if (!Engine || GameOver)
        return;
    for (const char32_t ch : text.toUcs4()) {
        const int code = CharacterCode(ch, codePage_);
        if (code != KeyUnmappable)
            Engine->Core().SetKey(static_cast<unsigned char>(code));
    }
}

void TgameFrame::closeEvent(QCloseEvent* event)
{
    if (Engine && !ConfirmExit()) {
        event->ignore();
        return;
    }
    event->accept();
    if (OnClose)
        OnClose();
}

void TgameFrame::resizeEvent(QResizeEvent*)
{
    Panel1->setGeometry(0, 0, width(), PanelHeight);
    LbStatus->setGeometry(0, 0, width(), StatusHeight);
    PaintBox1->setGeometry(0, PanelHeight, width(), std::max(0, height() - PanelHeight));
}
