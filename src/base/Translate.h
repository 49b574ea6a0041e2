// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libintl.h>

// The program's texts live in the "tapwren" domain of the message catalogue.
// _() translates now; N_() marks a text for the catalogue that is translated
// later, where it is used.
#define _(text) gettext(text)
#define N_(text) (text)

inline constexpr const char* TextDomain = "tapwren";
