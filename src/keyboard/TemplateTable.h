// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class TCodePage;

// The column types a template table can hold, with their names in the XML
// data packet: "string", "i4", "boolean", "bin.hex".
enum class TFieldType
{
    String,
    Integer,
    Boolean,
    Blob
};

struct TField
{
    std::string Name{}; // also the attribute name of its values in a row
    TFieldType Type = TFieldType::String;
    std::int32_t Width = 0; // String only: the most characters a value may hold
    bool Required = false;  // carried along; a missing value still reads as null
    std::string SubType{};  // carried along, e.g. "Graphics" for a picture

    bool operator==(const TField&) const = default;
};

// String fields hold text in the 8-bit code page, Blob fields raw bytes.
// A null value is 0, false or empty.
using TValue = std::variant<std::int32_t, bool, std::string>;

// A table of a keyboard template: its field structure and rows, in memory
// and as an XML data packet.
//
// Reading takes whatever structure the packet declares. It fails (nullopt)
// for anything but a well-formed packet whose values all fit their fields:
// field types other than the four above, a string field without a positive
// WIDTH, duplicate field names, a field name that cannot be an XML attribute
// name, an integer outside 32 bits, a boolean other than "TRUE" or "FALSE",
// bad base64, a text longer than its field's WIDTH, a value given twice in
// a row, or more than MaxCells values in all. Row attributes that name no
// field are ignored.
class TTable
{
public:
    // Rows times fields; keeps a small hostile packet (many fields, many
    // empty rows) from claiming gigabytes.
    static constexpr std::size_t MaxCells = std::size_t{1} << 20;

    TTable() = default;
    // Throws std::invalid_argument for duplicate names, a name that is not
    // an XML name, or a string field without a positive width.
    explicit TTable(std::vector<TField> fields);

    // Strings are converted between UTF-8 and the code page.
    static std::optional<TTable> FromXml(std::string_view xml, const TCodePage& codePage);
    std::string ToXml(const TCodePage& codePage) const;

    // Same fields and the same rows in the same order.
    bool operator==(const TTable& other) const
    {
        return fields_ == other.fields_ && rows_ == other.rows_;
    }

    const std::vector<TField>& Fields() const { return fields_; }
    std::optional<std::size_t> FieldIndex(std::string_view name) const;
    bool HasField(std::string_view name, TFieldType type) const;

    std::size_t RowCount() const { return rows_.size(); }
    const TValue& Value(std::size_t row, std::size_t field) const;

    // Typed reads by field name; std::invalid_argument for a missing field
    // or one of another type (String serves String and Blob fields),
    // std::out_of_range for a row that does not exist.
    std::int32_t Integer(std::size_t row, std::string_view field) const;
    bool Boolean(std::size_t row, std::string_view field) const;
    const std::string& String(std::size_t row, std::string_view field) const;

    // A row of null values at the end; returns its index.
    std::size_t AppendRow();
    // std::invalid_argument for a missing field, a value of another type, a
    // text longer than the field's width or holding a NUL byte (which the
    // XML could not carry); std::out_of_range for a row that does not exist.
    void SetValue(std::size_t row, std::string_view field, TValue value);

    // Stable: rows with equal values keep their order. Integers sort by
    // value, strings by their unsigned bytes, false before true.
    void SortBy(std::string_view field);

    // The first row whose integer field equals value.
    std::optional<std::size_t> FindFirst(std::string_view field, std::int32_t value) const;

private:
    std::vector<TField> fields_;
    std::map<std::string, std::size_t, std::less<>> index_; // field name to position
    std::vector<std::vector<TValue>> rows_;

    // The position of a field; std::invalid_argument when there is none.
    std::size_t FieldOf(std::string_view name) const;
};
