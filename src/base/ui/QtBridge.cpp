// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ui/QtBridge.h"

#include "base/CodePage.h"
#include "drills/LineEngine.h"

#include <QGuiApplication>
#include <QPalette>

QString ToQString(const std::string& bytes, const TCodePage& codePage)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes) {
        const char32_t ch =
            codePage.ToUnicode(static_cast<unsigned char>(byte)).value_or(char32_t{0xFFFD});
        text += QString::fromUcs4(&ch, 1);
    }
    return text;
}

std::string FromQString(const QString& text, const TCodePage& codePage)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t ch : text.toUcs4())
        bytes += static_cast<char>(codePage.FromUnicode(ch).value_or('?'));
    return bytes;
}

int CharacterCode(char32_t ch, const TCodePage& codePage)
{
    const auto byte = codePage.FromUnicode(ch);
    return byte ? *byte : KeyUnmappable;
}

namespace {

QColor PaletteColor(int index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case COLOR_INFOBK:
        return palette.color(QPalette::ToolTipBase);
    case COLOR_INFOTEXT:
        return palette.color(QPalette::ToolTipText);
    case COLOR_WINDOW:
        return palette.color(QPalette::Base);
    case COLOR_WINDOWTEXT:
        return palette.color(QPalette::Text);
    case COLOR_HIGHLIGHT:
        return palette.color(QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT:
        return palette.color(QPalette::HighlightedText);
    case COLOR_BTNTEXT:
        return palette.color(QPalette::ButtonText);
    default:
        return palette.color(QPalette::Button);
    }
}

} // namespace

QColor ToQColor(TColor color)
{
    if (IsSystemColor(color))
        return PaletteColor(SystemColorIndex(color));
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

TColor FromQColor(const QColor& color)
{
    return RGBColor(color.red(), color.green(), color.blue());
}
