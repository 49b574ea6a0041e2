// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The language of the message catalogue in force, as its header names it
// ("de"); empty when the built-in English texts apply.
std::string CatalogueLanguage();

// The local manual: <programDir>help/manual.<language>.html where that file
// exists (for "de_AT" also manual.de.html), otherwise the English
// <programDir>help/manual.html, whether it exists or not.
std::string ManualPath(const std::string& programDir, const std::string& language);
