// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TestCodePage.h"
#include "keyboard/MainData.h"
#include "keyboard/ZipArchive.h"

#include <string>
#include <vector>

// The template's tables holding these rows.
inline TTable KeyTable(const std::vector<TKeyRow>& keys)
{
    TTable table = NewKeyTable();
    for (const TKeyRow& key : keys)
        AppendKeyRow(table, key);
    return table;
}

inline TTable CharTable(const std::vector<TCharRow>& chars)
{
    TTable table = NewCharTable();
    for (const TCharRow& ch : chars)
        AppendCharRow(table, ch);
    return table;
}

// A template archive of these rows and readme, in code page 1252.
inline std::string TemplateZip(const std::vector<TKeyRow>& keys, const std::vector<TCharRow>& chars,
                               const std::string& readme)
{
    return WriteZip({{KeyMember, KeyTable(keys).ToXml(Cp1252())},
                     {CharMember, CharTable(chars).ToXml(Cp1252())},
                     {ReadmeMember, readme}});
}
