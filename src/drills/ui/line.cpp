// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/ui/line.h"

#include "base/CodePage.h"
#include "base/Errors.h"
#include "base/Translate.h"
#include "base/ui/FramedWindow.h"
#include "base/ui/MessageBoxes.h"
#include "base/ui/QtBridge.h"
#include "drills/LineGuidance.h"
#include "drills/stopw.h"
#include "drills/ui/GuidanceDock.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr TColor RightColor = clNavy;
constexpr TColor WrongColor = clRed;

constexpr int InitialClientWidth = 592;
constexpr int ClientHeight = 230;
constexpr int StatusBarHeight = 26;

QFont CourierNew(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

template <class Box> Box* MakeTextBox(QWidget* parent, const char* name)
{
    auto* box = new Box(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAcceptRichText(false);
    box->setAcceptDrops(false);
    box->setUndoRedoEnabled(false);
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->setFont(CourierNew(11));
    return box;
}

// Alt with a key, which is a window's shortcut and never a typed character.
// AltGr, which types characters, does not count as Alt.
bool IsAltShortcut(const QKeyEvent* event)
{
    return event->modifiers().testFlag(Qt::AltModifier);
}

} // namespace

TFmLinePractice::TFmLinePractice(const TCodePage& codePage, QWidget* parent)
    : QDialog(parent), Engine(*this, DrillStopwatch()), CodePage(codePage),
      noGuidance_(std::make_unique<TNoGuidance>()), guidance_(noGuidance_.get())
{
    setObjectName(QStringLiteral("FmLinePractice"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(CourierNew(11));
    setAutoFillBackground(true);
    SetBackColor(clMoneyGreen);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setLineWidth(1);
    layout->addWidget(Panel1, 1);

    SampleEdit = MakeTextBox<QTextEdit>(Panel1, "SampleEdit");
    SampleEdit->setGeometry(4, 4, 577, 80);
    SampleEdit->setFrameStyle(QFrame::NoFrame);
    SampleEdit->setReadOnly(true);
    SampleEdit->setTextInteractionFlags(Qt::NoTextInteraction);
    // The highlight of the next character shows while the focus is elsewhere.
    QPalette samplePalette = SampleEdit->palette();
    samplePalette.setColor(QPalette::Inactive, QPalette::Highlight,
                           samplePalette.color(QPalette::Active, QPalette::Highlight));
    samplePalette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                           samplePalette.color(QPalette::Active, QPalette::HighlightedText));
    SampleEdit->setPalette(samplePalette);
    SampleEdit->installEventFilter(this);

    LbMark = new QLabel(QStringLiteral("V"), Panel1);
    LbMark->setObjectName(QStringLiteral("LbMark"));
    LbMark->setFont(CourierNew(21, true));
    LbMark->move(4, 90);
    LbMark->hide();

    InputEdit = MakeTextBox<TDrillInputBox>(Panel1, "InputEdit");
    InputEdit->setGeometry(3, 115, 581, 80);
    InputEdit->OnComposed = [this](char32_t typed) {
        InputEditKeyPress(CharacterCode(typed, CodePage), typed);
    };
    QPalette inputPalette = InputEdit->palette();
    inputPalette.setColor(QPalette::Base, ToQColor(clInfoBk));
    inputPalette.setColor(QPalette::Text, ToQColor(clNavy));
    InputEdit->setPalette(inputPalette);
    InputEdit->installEventFilter(this);

    GuidanceDock = new TGuidanceDock(this);
    layout->addWidget(GuidanceDock);

    SBHelp = new QStatusBar(this);
    SBHelp->setObjectName(QStringLiteral("SBHelp"));
    SBHelp->setSizeGripEnabled(false);
    SBHelp->setFixedHeight(StatusBarHeight);
    layout->addWidget(SBHelp);

    resize(InitialClientWidth, ClientHeight);
    InputEdit->setFocus();
}

TFmLinePractice::~TFmLinePractice() = default;

void TFmLinePractice::FormCreate()
{
    setWindowTitle(QString::fromUtf8(_("Line Practice")));
    PlaceWindow();
    Engine.LineResult = TLineResult::None;
    SetSample({});
    Engine.SampleLength = 0;
    Engine.PracticeTime = 0;
    Engine.Timing = false;
    Engine.EndOfLine = false;
    Engine.Passed = true;
    Engine.Guidance = true;
    Engine.EnterEndsLine = true;
}

void TFmLinePractice::PlaceWindow()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int w = screen.width() * 90 / 100;
    const int h = screen.height();
    setGeometry((screen.width() - w) / 2, h <= 640 ? 20 : h / 8, w, ClientHeight);
    SampleEdit->resize(w - 15, SampleEdit->height());
    InputEdit->resize(w - 11, InputEdit->height());
}

void TFmLinePractice::SetGuidanceWindows(TDrillGuidance* guidance)
{
    guidance_ = guidance != nullptr ? guidance : noGuidance_.get();
}

void TFmLinePractice::SetSample(const std::string& text)
{
    lineBreaks_.clear();
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '\r' && text[i + 1] == '\n')
            lineBreaks_.push_back(static_cast<int>(i));
    QString shown = ToQString(text, CodePage);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    SampleEdit->setPlainText(shown);
    // Only the highlight moves over the sample. Without the shaped glyphs
    // kept, the toolkit would shape a paragraph whole again for every move,
    // and a key would cost more the longer the paragraph.
    for (QTextBlock block = SampleEdit->document()->begin(); block.isValid(); block = block.next())
        block.layout()->setCacheEnabled(true);
    Engine.SetSample(text);
}

