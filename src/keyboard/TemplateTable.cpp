// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/TemplateTable.h"

#include "base/CodePage.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iterator>
#include <pugixml.hpp>
#include <sstream>
#include <stdexcept>

namespace {

struct TypeName
{
    TFieldType type;
    std::string_view name;
};
constexpr std::array<TypeName, 4> TypeNames = {{
    {TFieldType::String, "string"},
    {TFieldType::Integer, "i4"},
    {TFieldType::Boolean, "boolean"},
    {TFieldType::Blob, "bin.hex"},
}};

std::optional<TFieldType> TypeOf(std::string_view name)
{
    for (const TypeName& t : TypeNames)
        if (t.name == name)
            return t.type;
    return std::nullopt;
}

const char* NameOf(TFieldType type)
{
    for (const TypeName& t : TypeNames)
        if (t.type == type)
            return t.name.data();
    return "";
}

std::optional<std::int32_t> ParseI4(std::string_view text)
{
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

// The XML attribute names a field name may be: ASCII letters, digits and
// "_-." (not leading with a digit, "-" or "."), and any UTF-8 bytes.
bool IsXmlName(std::string_view name)
{
    const auto nameStart = [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
    };
    const auto nameChar = [&](unsigned char c) {
        return nameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
    };
    return !name.empty() && nameStart(static_cast<unsigned char>(name.front())) &&
           std::all_of(name.begin(), name.end(),
                       [&](char c) { return nameChar(static_cast<unsigned char>(c)); });
}

bool ValidFields(const std::vector<TField>& fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const TField& f = fields[i];
        if (!IsXmlName(f.Name) || (f.Type == TFieldType::String && f.Width <= 0))
            return false;
        for (std::size_t j = 0; j < i; ++j)
            if (fields[j].Name == f.Name)
                return false;
    }
    return true;
}

TValue NullOf(TFieldType type)
{
    switch (type) {
    case TFieldType::Integer:
        return std::int32_t{0};
    case TFieldType::Boolean:
        return false;
    case TFieldType::String:
    case TFieldType::Blob:
        break;
    }
    return std::string();
}

bool Fits(const TField& field, const TValue& value)
{
    switch (field.Type) {
    case TFieldType::Integer:
        return std::holds_alternative<std::int32_t>(value);
    case TFieldType::Boolean:
        return std::holds_alternative<bool>(value);
    case TFieldType::String: {
        const std::string* text = std::get_if<std::string>(&value);
        return text && text->size() <= static_cast<std::size_t>(field.Width) &&
               text->find('\0') == std::string::npos;
    }
    case TFieldType::Blob:
        return std::holds_alternative<std::string>(value);
    }
    return false;
}

constexpr std::string_view Base64Digits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string EncodeBase64(std::string_view bytes)
{
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= n ? Base64Digits[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return out;
}

// Blanks and line breaks between the digits are allowed; padding only at
// the very end.
std::optional<std::string> DecodeBase64(std::string_view text)
{
    std::string out;
    std::uint32_t group = 0;
    int digits = 0;  // in the current group of four
    int padding = 0; // "=" seen so far
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            continue;
        if (c == '=') {
            if (digits + padding < 2 || ++padding > 2)
                return std::nullopt;
            continue;
        }
        const std::size_t digit = Base64Digits.find(c);
        if (digit == std::string_view::npos || padding > 0)
            return std::nullopt;
        group = (group << 6) | static_cast<std::uint32_t>(digit);
        if (++digits == 4) {
            out += static_cast<char>(group >> 16);
            out += static_cast<char>(group >> 8);
            out += static_cast<char>(group);
            group = 0;
            digits = 0;
        }
    }
    if (digits + padding != 0 && digits + padding != 4)
        return std::nullopt;
    if (digits >= 2)
        out += static_cast<char>(group >> (digits == 2 ? 4 : 10));
    if (digits == 3)
        out += static_cast<char>(group >> 2);
    return out;
}

std::optional<TValue> ParseValue(const TField& field, std::string_view text,
                                 const TCodePage& codePage)
{
    switch (field.Type) {
    case TFieldType::Integer:
        if (const auto value = ParseI4(text))
            return *value;
        return std::nullopt;
    case TFieldType::Boolean:
        if (text == "TRUE" || text == "FALSE")
            return text == "TRUE";
        return std::nullopt;
    case TFieldType::String: {
        TValue value = codePage.FromUtf8(text);
        if (!Fits(field, value))
            return std::nullopt;
        return value;
    }
    case TFieldType::Blob:
        if (auto bytes = DecodeBase64(text))
            return std::move(*bytes);
        return std::nullopt;
    }
    return std::nullopt;
}

std::string FormatValue(const TValue& value, TFieldType type, const TCodePage& codePage)
{
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return std::to_string(*number);
    if (const auto* flag = std::get_if<bool>(&value))
        return *flag ? "TRUE" : "FALSE";
    const std::string& text = std::get<std::string>(value);
    return type == TFieldType::Blob ? EncodeBase64(text) : codePage.ToUtf8(text);
}

} // namespace

