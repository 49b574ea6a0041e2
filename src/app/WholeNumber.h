// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// What a whole-number entry field accepts as its text: an optional leading
// sign, then digits only (an empty text is allowed while the user edits).
bool IsWholeNumberEntry(std::string_view text);
