// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/MainData.h"

#include "base/IniFile.h"
#include "base/TextCase.h"
#include "keyboard/KeyTypes.h"
#include "keyboard/TemplateBounds.h"
#include "keyboard/ZipArchive.h"

#include <algorithm>
#include <exception>
#include <vector>

TDataMod* DataMod = nullptr;

namespace {

TField Text(const char* name, std::int32_t width, bool required = false)
{
    return {name, TFieldType::String, width, required, {}};
}

TField Number(const char* name)
{
    return {name, TFieldType::Integer, 0, false, {}};
}

TField Flag(const char* name)
{
    return {name, TFieldType::Boolean, 0, false, {}};
}

// For each name, the value of the first line whose text before its first
// "=" is that name, case ignored; nothing is trimmed. Lines end at CR LF, LF
// or a lone CR. One pass, since a hostile readme may be 16 MiB.
std::vector<std::optional<std::string_view>> ReadmeValues(std::string_view text,
                                                          const std::vector<std::string>& names)
{
    std::vector<std::optional<std::string_view>> values(names.size());
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = begin;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const std::string_view line = text.substr(begin, end - begin);
        const std::size_t eq = line.find('=');
        if (eq != std::string_view::npos) {
            for (std::size_t i = 0; i < names.size(); ++i)
                if (!values[i] && SameText(line.substr(0, eq), names[i]))
                    values[i] = line.substr(eq + 1);
        }
        begin = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return values;
}

std::optional<std::int32_t> IntegerOf(const std::optional<std::string_view>& value)
{
    return value ? ParseInteger(*value) : std::nullopt;
}

} // namespace

TTable NewKeyTable()
{
    TField glyph{"Glyph", TFieldType::Blob, 0, false, "Graphics"};
    return TTable({Text("Name", KeyNameWidth, true), Number("KeyValue"), Number("KeyType"),
                   Number("KeyType2"), Number("Finger"), std::move(glyph), Number("Width"),
                   Number("Height"), Number("X"), Number("Y"), Text("Hint", HintWidth)});
}

TTable NewCharTable()
{
    return TTable({Text("Name", CharNameWidth), Number("Code"), Number("KeyNo"), Flag("Shift"),
                   Flag("AltGr"), Number("Accent")});
}

TKeyRow KeyRowOf(const TTable& table, std::size_t row)
{
    return {table.String(row, "Name"),     table.Integer(row, "KeyValue"),
            table.Integer(row, "KeyType"), table.Integer(row, "KeyType2"),
            table.Integer(row, "Finger"),  table.String(row, "Glyph"),
            table.Integer(row, "Width"),   table.Integer(row, "Height"),
            table.Integer(row, "X"),       table.Integer(row, "Y"),
            table.String(row, "Hint")};
}

TCharRow CharRowOf(const TTable& table, std::size_t row)
{
    return {table.String(row, "Name"),   table.Integer(row, "Code"),  table.Integer(row, "KeyNo"),
            table.Boolean(row, "Shift"), table.Boolean(row, "AltGr"), table.Integer(row, "Accent")};
}

void AppendKeyRow(TTable& table, const TKeyRow& key)
{
    const std::size_t row = table.AppendRow();
    table.SetValue(row, "Name", key.Name);
    table.SetValue(row, "KeyValue", key.KeyValue);
    table.SetValue(row, "KeyType", key.KeyType);
    table.SetValue(row, "KeyType2", key.KeyType2);
    table.SetValue(row, "Finger", key.Finger);
    table.SetValue(row, "Glyph", key.Glyph);
    table.SetValue(row, "Width", key.Width);
    table.SetValue(row, "Height", key.Height);
    table.SetValue(row, "X", key.X);
    table.SetValue(row, "Y", key.Y);
    table.SetValue(row, "Hint", key.Hint);
}

void AppendCharRow(TTable& table, const TCharRow& ch)
{
    const std::size_t row = table.AppendRow();
    table.SetValue(row, "Name", ch.Name);
    table.SetValue(row, "Code", ch.Code);
    table.SetValue(row, "KeyNo", ch.KeyNo);
    table.SetValue(row, "Shift", ch.Shift);
    table.SetValue(row, "AltGr", ch.AltGr);
    table.SetValue(row, "Accent", ch.Accent);
}

