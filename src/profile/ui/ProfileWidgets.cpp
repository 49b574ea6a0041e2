// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/ui/ProfileWidgets.h"

#include "base/Errors.h"
#include "base/Translate.h"
#include "base/ui/QtBridge.h"
#include "profile/ProfileFormRules.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

QIcon Swatch(TColor color)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(ToQColor(color));
    return QIcon(pixmap);
}

} // namespace

TColorPicker::TColorPicker(bool withCustomEntry, QWidget* parent) : QComboBox(parent)
{
    for (const auto& named : PickerColors())
        AddColor(QString::fromUtf8(_(named.Name)), named.Color, count());
    if (withCustomEntry) {
        customEntry_ = count();
        addItem(QString::fromUtf8(_("Custom...")));
    }
    connect(this, &QComboBox::activated, this, &TColorPicker::Picked);
}

int TColorPicker::AddColor(const QString& name, TColor color, int at)
{
    insertItem(at, Swatch(color), name, QVariant(static_cast<qint32>(color)));
    if (customEntry_ >= at)
        ++customEntry_;
    return at;
}

void TColorPicker::SetColor(TColor color)
{
    int index = findData(QVariant(static_cast<qint32>(color)));
    if (index < 0) {
        const QString name =
            IsSystemColor(color)
                ? QString::fromUtf8(Format(_("System colour %d"), SystemColorIndex(color)).c_str())
                : ToQColor(color).name(QColor::HexRgb).toUpper();
        index = AddColor(name, color, 0);
    }
    setCurrentIndex(index);
    lastPicked_ = index;
}

TColor TColorPicker::Color() const
{
    return static_cast<TColor>(currentData().toInt());
}

void TColorPicker::Picked(int index)
{
    if (index != customEntry_) {
        lastPicked_ = index;
        return;
    }
    const TColor before = lastPicked_ >= 0 ? static_cast<TColor>(itemData(lastPicked_).toInt()) : 0;
    const QColor chosen = QColorDialog::getColor(ToQColor(before), this, QString(),
                                                 QColorDialog::DontUseNativeDialog);
    SetColor(chosen.isValid() ? FromQColor(chosen) : before);
}

QFont ToQFont(const TFont& font, const TCodePage& codePage)
{
    QFont f(ToQString(font.Name, codePage));
    if (font.Size > 0)
        f.setPointSize(font.Size);
    f.setBold(font.Bold);
    f.setItalic(font.Italic);
    f.setUnderline(font.Underline);
    f.setStrikeOut(font.StrikeOut);
    return f;
}

TFontSample::TFontSample(const TCodePage& codePage, QWidget* parent)
    : QLineEdit(QStringLiteral("ExAmPLe"), parent), codePage_(codePage)
{}

void TFontSample::SetSampleFont(const TFont& font)
{
    font_ = font;
    setFont(ToQFont(font, codePage_));
    QPalette p = palette();
    p.setColor(QPalette::Text, ToQColor(font.Color));
    setPalette(p);
}

TFontColorDialog::TFontColorDialog(const TFont& font, const TCodePage& codePage, QWidget* parent)
    : QDialog(parent), codePage_(codePage)
{
    setObjectName(QStringLiteral("FontColorDialog"));
    setWindowTitle(QString::fromUtf8(_("Font")));
    FontDialog = new QFontDialog(ToQFont(font, codePage), this);
    FontDialog->setObjectName(QStringLiteral("FontDialog"));
    FontDialog->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    FontDialog->setWindowFlags(Qt::Widget);

    auto* colorRow = new QHBoxLayout;
    auto* colorLabel = new QLabel(QString::fromUtf8(_("Color:")), this);
    ColorBox = new TColorPicker(false, this);
    ColorBox->setObjectName(QStringLiteral("ColorBox"));
    ColorBox->SetColor(font.Color);
    colorLabel->setBuddy(ColorBox);
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(ColorBox, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FontDialog);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
}

TFont TFontColorDialog::ChosenFont() const
{
    const QFont f = FontDialog->currentFont();
    TFont font;
    font.Name = FromQString(f.family(), codePage_);
    font.Size = f.pointSize() > 0 ? f.pointSize() : font.Size;
    font.Color = ColorBox->Color();
    font.Bold = f.bold();
    font.Italic = f.italic();
    font.Underline = f.underline();
    font.StrikeOut = f.strikeOut();
    return font;
}
