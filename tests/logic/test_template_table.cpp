// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestCodePage.h"
#include "base/CodePage.h"
#include "keyboard/TemplateTable.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// A packet with one field of each type; rows are spliced in.
std::string Packet(const std::string& rows, const std::string& extraFields = "")
{
    return R"(<?xml version="1.0" standalone="yes"?>
<DATAPACKET Version="2.0"><METADATA><FIELDS>
<FIELD attrname="Name" fieldtype="string" WIDTH="4" required="true"/>
<FIELD attrname="N" fieldtype="i4"/>
<FIELD attrname="F" fieldtype="boolean"/>
<FIELD attrname="G" fieldtype="bin.hex" SUBTYPE="Graphics"/>)" +
           extraFields + R"(
</FIELDS><PARAMS LCID="1033"/></METADATA>
<ROWDATA>)" +
           rows + "</ROWDATA></DATAPACKET>";
}

TTable AllTypes()
{
    return TTable({{"Name", TFieldType::String, 16, true, {}},
                   {"N", TFieldType::Integer, 0, false, {}},
                   {"F", TFieldType::Boolean, 0, false, {}},
                   {"G", TFieldType::Blob, 0, false, "Graphics"}});
}

TEST(TemplateTable, ReadsValuesAndTakesAbsentOnesAsNull)
{
    const auto table = TTable::FromXml(Packet(R"(<ROW Name="Größ" N="-2147483648" F="TRUE" G="QUJD
RA==" RowState="4"/>
<ROW/>
<ROW N="2147483647" F="FALSE" G=""/>)"),
                                       Cp1252());
    ASSERT_TRUE(table);
    EXPECT_EQ(table->Fields(),
              (std::vector<TField>{{"Name", TFieldType::String, 4, true, {}},
                                   {"N", TFieldType::Integer, 0, false, {}},
                                   {"F", TFieldType::Boolean, 0, false, {}},
                                   {"G", TFieldType::Blob, 0, false, "Graphics"}}));
    ASSERT_EQ(table->RowCount(), 3u);
    // Four characters in UTF-8, four bytes in the code page: fits WIDTH 4.
    EXPECT_EQ(table->String(0, "Name"), "Gr\xF6\xDF");
    EXPECT_EQ(table->Integer(0, "N"), INT32_MIN);
    EXPECT_TRUE(table->Boolean(0, "F"));
    EXPECT_EQ(table->String(0, "G"), "ABCD");
    EXPECT_EQ(table->String(1, "Name"), "");
    EXPECT_EQ(table->Integer(1, "N"), 0);
    EXPECT_FALSE(table->Boolean(1, "F"));
    EXPECT_EQ(table->String(1, "G"), "");
    EXPECT_EQ(table->Integer(2, "N"), INT32_MAX);
}

TEST(TemplateTable, RefusesPacketsThatCannotBeLoaded)
{
    struct Case
    {
        const char* what;
        std::string xml;
    };
    const std::string good = Packet(R"(<ROW Name="a" N="1" F="TRUE" G="QQ=="/>)");
    const std::vector<Case> cases = {
        {"truncated", good.substr(0, good.size() - 10)},
        {"empty", ""},
        {"binary", std::string("PK\x03\x04\0\xFF\xFE", 7)},
        {"other root", "<DATA><METADATA><FIELDS/></METADATA><ROWDATA/></DATA>"},
        {"no ROWDATA", "<DATAPACKET><METADATA><FIELDS/></METADATA></DATAPACKET>"},
        {"no FIELDS", "<DATAPACKET><METADATA/><ROWDATA/></DATAPACKET>"},
        {"unknown type", Packet("", R"(<FIELD attrname="R" fieldtype="r8"/>)")},
        {"no type", Packet("", R"(<FIELD attrname="R"/>)")},
        {"string without width", Packet("", R"(<FIELD attrname="S" fieldtype="string"/>)")},
        {"width 0", Packet("", R"(<FIELD attrname="S" fieldtype="string" WIDTH="0"/>)")},
        {"duplicate field", Packet("", R"(<FIELD attrname="N" fieldtype="i4"/>)")},
        {"no field name", Packet("", R"(<FIELD fieldtype="i4"/>)")},
        {"name with blank", Packet("", R"(<FIELD attrname="Key Value" fieldtype="i4"/>)")},
        {"integer too large", Packet(R"(<ROW N="2147483648"/>)")},
        {"integer with letters", Packet(R"(<ROW N="12a"/>)")},
        {"integer with blank", Packet(R"(<ROW N=" 12"/>)")},
        {"empty integer", Packet(R"(<ROW N=""/>)")},
        {"boolean in lower case", Packet(R"(<ROW F="true"/>)")},
        {"boolean as digit", Packet(R"(<ROW F="1"/>)")},
        {"base64 unpadded", Packet(R"(<ROW G="QUI"/>)")},
        {"base64 bad digit", Packet(R"(<ROW G="QU*="/>)")},
        {"base64 data after padding", Packet(R"(<ROW G="QQ==QUJD"/>)")},
        {"text longer than width", Packet(R"(<ROW Name="abcde"/>)")},
        {"value given twice", Packet(R"(<ROW N="1" N="2"/>)")},
    };
    EXPECT_TRUE(TTable::FromXml(good, Cp1252()));
    for (const Case& c : cases)
        EXPECT_FALSE(TTable::FromXml(c.xml, Cp1252())) << c.what;
}