TDataMod::TDataMod(const TCodePage& codePage) : codePage_(codePage) {}

bool TDataMod::LoadTemplate(const std::string& fileName)
{
    try {
        const std::optional<TZipReader> kit = TZipReader::OpenFile(fileName);
        return kit && Load(*kit);
    } catch (const std::exception&) {
        // Memory running out on a hostile member is a failed load, too.
        return false;
    }
}

bool TDataMod::LoadTemplateFromMemory(std::string_view archive)
{
    try {
        const std::optional<TZipReader> kit = TZipReader::OpenMemory(archive);
        return kit && Load(*kit);
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<std::size_t> TDataMod::FindKeyRow(std::int32_t keyValue) const
{
    return mainTbl_.FindFirst("KeyValue", keyValue);
}

std::optional<std::size_t> TDataMod::FindCharRow(std::int32_t code) const
{
    return ctbl_.FindFirst("Code", code);
}

std::optional<TTable> TDataMod::ReadTable(const TZipReader& kit, const char* member,
                                          const TTable& shape) const
{
    const std::optional<std::string> xml = kit.ReadMember(member);
    if (!xml)
        return std::nullopt;
    std::optional<TTable> table = TTable::FromXml(*xml, codePage_);
    if (!table)
        return std::nullopt;
    for (const TField& field : shape.Fields())
        if (!table->HasField(field.Name, field.Type))
            return std::nullopt;
    return table;
}

bool TDataMod::Load(const TZipReader& kit)
{
    Refusal.clear();
    std::optional<TTable> keys = ReadTable(kit, KeyMember, NewKeyTable());
    std::optional<TTable> chars =
        keys ? ReadTable(kit, CharMember, NewCharTable()) : std::optional<TTable>();
    const std::optional<std::string> readme =
        chars ? kit.ReadMember(ReadmeMember) : std::optional<std::string>();
    // bkcolor, then the finger lengths, then the finger colours.
    std::vector<std::string> names = {"bkcolor"};
    for (const std::string_view finger : FingerNames)
        names.emplace_back(finger);
    for (const std::string_view finger : FingerNames)
        names.push_back(std::string(finger) + "Color");
    const std::vector<std::optional<std::string_view>> values =
        readme ? ReadmeValues(*readme, names) : std::vector<std::optional<std::string_view>>();

    // A template beyond the bounds is refused whole, before anything is replaced.
    if (const std::optional<std::string> why = OutOfBounds(keys, values)) {
        Refusal = *why;
        return false;
    }

    if (!keys)
        return false;
    keys->SortBy("Name");
    mainTbl_ = std::move(*keys);

    if (!chars)
        return false;
    chars->SortBy("Code");
    ctbl_ = std::move(*chars);

    if (!readme)
        return false;
    const std::optional<std::int32_t> bkColor = IntegerOf(values[0]);
    if (!bkColor)
        return false;
    BkColor = *bkColor;
    for (std::size_t i = 0; i < FingerCount; ++i) {
        FingerLength[i] = IntegerOf(values[1 + i]).value_or(0);
        FingerColor[i] = IntegerOf(values[1 + FingerCount + i]).value_or(0);
    }
    return true;
}

std::optional<std::string>
TDataMod::OutOfBounds(const std::optional<TTable>& keys,
                      const std::vector<std::optional<std::string_view>>& readme)
{
    if (keys)
        for (std::size_t row = 0; row < keys->RowCount(); ++row)
            if (std::optional<std::string> why = KeyOutOfBounds(KeyRowOf(*keys, row)))
                return why;
    if (!readme.empty())
        for (std::size_t i = 0; i < FingerCount; ++i)
            if (const std::optional<std::int32_t> length = IntegerOf(readme[1 + i]))
                if (std::optional<std::string> why =
                        FingerLengthOutOfBounds(static_cast<TFingerName>(i), *length))
                    return why;
    return std::nullopt;
}
