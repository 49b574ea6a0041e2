// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/ui/KbForm.h"

#include "base/ui/QtBridge.h"
#include "keyboard/KeyFace.h"
#include "keyboard/MainData.h"
#include "keyboard/TemplateBounds.h"

#include <QPainter>
#include <QPalette>

namespace {

TFacePixels PixelsOf(QImage& image)
{
    // Rows of 32-bit pixels are never padded.
    return {{reinterpret_cast<std::uint32_t*>(image.bits()),
             static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height())},
            image.width()};
}

QImage Drawn(const QImage& face)
{
    if (face.isNull())
        return {};
    QImage drawn = face.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    MaskKeyColor(PixelsOf(drawn));
    return drawn;
}

// Two lines of bevel: raised when up, sunken when down.
void DrawBevel(QPainter& painter, const QRect& area, const QColor& color, bool down)
{
    const QColor light = color.lighter(160);
    const QColor dark = color.darker(220);
    const QColor& topLeft = down ? dark : light;
    const QColor& bottomRight = down ? light : dark;
    QRect edge = area;
    for (int line = 0; line < 2 && edge.width() > 1 && edge.height() > 1; ++line) {
        painter.setPen(topLeft);
        painter.drawLine(edge.topLeft(), edge.topRight());
        painter.drawLine(edge.topLeft(), edge.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(edge.bottomLeft(), edge.bottomRight());
        painter.drawLine(edge.topRight(), edge.bottomRight());
        edge.adjust(1, 1, -1, -1);
    }
}

// A face in one of the formats a template may hold, decoded as that format
// only: guessing would hand hostile bytes to every decoder the toolkit has.
QImage Decoded(const std::string& glyph)
{
    const char* format = nullptr;
    switch (PictureFormat(glyph)) {
    case TPictureFormat::Png:
        format = "PNG";
        break;
    case TPictureFormat::Bmp:
        format = "BMP";
        break;
    case TPictureFormat::None:
        return {};
    }
    return QImage::fromData(QByteArray(glyph.data(), static_cast<qsizetype>(glyph.size())), format);
}

} // namespace

ButtonType::ButtonType(TKbFm& frame, std::size_t index, const TKeyRow& key)
    : QAbstractButton(&frame), frame_(frame), index_(index), tag_(key.KeyValue)
{
    setFocusPolicy(Qt::NoFocus);
    setGeometry(key.X, key.Y, key.Width, key.Height);

    const QImage face = Decoded(key.Glyph);
    if (!face.isNull()) {
        NormalGlyph = face.convertToFormat(QImage::Format_RGB32);
        InvertedGlyph = NormalGlyph.copy();
        InvertGlyph(PixelsOf(InvertedGlyph));
    }
    const std::optional<std::uint32_t> keyColor = KeyColor(PixelsOf(NormalGlyph));
    color_ = keyColor ? QColor::fromRgb(*keyColor) : palette().color(QPalette::Button);
    normalDrawn_ = Drawn(NormalGlyph);
    invertedDrawn_ = Drawn(InvertedGlyph);
}

bool ButtonType::BlinkMode() const
{
    return frame_.Keys[index_].BlinkMode;
}
int ButtonType::GroupIndex() const
{
    return frame_.Keys[index_].Group;
}
bool ButtonType::Down() const
{
    return frame_.Keys[index_].Down;
}
bool ButtonType::ShowsInvertedGlyph() const
{
    return frame_.Keys[index_].Inverted;
}

void ButtonType::SetHighlight(bool on)
{
    frame_.Keys.SetHighlight(index_, on);
}

void ButtonType::SetShade(std::optional<QColor> shade)
{
    shade_ = shade;
    update();
}

void ButtonType::paintEvent(QPaintEvent*)
{
    // Drawn the same when the frame is disabled: the keyboard only shows.
    QPainter painter(this);
    const QColor& color = shade_ ? *shade_ : color_;
    painter.fillRect(rect(), color);
    const QImage& face = ShowsInvertedGlyph() ? invertedDrawn_ : normalDrawn_;
    if (!face.isNull()) {
        QPoint at((width() - face.width()) / 2, (height() - face.height()) / 2);
        if (Down())
            at += QPoint(1, 1);
        painter.drawImage(at, face);
    }
    DrawBevel(painter, rect(), color, Down());
}

TKbFm::TKbFm(const TDataMod& dataMod, const TCodePage& codePage, QWidget* parent)
    : QWidget(parent), data_(dataMod), codePage_(codePage)
{
    setObjectName(QStringLiteral("KbFrame"));
    setAutoFillBackground(true);
    Keys.OnChange = [this](std::size_t button) { buttons_[button]->update(); };
}

TKbFm::~TKbFm()
{
    ClearKeys();
}

void TKbFm::ClearKeys()
{
    while (!buttons_.empty()) {
        delete buttons_.back();
        buttons_.pop_back();
    }
    Keys.Clear();
}

void TKbFm::FitToKeys()
{
    SetColor();
    const TFrameSize size = ::FitToKeys(KeyExtent());
    resize(size.Width, size.Height);
}

TKeyExtent TKbFm::KeyExtent() const
{
    return ::KeyExtent(data_.MainTbl());
}

void TKbFm::BuildKeys(bool blinking)
{
    SetColor();
    const TTable& keys = data_.MainTbl();
    Keys.Build(keys, blinking);
    buttons_.reserve(Keys.Count());
    for (std::size_t row = 0; row < keys.RowCount(); ++row) {
        const TKeyRow key = KeyRowOf(keys, row);
        auto* button = new ButtonType(*this, buttons_.size(), key);
        button->setToolTip(ToQString(key.Hint, codePage_));
        button->show();
        buttons_.push_back(button);
    }
}

TFoundKey TKbFm::FindKey(unsigned char code)
{
    return Keys.FindKey(data_, code);
}

void TKbFm::SetColor()
{
    QPalette colors = palette();
    colors.setColor(QPalette::Window, ToQColor(data_.BkColor));
    setPalette(colors);
}