TTable::TTable(std::vector<TField> fields) : fields_(std::move(fields))
{
    if (!ValidFields(fields_))
        throw std::invalid_argument("invalid table fields");
    for (std::size_t i = 0; i < fields_.size(); ++i)
        index_.emplace(fields_[i].Name, i);
}

std::optional<TTable> TTable::FromXml(std::string_view xml, const TCodePage& codePage)
{
    pugi::xml_document doc;
    if (!doc.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8))
        return std::nullopt;
    const pugi::xml_node packet = doc.child("DATAPACKET");
    const pugi::xml_node fieldList = packet.child("METADATA").child("FIELDS");
    const pugi::xml_node rowData = packet.child("ROWDATA");
    if (!fieldList || !rowData)
        return std::nullopt;

    std::vector<TField> fields;
    for (const pugi::xml_node node : fieldList.children("FIELD")) {
        TField field;
        field.Name = node.attribute("attrname").value();
        const std::optional<TFieldType> type = TypeOf(node.attribute("fieldtype").value());
        if (!type)
            return std::nullopt;
        field.Type = *type;
        if (field.Type == TFieldType::String) {
            const auto width = ParseI4(node.attribute("WIDTH").value());
            if (!width)
                return std::nullopt;
            field.Width = *width;
        }
        field.Required = node.attribute("required").as_bool();
        field.SubType = node.attribute("SUBTYPE").value();
        fields.push_back(std::move(field));
    }
    if (!ValidFields(fields))
        return std::nullopt;
    TTable table(std::move(fields));

    const auto rows = rowData.children("ROW");
    const auto rowCount = static_cast<std::size_t>(std::distance(rows.begin(), rows.end()));
    if (rowCount > MaxCells / std::max<std::size_t>(table.fields_.size(), 1))
        return std::nullopt;
    table.rows_.reserve(rowCount);
    std::vector<bool> given(table.fields_.size());
    for (const pugi::xml_node row : rows) {
        std::vector<TValue>& values = table.rows_[table.AppendRow()];
        std::fill(given.begin(), given.end(), false);
        for (const pugi::xml_attribute attr : row.attributes()) {
            const auto found = table.index_.find(std::string_view(attr.name()));
            if (found == table.index_.end())
                continue;
            const std::size_t i = found->second;
            if (given[i])
                return std::nullopt;
            given[i] = true;
            std::optional<TValue> value = ParseValue(table.fields_[i], attr.value(), codePage);
            if (!value)
                return std::nullopt;
            values[i] = std::move(*value);
        }
    }
    return table;
}

