// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/CodePage.h"

// Windows-1252, the code page of the shipped data and of most test texts.
inline const TCodePage& Cp1252()
{
    static const TCodePage codePage(1252);
    return codePage;
}
