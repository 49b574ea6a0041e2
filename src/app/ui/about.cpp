// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/about.h"

#include "app/BuildConfig.h"
#include "app/ui/Application.h"
#include "base/Translate.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

namespace {

const QColor MoneyGreen(192, 220, 192);

} // namespace

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1/tapwren.png").arg(size), QSize(size, size));
    return icon;
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Tapwren"));
    setWindowIcon(ProgramIcon());
    setAttribute(Qt::WA_AlwaysShowToolTips);
    resize(362, 259);

    QPalette green = palette();
    green.setColor(QPalette::Window, MoneyGreen);
    green.setColor(QPalette::Button, MoneyGreen);
    setPalette(green);
    setAutoFillBackground(true);

    // The window's single-pixel border and its raised panel.
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setLineWidth(1);
    Panel1->setGeometry(rect());
    auto* raised = new QFrame(Panel1);
    raised->setFrameStyle(QFrame::Panel | QFrame::Raised);
    raised->setGeometry(rect().adjusted(1, 1, -1, -1));

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bevel1->setGeometry(6, 6, 347, 181);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(22, 22, 64, 64);
    Image1->setPixmap(ProgramIcon().pixmap(64, 64));

    ProductNameLb = new QLabel(QStringLiteral("Tapwren"), this);
    ProductNameLb->setObjectName(QStringLiteral("ProductNameLb"));
    ProductNameLb->setGeometry(104, 24, 236, 40);
    QFont nameFont = ProductNameLb->font();
    nameFont.setBold(true);
    nameFont.setPixelSize(30);
    ProductNameLb->setFont(nameFont);

    VersionLb = new QLabel(this);
    VersionLb->setObjectName(QStringLiteral("VersionLb"));
    VersionLb->setGeometry(104, 68, 236, 40);
    VersionLb->setWordWrap(true);
    VersionLb->setText(QString::fromUtf8(_("Touch typing tutor")) + QLatin1Char('\n') +
                       QString::fromUtf8(_("Version %1")).arg(QString::fromUtf8(TapwrenVersion)));

    LicenceLb = new QLabel(this);
    LicenceLb->setObjectName(QStringLiteral("LicenceLb"));
    LicenceLb->setGeometry(104, 108, 236, 36);
    LicenceLb->setWordWrap(true);
    LicenceLb->setText(
        QString::fromUtf8(_("Licence: GNU GPL version 3 or later, with no warranty.")));

    WebLb = new QLabel(QString::fromUtf8(TapwrenWebsite), this);
    WebLb->setObjectName(QStringLiteral("WebLb"));
    WebLb->setGeometry(22, 148, 318, 22);
    QFont webFont = WebLb->font();
    webFont.setUnderline(true);
    WebLb->setFont(webFont);
    QPalette blue = WebLb->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    WebLb->setPalette(blue);
    WebLb->setCursor(Qt::PointingHandCursor);
    WebLb->installEventFilter(this);

    OKButton = new QPushButton(QString::fromUtf8(_("&OK")), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(146, 225, 70, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this,
            [this] { Guarded([this] { OKButtonClick(); }); });

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TAboutBox::OKButtonClick()
{
    close();
}

void TAboutBox::WebLbClick()
{
    QDesktopServices::openUrl(QUrl(WebLb->text()));
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == WebLb && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        WebLbClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