std::string TTable::ToXml(const TCodePage& codePage) const
{
    pugi::xml_document doc;
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("standalone") = "yes";
    pugi::xml_node packet = doc.append_child("DATAPACKET");
    packet.append_attribute("Version") = "2.0";
    pugi::xml_node fieldList = packet.append_child("METADATA").append_child("FIELDS");
    for (const TField& field : fields_) {
        pugi::xml_node node = fieldList.append_child("FIELD");
        node.append_attribute("attrname") = field.Name.c_str();
        node.append_attribute("fieldtype") = NameOf(field.Type);
        if (field.Type == TFieldType::String)
            node.append_attribute("WIDTH") = field.Width;
        if (field.Required)
            node.append_attribute("required") = "true";
        if (!field.SubType.empty())
            node.append_attribute("SUBTYPE") = field.SubType.c_str();
    }
    pugi::xml_node rowData = packet.append_child("ROWDATA");
    for (const std::vector<TValue>& values : rows_) {
        pugi::xml_node row = rowData.append_child("ROW");
        for (std::size_t i = 0; i < fields_.size(); ++i)
            row.append_attribute(fields_[i].Name.c_str()) =
                FormatValue(values[i], fields_[i].Type, codePage).c_str();
    }
    std::ostringstream out;
    doc.save(out, " ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

std::optional<std::size_t> TTable::FieldIndex(std::string_view name) const
{
    const auto found = index_.find(name);
    if (found == index_.end())
        return std::nullopt;
    return found->second;
}

bool TTable::HasField(std::string_view name, TFieldType type) const
{
    const std::optional<std::size_t> i = FieldIndex(name);
    return i && fields_[*i].Type == type;
}

std::size_t TTable::FieldOf(std::string_view name) const
{
    if (const std::optional<std::size_t> i = FieldIndex(name))
        return *i;
    throw std::invalid_argument("no table field " + std::string(name));
}

const TValue& TTable::Value(std::size_t row, std::size_t field) const
{
    return rows_.at(row).at(field);
}

std::int32_t TTable::Integer(std::size_t row, std::string_view field) const
{
    const std::int32_t* value = std::get_if<std::int32_t>(&Value(row, FieldOf(field)));
    if (!value)
        throw std::invalid_argument("not an integer field: " + std::string(field));
    return *value;
}

bool TTable::Boolean(std::size_t row, std::string_view field) const
{
    const bool* value = std::get_if<bool>(&Value(row, FieldOf(field)));
    if (!value)
        throw std::invalid_argument("not a boolean field: " + std::string(field));
    return *value;
}

const std::string& TTable::String(std::size_t row, std::string_view field) const
{
    const std::string* value = std::get_if<std::string>(&Value(row, FieldOf(field)));
    if (!value)
        throw std::invalid_argument("not a string field: " + std::string(field));
    return *value;
}

std::size_t TTable::AppendRow()
{
    std::vector<TValue>& values = rows_.emplace_back();
    for (const TField& field : fields_)
        values.push_back(NullOf(field.Type));
    return rows_.size() - 1;
}

void TTable::SetValue(std::size_t row, std::string_view field, TValue value)
{
    const std::size_t i = FieldOf(field);
    if (!Fits(fields_[i], value))
        throw std::invalid_argument("value does not fit table field " + std::string(field));
    rows_.at(row)[i] = std::move(value);
}

void TTable::SortBy(std::string_view field)
{
    const std::size_t i = FieldOf(field);
    std::stable_sort(
        rows_.begin(), rows_.end(),
        [i](const std::vector<TValue>& a, const std::vector<TValue>& b) { return a[i] < b[i]; });
}

std::optional<std::size_t> TTable::FindFirst(std::string_view field, std::int32_t value) const
{
    const std::size_t i = FieldOf(field);
    if (fields_[i].Type != TFieldType::Integer)
        throw std::invalid_argument("not an integer field: " + std::string(field));
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (std::get<std::int32_t>(rows_[row][i]) == value)
            return row;
    return std::nullopt;
}
