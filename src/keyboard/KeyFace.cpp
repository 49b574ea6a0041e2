// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyFace.h"

namespace {

constexpr std::uint32_t ColorBits = 0xFFFFFF;
constexpr std::uint32_t Opaque = 0xFF000000;

} // namespace

void InvertGlyph(TFacePixels face)
{
    const int height = face.Height();
    if (height == 0)
        return;
    for (std::uint32_t& pixel : face.Pixels)
        pixel ^= ColorBits;
    std::uint32_t& bottomLeft = face.At(0, height - 1);
    bottomLeft = (bottomLeft & ~ColorBits) | InvertedKeyColor;
}

std::optional<std::uint32_t> KeyColor(TFacePixels face)
{
    const int height = face.Height();
    if (height == 0)
        return std::nullopt;
    return face.At(0, height - 1) & ColorBits;
}

void MaskKeyColor(TFacePixels face)
{
    const std::optional<std::uint32_t> transparent = KeyColor(face);
    if (!transparent)
        return;
    for (std::uint32_t& pixel : face.Pixels)
        pixel = (pixel & ColorBits) == *transparent ? 0 : pixel | Opaque;
}
