// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/TemplateBounds.h"

#include "base/Errors.h"
#include "base/Translate.h"

#include <cstdlib>

namespace {

constexpr std::string_view PngSignature("\x89PNG\r\n\x1a\n", 8);
constexpr std::string_view BmpSignature("BM", 2);

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::optional<TPictureSize> PngSize(std::string_view png)
{
    // Signature, then the IHDR chunk: length, type, width, height.
    if (png.size() < 24 || png.substr(12, 4) != "IHDR")
        return std::nullopt;
    return TPictureSize{BigEndian32(png, 16), BigEndian32(png, 20)};
}

std::optional<TPictureSize> BmpSize(std::string_view bmp)
{
    // File header of 14 bytes, then an info header that starts with its size.
    if (bmp.size() < 18)
        return std::nullopt;
    const std::uint32_t infoSize = LittleEndian(bmp, 14, 4);
    if (infoSize == 12 && bmp.size() >= 22) // the oldest header: 16-bit sizes
        return TPictureSize{LittleEndian(bmp, 18, 2), LittleEndian(bmp, 20, 2)};
    if (infoSize < 40 || bmp.size() < 26)
        return std::nullopt;
    // A negative height stores the rows top down.
    const auto width = static_cast<std::int32_t>(LittleEndian(bmp, 18, 4));
    const auto height = static_cast<std::int32_t>(LittleEndian(bmp, 22, 4));
    return TPictureSize{std::llabs(width), std::llabs(height)};
}

bool Within(std::int64_t value, std::int64_t low, std::int64_t high)
{
    return value >= low && value <= high;
}

} // namespace

TPictureFormat PictureFormat(std::string_view picture)
{
    if (picture.starts_with(PngSignature))
        return TPictureFormat::Png;
    if (picture.starts_with(BmpSignature))
        return TPictureFormat::Bmp;
    return TPictureFormat::None;
}

std::optional<TPictureSize> PictureSize(std::string_view picture)
{
    switch (PictureFormat(picture)) {
    case TPictureFormat::Png:
        return PngSize(picture);
    case TPictureFormat::Bmp:
        return BmpSize(picture);
    case TPictureFormat::None:
        break;
    }
    return std::nullopt;
}

std::optional<std::string> KeyOutOfBounds(const TKeyRow& key)
{
    const std::int64_t width = key.Width, height = key.Height, x = key.X, y = key.Y;
    if (!Within(width, 0, MaxKeyboardExtent) || !Within(height, 0, MaxKeyboardExtent) ||
        !Within(x, -MaxKeyboardExtent, MaxKeyboardExtent - width) ||
        !Within(y, -MaxKeyboardExtent, MaxKeyboardExtent - height))
        return Format(_("the key \"%s\" has a size or place beyond %d pixels"), key.Name.c_str(),
                      MaxKeyboardExtent);
    if (const std::optional<TPictureSize> face = PictureSize(key.Glyph)) {
        if (!Within(face->Width, 0, std::min<std::int64_t>(width + FaceMargin, MaxFaceSide)) ||
            !Within(face->Height, 0, std::min<std::int64_t>(height + FaceMargin, MaxFaceSide)))
            return Format(_("the face of the key \"%s\" is larger than the key"), key.Name.c_str());
    }
    return std::nullopt;
}

std::optional<std::string> FingerLengthOutOfBounds(TFingerName finger, std::int32_t length)
{
    if (Within(length, -MaxFingerLength, MaxFingerLength))
        return std::nullopt;
    const std::string name(FingerNames[static_cast<std::size_t>(finger)]);
    return Format(_("the finger length %s=%d lies beyond %d pixels"), name.c_str(), length,
                  MaxFingerLength);
}
