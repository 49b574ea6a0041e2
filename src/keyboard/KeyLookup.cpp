// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyLookup.h"

#include "keyboard/MainData.h"

TFoundKey FindKey(const TDataMod& data, unsigned char code)
{
    const std::optional<std::size_t> ch = data.FindCharRow(code);
    if (!ch)
        return {};
    const std::optional<std::size_t> key = data.FindKeyRow(data.Ctbl().Integer(*ch, "KeyNo"));
    if (!key)
        return {};
    return {key, data.MainTbl().Integer(*key, "Finger")};
}