int TFmLinePractice::DocumentPosition(int index) const
{
    const auto before = std::lower_bound(lineBreaks_.begin(), lineBreaks_.end(), index);
    return index - static_cast<int>(before - lineBreaks_.begin());
}

void TFmLinePractice::FontToAttributes(const QFont& font, const QColor& color,
                                       QTextCharFormat& style)
{
    style.setFont(font, QTextCharFormat::FontPropertiesAll);
    style.setForeground(color);
}

void TFmLinePractice::SetPracticeFont(const QFont& font, const QColor& color)
{
    practiceColor_ = color;
    SampleEdit->setFont(font);
    InputEdit->setFont(font);
    QTextCharFormat style;
    FontToAttributes(font, color, style);
    practiceStyle_ = style;
    SampleEdit->setCurrentCharFormat(style);
    InputEdit->setCurrentCharFormat(style);
    QTextCursor all(InputEdit->document());
    all.select(QTextCursor::Document);
    all.setCharFormat(style);
}

void TFmLinePractice::SetBackColor(TColor color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(color));
    setPalette(p);
}

void TFmLinePractice::ResetDisplay()
{
    RestyleBoxes();
    InputEdit->clear();
    InputEdit->setCurrentCharFormat(practiceStyle_);
}

void TFmLinePractice::RestyleBoxes()
{
    SampleEdit->setEnabled(false);
    QTextCharFormat style;
    FontToAttributes(SampleEdit->font(), practiceColor_, style);
    QTextCursor sample(SampleEdit->document());
    sample.select(QTextCursor::Document);
    sample.setCharFormat(style);
    QTextCursor input(InputEdit->document());
    input.select(QTextCursor::Document);
    input.setCharFormat(style);
    SampleEdit->setEnabled(true);
    SampleEdit->moveCursor(QTextCursor::Start);
}

void TFmLinePractice::ShowNextKey(unsigned char ch)
{
    ShowKeyAndFinger(ch);
}

void TFmLinePractice::ShowKeyAndFinger(unsigned char ch)
{
    ShowFinger(guidance_->ShowKey(ch));
}

void TFmLinePractice::ShowFinger(int f)
{
    if (Engine.Guidance)
        guidance_->ShowFinger(f);
}

void TFmLinePractice::ShowGuidance()
{
    if (!Engine.Guidance)
        return;
    const QRect frame = FramedGeometry(*this);
    guidance_->Show(frame.left(), frame.top(), frame.width(), frame.height());
    if (!Engine.Sample().empty())
        ShowNextKey(Engine.At(Engine.Position));
}

void TFmLinePractice::MarkInput(TColor color)
{
    QTextCharFormat style = practiceStyle_;
    style.setForeground(ToQColor(color));
    InputEdit->setCurrentCharFormat(style);
}

void TFmLinePractice::MarkRight()
{
    MarkInput(RightColor);
}

void TFmLinePractice::MarkWrong()
{
    MarkInput(WrongColor);
}

void TFmLinePractice::MoveCaretToEnd()
{
    InputEdit->moveCursor(QTextCursor::End);
}

void TFmLinePractice::ShowTimingMark(bool visible)
{
    LbMark->setVisible(visible);
}

void TFmLinePractice::HighlightSample(int start)
{
    const int count = SampleEdit->document()->characterCount() - 1;
    const int from = std::min(DocumentPosition(start), count);
    QTextCursor cursor(SampleEdit->document());
    cursor.setPosition(from);
    cursor.setPosition(std::min(from + 1, count), QTextCursor::KeepAnchor);
    SampleEdit->setTextCursor(cursor);
}

