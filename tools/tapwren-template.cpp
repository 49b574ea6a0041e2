// SPDX-License-Identifier: GPL-3.0-or-later
// tapwren-template KEYBOARD OUTPUT
// Builds a keyboard template archive (layout.twt) from a keyboard
// description, drawing each key's face.
#include "base/CodePage.h"
#include "base/ui/QtBridge.h"
#include "keyboard/KeyboardDescription.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <cstdio>
#include <exception>

namespace {

// Room around the face for the border of the button it is drawn on.
constexpr int FaceMargin = 2;
constexpr int LabelMargin = 1;

// The text at the largest pixel size up to size that fits the area's width.
void DrawLabel(QPainter& painter, const QRect& area, Qt::Alignment alignment,
               const std::string& utf8, int size)
{
    if (utf8.empty())
        return;
    const QString text = QString::fromStdString(utf8);
    QFont font = painter.font();
    for (; size > 6; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(text) <= area.width())
            break;
    }
    painter.setFont(font);
    // The halves of a face are lower than a line; let descents overlap.
    painter.drawText(area, static_cast<int>(alignment | Qt::TextDontClip), text);
}

// A PNG of the key's face: its labels in black on its finger's colour. The
// Shift label goes top left over the base label, the AltGr label bottom
// right; a lone label is centred.
std::string DrawFace(const TKeyDescription& key, TColor face)
{
    const int width = key.Row.Width - 2 * FaceMargin;
    const int height = key.Row.Height - 2 * FaceMargin;
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    image.fill(ToQColor(face));
    {
        QPainter painter(&image);
        painter.setPen(Qt::black);
        painter.setFont(QFont(QStringLiteral("DejaVu Sans")));
        const QRect inner =
            image.rect().adjusted(LabelMargin, LabelMargin - 1, -LabelMargin, -LabelMargin);
        const QRect top(inner.left(), inner.top(), inner.width(), inner.height() / 2);
        const QRect bottom(inner.left(), top.bottom() + 1, inner.width(),
                           inner.height() - top.height());
        const int small = std::max(inner.height() / 2, 7);
        const int large = std::max(inner.height() * 2 / 3, 7);
        if (!key.ShiftLabel.empty()) {
            DrawLabel(painter, top, Qt::AlignLeft | Qt::AlignTop, key.ShiftLabel, small);
            DrawLabel(painter, bottom, Qt::AlignLeft | Qt::AlignBottom, key.Label, small);
        } else if (!key.AltGrLabel.empty()) {
            DrawLabel(painter, top, Qt::AlignLeft | Qt::AlignTop, key.Label, small);
        } else {
            DrawLabel(painter, inner, Qt::AlignCenter, key.Label, large);
        }
        DrawLabel(painter, bottom, Qt::AlignRight | Qt::AlignBottom, key.AltGrLabel, small);
    }
    // The keyboard takes this pixel's colour as the button's colour and as
    // the face's transparent colour.
    image.setPixelColor(0, image.height() - 1, ToQColor(face));
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    return png.data().toStdString();
}

int Fail(const QString& message)
{
    std::fprintf(stderr, "tapwren-template: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    // Faces are drawn into images only; there need not be a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tapwren-template KEYBOARD OUTPUT\n");
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);

    QFile file(input);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(input + ": " + file.errorString());
    const QByteArray text = file.readAll();

    std::string archive;
    try {
        const TCodePage codePage;
        TKeyboardDescription keyboard = ParseKeyboardDescription(
            std::string_view(text.constData(), static_cast<std::size_t>(text.size())), codePage);
        for (TKeyDescription& key : keyboard.Keys)
            key.Row.Glyph = DrawFace(key, keyboard.FingerColor[FingerIndex(key.Row.Finger)]);
        archive = TemplateArchive(keyboard, codePage);
    } catch (const std::exception& error) {
        return Fail(input + ": " + QString::fromUtf8(error.what()));
    }

    QDir().mkpath(QFileInfo(output).absolutePath());
    QSaveFile out(output);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(archive.data(), static_cast<qint64>(archive.size())) !=
            static_cast<qint64>(archive.size()) ||
        !out.commit())
        return Fail(output + ": " + out.errorString());
    return 0;
}
