// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "keyboard/MainData.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Bounds of a usable keyboard template. A hostile one could otherwise ask for
// key faces that decode to hundreds of megabytes, a keyboard or hands window
// of any size, or sums of its numbers beyond 32 bits.
inline constexpr std::int32_t MaxKeyboardExtent = 4096; // pixels, keys' edges included
inline constexpr std::int32_t MaxFaceSide = 1024;       // pixels, whatever the key's size
inline constexpr std::int32_t FaceMargin = 16;          // a face may outgrow its key by this
inline constexpr std::int32_t MaxFingerLength = 400;    // pixels, either way

// The picture formats a key's face may be in; the windows decode no other.
enum class TPictureFormat
{
    None,
    Png,
    Bmp,
};
TPictureFormat PictureFormat(std::string_view picture);

struct TPictureSize
{
    std::int64_t Width = 0;
    std::int64_t Height = 0;
};
// The size a PNG or BMP picture's header gives; nullopt when there is no
// such header, so that the picture decodes to nothing.
std::optional<TPictureSize> PictureSize(std::string_view picture);

// Why a key breaks the bounds, as a translated text naming the key; nullopt
// when it keeps them.
std::optional<std::string> KeyOutOfBounds(const TKeyRow& key);
// The same for a finger length of the readme.
std::optional<std::string> FingerLengthOutOfBounds(TFingerName finger, std::int32_t length);
