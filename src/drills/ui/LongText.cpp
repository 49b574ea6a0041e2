// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/ui/LongText.h"

#include "app/GlobalVar.h"
#include "base/Translate.h"
#include "base/ui/FramedWindow.h"
#include "base/ui/QtBridge.h"
#include "drills/stopw.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

namespace {

// A busy pointer for as long as the object lives.
class TBusyPointer
{
public:
    TBusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyPointer() { QApplication::restoreOverrideCursor(); }
    TBusyPointer(const TBusyPointer&) = delete;
    TBusyPointer& operator=(const TBusyPointer&) = delete;
};

QToolButton* ToolButton(QToolBar* bar, const char* name, const char* caption, const char* hint)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromUtf8(_(caption)));
    if (hint != nullptr)
        button->setToolTip(QString::fromUtf8(_(hint)));
    button->setFixedSize(84, 22);
    bar->addWidget(button);
    return button;
}

} // namespace

TFmLongText::TFmLongText(const TCodePage& codePage, QWidget* parent)
    : TFmLinePractice(codePage, parent),
      drill_(std::make_unique<TParagraphDrill>(Engine, DrillStopwatch(),
                                               static_cast<TParagraphHost&>(*this), codePage))
{
    setObjectName(QStringLiteral("FmLongText"));

    ToolBar1 = new QToolBar(Panel1);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setGeometry(6, 6, 759, 29);
    QFont barFont(QStringLiteral("Times New Roman"));
    barFont.setPixelSize(13);
    ToolBar1->setFont(barFont);
    BnLoad = ToolButton(ToolBar1, "BnLoad", N_("&Load text"), N_("Load from file"));
    BnPaste = ToolButton(ToolBar1, "BnPaste", N_("&Paste"), N_("Paste from clipboard"));
    BnRestart =
        ToolButton(ToolBar1, "BnRestart", N_("&Restart"), N_("Restart with current content"));
    BnClose = ToolButton(ToolBar1, "BnClose", N_("&Close"), nullptr);
    connect(BnLoad, &QToolButton::clicked, this, &TFmLongText::LoadText);
    connect(BnPaste, &QToolButton::clicked, this, &TFmLongText::PasteText);
    connect(BnRestart, &QToolButton::clicked, this, &TFmLongText::Restart);
    connect(BnClose, &QToolButton::clicked, this, &QDialog::reject);

    BnShowReturn = new QPushButton(QStringLiteral("#"), Panel1);
    BnShowReturn->setObjectName(QStringLiteral("BnShowReturn"));
    BnShowReturn->setFlat(true);
    BnShowReturn->setFocusPolicy(Qt::NoFocus);
    BnShowReturn->setFixedSize(21, 21);
    QFont returnFont(QStringLiteral("Courier New"));
    returnFont.setPixelSize(15);
    BnShowReturn->setFont(returnFont);
    BnShowReturn->setToolTip(QString::fromUtf8(_("Press return key if you see this button")));
    BnShowReturn->hide();

    SampleEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    InputEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

TFmLongText::~TFmLongText() = default;

void TFmLongText::FormCreate()
{
    TFmLinePractice::FormCreate();
    setWindowTitle(QString::fromUtf8(_("Text drill")));
    drill_->Create();
}

void TFmLongText::PlaceWindow()
{
    PlaceFramed(
        *this,
        [this](const QMargins&) {
            const QRect area = screen()->geometry();
            return QRect(1, 1, area.width(), area.height() - 25);
        },
        TFramedSize::Free);
    PlaceBoxes();
}

void TFmLongText::PlaceBoxes()
{
    const int clientWidth = width();
    const int clientHeight = height() - SBHelp->height();
    const int boxHeight = std::max(clientHeight / 2 - 48, 20);
    SampleEdit->setGeometry(4, 35, clientWidth - 15, boxHeight);
    const int markTop = SampleEdit->y() + SampleEdit->height() + 3;
    LbMark->move(LbMark->x(), markTop);
    BnShowReturn->move(128, markTop);
    InputEdit->setGeometry(4, markTop + 22, clientWidth - 11, boxHeight);
}

void TFmLongText::resizeEvent(QResizeEvent* event)
{
    TFmLinePractice::resizeEvent(event);
    PlaceBoxes();
}

void TFmLongText::LoadText()
{
    const QString folder =
        Settings != nullptr ? QString::fromStdString(Settings->DataDir + "Courses") : QString();
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), folder, QString::fromUtf8(_("Text (*.txt *.Txt);;All (*)")));
    if (!path.isEmpty())
        LoadTextFrom(path.toStdString());
    InputEdit->setFocus(); // back from the button an Alt shortcut focused
}

void TFmLongText::LoadTextFrom(const std::string& path)
{
    {
        const TBusyPointer busy;
        drill_->LoadText(path);
    }
    InputEdit->setFocus();
}

void TFmLongText::PasteText()
{
    {
        const TBusyPointer busy;
        drill_->PasteText(QGuiApplication::clipboard()->text().toStdString());
    }
    InputEdit->setFocus();
}

void TFmLongText::Restart()
{
    drill_->Restart();
}

void TFmLongText::ResetFormatting()
{
    RestyleBoxes();
}

void TFmLongText::ShowNextKey(unsigned char ch)
{
    drill_->ShowNextKey(ch);
}

void TFmLongText::NextLine()
{
    drill_->NextLine();
}

TKeyVerdict TFmLongText::JudgeKey(int k)
{
    return drill_->KeyPress(k);
}

void TFmLongText::SetSample(const std::string& text)
{
    TFmLinePractice::SetSample(text);
}

void TFmLongText::HideTimingMark()
{
    LbMark->hide();
}

void TFmLongText::ClearInput()
{
    InputEdit->clear();
}

void TFmLongText::SetInputReadOnly(bool readOnly)
{
    InputEdit->setReadOnly(readOnly);
    if (!readOnly) {
        InputEdit->setEnabled(true);
        InputEdit->setFocus();
    }
}

void TFmLongText::ShowReturnButton(bool visible)
{
    BnShowReturn->setVisible(visible);
}

void TFmLongText::ReturnExpected()
{
    if (OnReturnExpected)
        OnReturnExpected(*this);
}