TEST(TemplateTable, WritesWhatItReadsBack)
{
    TTable table = AllTypes();
    std::string allBytes;
    for (int b = 0; b < 256; ++b)
        allBytes += static_cast<char>(b);
    const std::vector<TValue> texts = {std::string("\x80 \xE4\"<&>'"),
                                       std::string("tab\tline\ncr\r\x01"), std::string()};
    for (const TValue& text : texts) {
        const std::size_t row = table.AppendRow();
        table.SetValue(row, "Name", text);
        table.SetValue(row, "N", static_cast<std::int32_t>(row) - 1);
        table.SetValue(row, "F", row == 1);
        table.SetValue(row, "G", allBytes.substr(row));
    }
    const std::string xml = table.ToXml(Cp1252());
    EXPECT_NE(xml.find("\xE2\x82\xAC \xC3\xA4"), std::string::npos) << "UTF-8 in the packet";
    const auto again = TTable::FromXml(xml, Cp1252());
    ASSERT_TRUE(again);
    EXPECT_EQ(*again, table);
}

TEST(TemplateTable, RefusesBadStructureAndValuesWhenBuilt)
{
    EXPECT_THROW(TTable({{"A", TFieldType::Integer}, {"A", TFieldType::Boolean}}),
                 std::invalid_argument);
    EXPECT_THROW(TTable({{"S", TFieldType::String, 0}}), std::invalid_argument);
    EXPECT_THROW(TTable({{"1st", TFieldType::Integer}}), std::invalid_argument);

    struct Case
    {
        const char* field;
        TValue value;
    };
    const std::vector<Case> cases = {
        {"N", true},
        {"F", std::int32_t{1}},
        {"G", std::int32_t{1}},
        {"Name", std::string(17, 'x')},
        {"Name", std::string("a\0b", 3)},
        {"Missing", std::int32_t{1}},
    };
    TTable table = AllTypes();
    const std::size_t row = table.AppendRow();
    for (const Case& c : cases)
        EXPECT_THROW(table.SetValue(row, c.field, c.value), std::invalid_argument) << c.field;
    EXPECT_THROW(table.SetValue(row + 1, "N", std::int32_t{1}), std::out_of_range);
    EXPECT_THROW(table.Integer(row, "F"), std::invalid_argument);
    EXPECT_THROW(table.String(row, "N"), std::invalid_argument);
    EXPECT_THROW(table.FindFirst("Name", 0), std::invalid_argument);
    table.SetValue(row, "G", std::string("a\0b", 3));
    EXPECT_EQ(table.String(row, "G").size(), 3u);
}

TEST(TemplateTable, SortsStablyAndFindsTheFirstRow)
{
    TTable table = AllTypes();
    const std::vector<std::pair<std::string, std::int32_t>> rows = {
        {"b", 3}, {"\xE4", 1}, {"B", 2}, {"b", 1}, {"a", -5}, {"B", 1}};
    for (const auto& [name, n] : rows) {
        const std::size_t row = table.AppendRow();
        table.SetValue(row, "Name", name);
        table.SetValue(row, "N", n);
    }
    const auto column = [&table](const char* field) {
        std::vector<TValue> values;
        for (std::size_t row = 0; row < table.RowCount(); ++row)
            values.push_back(table.Value(row, *table.FieldIndex(field)));
        return values;
    };

    table.SortBy("Name");
    EXPECT_EQ(column("Name"),
              (std::vector<TValue>{std::string("B"), std::string("B"), std::string("a"),
                                   std::string("b"), std::string("b"), std::string("\xE4")}));
    EXPECT_EQ(column("N"), (std::vector<TValue>{2, 1, -5, 3, 1, 1}));
    EXPECT_EQ(table.FindFirst("N", 1), 1u);

    table.SortBy("N");
    EXPECT_EQ(column("Name"),
              (std::vector<TValue>{std::string("a"), std::string("B"), std::string("b"),
                                   std::string("\xE4"), std::string("B"), std::string("b")}));
    EXPECT_EQ(table.FindFirst("N", 1), 1u);
    EXPECT_EQ(table.FindFirst("N", 4), std::nullopt);
}

TEST(TemplateTable, RefusesMoreValuesThanTheLimit)
{
    // 1024 fields: the limit allows exactly 1024 rows.
    std::string fields;
    for (int i = 0; i < 1024; ++i)
        fields += "<FIELD attrname=\"F" + std::to_string(i) + "\" fieldtype=\"i4\"/>";
    const auto packet = [&fields](std::size_t rows) {
        std::string rowData;
        for (std::size_t i = 0; i < rows; ++i)
            rowData += "<ROW/>";
        return "<DATAPACKET><METADATA><FIELDS>" + fields + "</FIELDS></METADATA><ROWDATA>" +
               rowData + "</ROWDATA></DATAPACKET>";
    };
    EXPECT_TRUE(TTable::FromXml(packet(TTable::MaxCells / 1024), Cp1252()));
    EXPECT_FALSE(TTable::FromXml(packet(TTable::MaxCells / 1024 + 1), Cp1252()));
}

} // namespace
