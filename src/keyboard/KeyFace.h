// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>

// A key's face picture as rows of 32-bit pixels 0xAARRGGBB, top row first,
// without padding between rows.
struct TFacePixels
{
    std::span<std::uint32_t> Pixels;
    int Width = 0;

    int Height() const { return Width > 0 ? static_cast<int>(Pixels.size()) / Width : 0; }
    std::uint32_t& At(int x, int y)
    {
        return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                      static_cast<std::size_t>(x)];
    }
};

// The grey that InvertGlyph leaves in the bottom-left pixel.
inline constexpr std::uint32_t InvertedKeyColor = 0x808080;

// The face's colour negative, each of red, green and blue negated; then the
// bottom-left pixel becomes InvertedKeyColor, so the negated background is
// drawn unless it is exactly that grey. Alpha is kept. An empty face stays.
void InvertGlyph(TFacePixels face);

// The colour (0xRRGGBB) of the bottom-left pixel, which a face takes as its
// transparent colour and its button as its own colour; none for an empty
// face.
std::optional<std::uint32_t> KeyColor(TFacePixels face);

// The face as drawn: pixels of its transparent colour become fully
// transparent (0), every other pixel opaque.
void MaskKeyColor(TFacePixels face);