void TFmLinePractice::ShowStatistics(const TLineStatistics& stats)
{
    const QString text =
        QString::fromUtf8(Format(_("Keys/Min: %d   Accuracy: %d%%   WPM: %d"), stats.KeysPerMinute,
                                 stats.Accuracy, stats.WordsPerMinute));
    SBHelp->showMessage(text);
    if (Engine.PopupStatistics)
        TMessageBoxes::Information(this, text);
    if (stats.TooFast)
        TMessageBoxes::Warning(
            this, QString::fromUtf8(_("Can you really type so fast?  Do be patient.")));
}

void TFmLinePractice::CloseWindow()
{
    reject();
}

void TFmLinePractice::WrongKey()
{
    if (OnWrongKey)
        OnWrongKey(*this);
}

void TFmLinePractice::LineDone()
{
    if (OnLineDone)
        OnLineDone(*this);
}

void TFmLinePractice::InputEditKeyDown(int& key, Qt::KeyboardModifiers)
{
    switch (key) {
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
        key = 0;
        break;
    default:
        break;
    }
}

TKeyVerdict TFmLinePractice::JudgeKey(int k)
{
    return Engine.KeyPress(k);
}

void TFmLinePractice::InputEditKeyPress(int k, char32_t typed)
{
    const TKeyVerdict verdict = JudgeKey(k);
    if (!verdict.GoesOn)
        return;
    switch (verdict.Key) {
    case KeyBackspace:
        InputEdit->DeleteTyped();
        break;
    case KeyEnter:
        InputEdit->TypeLineBreak();
        break;
    case 0:
    case KeyEscape:
        break;
    case KeyUnmappable:
        InputEdit->Type(QString::fromUcs4(&typed, 1));
        break;
    default:
        InputEdit->Type(ToQString(std::string(1, static_cast<char>(verdict.Key)), CodePage));
        break;
    }
}

bool TFmLinePractice::HandleKey(QKeyEvent* event)
{
    if (IsAltShortcut(event))
        return true; // no shortcut took it, and it types nothing
    int key = event->key();
    InputEditKeyDown(key, event->modifiers());
    switch (key) {
    case 0:
        InputEdit->EndComposing();
        return true;
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        InputEdit->EndComposing();
        return false; // the input box moves its caret; no text changes
    case Qt::Key_Backspace:
        InputEdit->EndComposing();
        InputEditKeyPress(KeyBackspace, U'\b');
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        InputEdit->EndComposing();
        InputEditKeyPress(KeyEnter, U'\r');
        return true;
    case Qt::Key_Escape:
        InputEdit->EndComposing();
        InputEditKeyPress(KeyEscape, U'\x1b');
        return true;
    default:
        break;
    }
    for (const char32_t ch : InputEdit->Typed(event).toUcs4())
        InputEditKeyPress(CharacterCode(ch, CodePage), ch);
    return true;
}

TDrillKey TFmLinePractice::DrillKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Home:
        return TDrillKey::Home;
    case Qt::Key_End:
        return TDrillKey::End;
    case Qt::Key_Left:
        return TDrillKey::Left;
    case Qt::Key_Up:
        return TDrillKey::Up;
    case Qt::Key_Right:
        return TDrillKey::Right;
    case Qt::Key_Down:
        return TDrillKey::Down;
    case Qt::Key_Insert:
        return TDrillKey::Insert;
    case Qt::Key_Delete:
        return TDrillKey::Delete;
    case Qt::Key_PageUp:
        return TDrillKey::PageUp;
    case Qt::Key_PageDown:
        return TDrillKey::PageDown;
    default:
        return TDrillKey::Other;
    }
}

bool TFmLinePractice::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == SampleEdit && event->type() == QEvent::FocusIn) {
        InputEdit->setFocus(); // SampleEditEnter: nobody types into the sample
        return false;
    }
    if (watched != InputEdit)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Every key belongs to the drill, except the windows' Alt shortcuts.
        if (!IsAltShortcut(static_cast<QKeyEvent*>(event)))
            event->accept();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    return HandleKey(static_cast<QKeyEvent*>(event));
}

void TFmLinePractice::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QPalette markPalette = LbMark->palette();
    const TColor back = FromQColor(palette().color(QPalette::Window));
    markPalette.setColor(QPalette::WindowText, ToQColor(ContrastColor(back)));
    LbMark->setPalette(markPalette);
    ShowGuidance();
    Engine.Passed = true;
}

void TFmLinePractice::hideEvent(QHideEvent* event)
{
    guidance_->Hide();
    QDialog::hideEvent(event);
}
