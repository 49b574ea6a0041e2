// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Colors.h"

#include <QColor>
#include <QString>

#include <string>

class TCodePage;

// Conversions at the edge between the toolkit-free logic (8-bit text,
// 0x00BBGGRR colours) and the windows.
QString ToQString(const std::string& bytes, const TCodePage& codePage);
std::string FromQString(const QString& text, const TCodePage& codePage);

// The key code a typed character has in the code page: 0..255, or
// KeyUnmappable when the code page cannot hold it.
int CharacterCode(char32_t ch, const TCodePage& codePage);

// System colours resolve through the application's palette.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
