// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WholeNumber.h"

#include <algorithm>

bool IsWholeNumberEntry(std::string_view text)
{
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}
