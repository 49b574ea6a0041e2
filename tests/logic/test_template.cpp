// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestCodePage.h"
#include "TestTemplates.h"
#include "base/CodePage.h"
#include "keyboard/MainData.h"
#include "keyboard/ZipArchive.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string KeyXml(const std::vector<TKeyRow>& keys)
{
    return KeyTable(keys).ToXml(Cp1252());
}

std::string CharXml(const std::vector<TCharRow>& chars)
{
    return CharTable(chars).ToXml(Cp1252());
}

using Member = std::optional<std::string>;

// An archive of the members that are given.
std::string Archive(const Member& keys, const Member& chars, const Member& readme)
{
    std::vector<std::pair<std::string, std::string>> members;
    if (keys)
        members.emplace_back(KeyMember, *keys);
    if (chars)
        members.emplace_back(CharMember, *chars);
    if (readme)
        members.emplace_back(ReadmeMember, *readme);
    return WriteZip(members);
}

// Two templates that differ in every part.
const std::string KeysA = KeyXml({{.Name = "Q", .KeyValue = 81, .Finger = 0}});
const std::string CharsA = CharXml({{.Name = "q", .Code = 'q', .KeyNo = 81}});
const std::string ReadmeA = "bkcolor=111\nLLittle=5\nLLittleColor=7\n";
const std::string KeysB = KeyXml({{.Name = "W", .KeyValue = 87, .Finger = 1}});
const std::string CharsB = CharXml({{.Name = "w", .Code = 'w', .KeyNo = 87}});
const std::string ReadmeB = "bkcolor=222\nLLittle=6\nLLittleColor=8\n";

TDataMod Loaded(const std::string& archive)
{
    TDataMod data(Cp1252());
    EXPECT_TRUE(data.LoadTemplateFromMemory(archive));
    return data;
}

void ExpectSameReadme(const TDataMod& a, const TDataMod& b)
{
    EXPECT_EQ(a.BkColor, b.BkColor);
    EXPECT_EQ(a.FingerLength, b.FingerLength);
    EXPECT_EQ(a.FingerColor, b.FingerColor);
}

TEST(Template, StartsEmptyWithTheFieldsItReads)
{
    const TDataMod data(Cp1252());
    EXPECT_EQ(data.MainTbl(), NewKeyTable());
    EXPECT_EQ(data.Ctbl(), NewCharTable());
    EXPECT_EQ(data.MainTbl().RowCount(), 0u);
    EXPECT_EQ(data.BkColor, 0);
    EXPECT_EQ(data.FingerLength, (std::array<std::int32_t, FingerCount>{}));
    EXPECT_EQ(data.FindCharRow('a'), std::nullopt);
}

TEST(Template, ReadsAZipNamedLayoutTwtAndOrdersItsTables)
{
    // The key table's own structure: another field order and a field of its own.
    std::vector<TField> fields = NewKeyTable().Fields();
    std::reverse(fields.begin(), fields.end());
    fields.push_back({"Comment", TFieldType::String, 10, false, {}});
    TTable keys(fields);
    const std::string glyph("\x89PNG\r\n\x1a\n\0\xFF", 10);
    AppendKeyRow(keys, {.Name = "Space", .KeyValue = 32, .Finger = 5});
    AppendKeyRow(keys, {.Name = "A", .KeyValue = 65, .Finger = 0, .Glyph = glyph});
    AppendKeyRow(keys, {.Name = "Enter", .KeyValue = 13, .Finger = 9});
    AppendKeyRow(keys, {.Name = "A",
                        .KeyValue = 66,
                        .Hint = "Gr\xF6\xDF"
                                "e \x80"});
    const std::string chars = CharXml({{.Name = "e1", .Code = 101, .KeyNo = 1},
                                       {.Name = "A", .Code = 65, .KeyNo = 65, .Shift = true},
                                       {.Name = "e2", .Code = 101, .KeyNo = 2},
                                       {.Name = "space", .Code = 32, .KeyNo = 32}});

    std::string dir = (fs::temp_directory_path() / "tapwren-template-XXXXXX").string();
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    const std::string path = dir + "/layout.twt";
    std::ofstream(path, std::ios::binary)
        << Archive(keys.ToXml(Cp1252()), chars, "bkcolor=12632256\r\n");
    TDataMod data(Cp1252());
    const bool loaded = data.LoadTemplate(path);
    fs::remove_all(dir);
    ASSERT_TRUE(loaded);

    EXPECT_EQ(data.MainTbl().Fields(), fields);
    std::vector<std::pair<std::string, std::int32_t>> keyOrder;
    for (std::size_t row = 0; row < data.MainTbl().RowCount(); ++row)
        keyOrder.emplace_back(data.MainTbl().String(row, "Name"),
                              data.MainTbl().Integer(row, "KeyValue"));
    EXPECT_EQ(keyOrder, (std::vector<std::pair<std::string, std::int32_t>>{
                            {"A", 65}, {"A", 66}, {"Enter", 13}, {"Space", 32}}));
    EXPECT_EQ(KeyRowOf(data.MainTbl(), 0).Glyph, glyph);
    EXPECT_EQ(KeyRowOf(data.MainTbl(), 1).Hint, "Gr\xF6\xDF"
                                                "e \x80");

    std::vector<std::string> charOrder;
    for (std::size_t row = 0; row < data.Ctbl().RowCount(); ++row)
        charOrder.push_back(CharRowOf(data.Ctbl(), row).Name);
    EXPECT_EQ(charOrder, (std::vector<std::string>{"space", "A", "e1", "e2"}));
    EXPECT_EQ(data.BkColor, 12632256);
}

TEST(Template, FailsWhereAStepFailsAndKeepsWhatCameBefore)
{
    enum From
    {
        A,
        B
    };
    struct Case
    {
        const char* what;
        std::string archive;
        bool result;
        From keys, chars, readme;
    };
    TTable noKeyValue({{"Name", TFieldType::String, 20}, {"Finger", TFieldType::Integer}});
    std::vector<TField> fields = NewKeyTable().Fields();
    fields[4].Type = TFieldType::String;
    fields[4].Width = 2;
    const TTable fingerAsText(fields);
    const std::string garbage = "PK\x05\x06 but no zip at all";

    const std::vector<Case> cases = {
        {"complete", Archive(KeysB, CharsB, ReadmeB), true, B, B, B},
        {"not a zip", garbage, false, A, A, A},
        {"empty file", "", false, A, A, A},
        {"archive without members", WriteZip({}), false, A, A, A},
        {"no key table", Archive(std::nullopt, CharsB, ReadmeB), false, A, A, A},
        {"key table under another case",
         WriteZip({{"KEY.CDS", KeysB}, {CharMember, CharsB}, {ReadmeMember, ReadmeB}}), false, A, A,
         A},
        {"key table in a folder",
         WriteZip({{"x/key.cds", KeysB}, {CharMember, CharsB}, {ReadmeMember, ReadmeB}}), false, A,
         A, A},
        {"key table truncated", Archive(KeysB.substr(0, 200), CharsB, ReadmeB), false, A, A, A},
        {"key table without KeyValue", Archive(noKeyValue.ToXml(Cp1252()), CharsB, ReadmeB), false,
         A, A, A},
        {"Finger as text", Archive(fingerAsText.ToXml(Cp1252()), CharsB, ReadmeB), false, A, A, A},
        {"no character table", Archive(KeysB, std::nullopt, ReadmeB), false, B, A, A},
        {"key table as character table", Archive(KeysB, KeysB, ReadmeB), false, B, A, A},
        {"no readme", Archive(KeysB, CharsB, std::nullopt), false, B, B, A},
        {"no bkcolor", Archive(KeysB, CharsB, "LLittle=6\nLLittleColor=8"), false, B, B, A},
        {"bkcolor not an integer", Archive(KeysB, CharsB, "bkcolor=red\nLLittle=6"), false, B, B,
         A},
    };
    const TDataMod a = Loaded(Archive(KeysA, CharsA, ReadmeA));
    const TDataMod b = Loaded(Archive(KeysB, CharsB, ReadmeB));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDataMod data = Loaded(Archive(KeysA, CharsA, ReadmeA));
        EXPECT_EQ(data.LoadTemplateFromMemory(c.archive), c.result);
        EXPECT_EQ(data.MainTbl(), (c.keys == A ? a : b).MainTbl());
        EXPECT_EQ(data.Ctbl(), (c.chars == A ? a : b).Ctbl());
        ExpectSameReadme(data, c.readme == A ? a : b);
    }
    TDataMod data = Loaded(Archive(KeysA, CharsA, ReadmeA));
    EXPECT_FALSE(data.LoadTemplate("/nonexistent/layout.twt"));
    EXPECT_EQ(data.MainTbl(), a.MainTbl());
}

TEST(Template, ReadsBkcolorFromTheFirstLineOfThatName)
{
    struct Case
    {
        std::string readme;
        std::optional<TColor> bkColor; // nullopt: the load fails
    };
    const std::vector<Case> cases = {
        {"bkcolor=12632256\nBKCOLOR=0", 12632256},
        {"bkcolor =255", std::nullopt},
        {"bkcolor =255\r\nBkColor=7", 7},
        {"misc=1\rbkcolor=$FF", 255},
        {"bkcolor=-1", -1},
        {"bkcolor=255 ", std::nullopt},
        {"bkcolor=a=b\nbkcolor=5", std::nullopt},
        {"bkcolor\nbkcolor=5", 5},
        {"bkcolor=", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        TDataMod data(Cp1252());
        EXPECT_EQ(data.LoadTemplateFromMemory(Archive(KeysA, CharsA, c.readme)),
                  c.bkColor.has_value())
            << c.readme;
        EXPECT_EQ(data.BkColor, c.bkColor.value_or(0)) << c.readme;
    }
}

TEST(Template, ReadsFingerValuesByReadmeNameAndZeroesTheRest)
{
    std::string ones = "bkcolor=1\n";
    for (const std::string_view name : FingerNames)
        ones += std::string(name) + "=1\n" + std::string(name) + "Color=1\n";
    TDataMod data = Loaded(Archive(KeysA, CharsA, ones));

    ASSERT_TRUE(data.LoadTemplateFromMemory(
        Archive(KeysA, CharsA,
                "bkcolor=1\nLRing=abc\nLLittle=12\nlindex=-3\nRLittle=34\nLMiddlex=9\n"
                "RThumbColor=$FF0000\nRLittleColor=255\nRRing= 4\n")));
    std::array<std::int32_t, FingerCount> lengths{};
    lengths[LLittle] = 12;
    lengths[LIndex] = -3;
    lengths[RLittle] = 34;
    lengths[RRing] = 4;
    std::array<TColor, FingerCount> colors{};
    colors[RThumb] = 0xFF0000;
    colors[RLittle] = 255;
    EXPECT_EQ(data.FingerLength, lengths);
    EXPECT_EQ(data.FingerColor, colors);
}

TEST(Template, RefusesMembersOverSixteenMebibytes)
{
    const auto readmeOf = [](std::size_t size) {
        std::string readme = "bkcolor=9\n";
        readme.resize(size, 'x');
        return readme;
    };
    TDataMod data(Cp1252());
    EXPECT_TRUE(
        data.LoadTemplateFromMemory(Archive(KeysA, CharsA, readmeOf(TZipReader::MaxMemberSize))));
    EXPECT_EQ(data.BkColor, 9);
    EXPECT_FALSE(data.LoadTemplateFromMemory(
        Archive(KeysB, CharsB, "bkcolor=8\n" + std::string(TZipReader::MaxMemberSize, 'x'))));
    EXPECT_EQ(data.BkColor, 9);
    EXPECT_EQ(data.MainTbl(), Loaded(Archive(KeysB, CharsB, ReadmeB)).MainTbl());
}

// Sets the uncompressed size the archive states for a member, in its local
// header and in the central directory.
void StateSize(std::string& archive, const std::string& member, std::uint32_t size)
{
    const auto patch = [&](const char* signature, std::size_t nameLengthAt, std::size_t nameAt,
                           std::size_t sizeAt) {
        int patched = 0;
        for (std::size_t at = archive.find(signature); at != std::string::npos;
             at = archive.find(signature, at + 1)) {
            std::uint16_t nameLength;
            std::memcpy(&nameLength, archive.data() + at + nameLengthAt, 2);
            if (archive.compare(at + nameAt, nameLength, member) == 0) {
                std::memcpy(archive.data() + at + sizeAt, &size, 4);
                ++patched;
            }
        }
        ASSERT_EQ(patched, 1);
    };
    patch("PK\x03\x04", 26, 30, 22);
    patch("PK\x01\x02", 28, 46, 24);
}

TEST(Template, RefusesAMemberWhoseDataDoNotMatchItsStatedSize)
{
    const std::string readme = "bkcolor=1234567890";
    for (const std::uint32_t size : {10u, static_cast<std::uint32_t>(readme.size()) + 1u}) {
        std::string archive = Archive(KeysA, CharsA, readme);
        StateSize(archive, ReadmeMember, size);
        TDataMod data(Cp1252());
        EXPECT_FALSE(data.LoadTemplateFromMemory(archive)) << size;
        EXPECT_EQ(data.BkColor, 0) << size;
    }
}

TEST(Template, SurvivesDamagedArchives)
{
    const std::string good = Archive(KeysA, CharsA, ReadmeA);
    for (std::size_t size = 0; size < good.size(); ++size) {
        TDataMod data(Cp1252());
        EXPECT_FALSE(data.LoadTemplateFromMemory(good.substr(0, size))) << size;
    }
    for (std::size_t at = 0; at < good.size(); ++at) {
        std::string damaged = good;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
        TDataMod data(Cp1252());
        data.LoadTemplateFromMemory(damaged);
    }
}

} // namespace

namespace {

std::string PngHeader(std::uint32_t width, std::uint32_t height)
{
    std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (const std::uint32_t value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            png += static_cast<char>(value >> shift & 0xFF);
    return png + std::string("\x08\x06\0\0\0", 5);
}

std::string BmpHeader(std::int32_t width, std::int32_t height)
{
    std::string bmp = "BM" + std::string(12, '\0');
    for (const std::int32_t value : {40, width, height})
        for (int shift = 0; shift < 32; shift += 8)
            bmp += static_cast<char>(static_cast<std::uint32_t>(value) >> shift & 0xFF);
    return bmp;
}

struct HostileCase
{
    const char* Name;
    TKeyRow Key;
    std::string Readme;
    std::string Reason;
};

class HostileTemplate : public testing::TestWithParam<HostileCase>
{};

constexpr std::int32_t Int32Max = 2147483647;

const TKeyRow SaneKey{.Name = "Q", .KeyValue = 81, .Width = 40, .Height = 40, .X = 8, .Y = 8};

TKeyRow With(TKeyRow key, const std::function<void(TKeyRow&)>& change)
{
    change(key);
    return key;
}

const std::string FaceTooLarge = "the face of the key \"Q\" is larger than the key";
const std::string KeyBeyond = "the key \"Q\" has a size or place beyond 4096 pixels";

// A hostile template is refused whole: what the last template gave stays.
TEST_P(HostileTemplate, IsRefusedWithItsReasonAndLoadsNothing)
{
    const HostileCase& c = GetParam();
    TDataMod data = Loaded(Archive(KeysA, CharsA, ReadmeA));
    const TDataMod before = data;
    EXPECT_FALSE(
        data.LoadTemplateFromMemory(Archive(KeyXml({c.Key}), CharsB, "bkcolor=222\n" + c.Readme)));
    EXPECT_EQ(data.Refusal, c.Reason);
    EXPECT_EQ(data.MainTbl(), before.MainTbl());
    EXPECT_EQ(data.Ctbl(), before.Ctbl());
    ExpectSameReadme(data, before);

    ASSERT_TRUE(data.LoadTemplateFromMemory(Archive(KeysB, CharsB, ReadmeB)));
    EXPECT_EQ(data.Refusal, "");
}

INSTANTIATE_TEST_SUITE_P(
    Template, HostileTemplate,
    testing::Values(
        HostileCase{"HugeFace",
                    With(SaneKey, [](TKeyRow& k) { k.Glyph = PngHeader(30000, 30000); }), "",
                    FaceTooLarge},
        HostileCase{"FaceTallerThanKeyAndMargin",
                    With(SaneKey, [](TKeyRow& k) { k.Glyph = PngHeader(40, 57); }), "",
                    FaceTooLarge},
        HostileCase{"TopDownBitmapFace",
                    With(SaneKey, [](TKeyRow& k) { k.Glyph = BmpHeader(40, -5000); }), "",
                    FaceTooLarge},
        HostileCase{"FaceOfAHugeKeyBeyondTheCap",
                    With(SaneKey,
                         [](TKeyRow& k) {
                             k.Width = k.Height = 3000;
                             k.X = k.Y = 0;
                             k.Glyph = PngHeader(3000, 3000);
                         }),
                    "", FaceTooLarge},
        HostileCase{"WidthAtTheLimit", With(SaneKey, [](TKeyRow& k) { k.Width = Int32Max; }), "",
                    KeyBeyond},
        HostileCase{"NegativeHeight", With(SaneKey, [](TKeyRow& k) { k.Height = -1; }), "",
                    KeyBeyond},
        HostileCase{"RightEdgeOverflows", With(SaneKey, [](TKeyRow& k) { k.X = Int32Max - 10; }),
                    "", KeyBeyond},
        HostileCase{"FarAbove", With(SaneKey, [](TKeyRow& k) { k.Y = -Int32Max - 1; }), "",
                    KeyBeyond},
        HostileCase{"HugeMiddleFinger", SaneKey, "LMiddle=2147483647\n",
                    "the finger length LMiddle=2147483647 lies beyond 400 pixels"},
        HostileCase{"FingerFarBelow", SaneKey, "RThumb=-100000\n",
                    "the finger length RThumb=-100000 lies beyond 400 pixels"}),
    [](const testing::TestParamInfo<HostileCase>& c) { return std::string(c.param.Name); });

TEST(Template, FacesWithinTheirKeyAndMarginLoad)
{
    TDataMod data(Cp1252());
    const std::string readme = "bkcolor=1\nLMiddle=400\nRMiddle=-400\n";
    for (const std::string& face : {PngHeader(56, 56), BmpHeader(56, -56), PngHeader(0, 0),
                                    std::string("\x89PNG", 4), std::string("not a picture")}) {
        const TKeyRow key = With(SaneKey, [&face](TKeyRow& k) { k.Glyph = face; });
        EXPECT_TRUE(data.LoadTemplateFromMemory(Archive(KeyXml({key}), CharsA, readme)));
        EXPECT_EQ(data.Refusal, "");
    }
    const TKeyRow corner = With(SaneKey, [](TKeyRow& k) {
        k.X = k.Y = 4096 - 40;
        k.Glyph = PngHeader(1024, 1024);
        k.Width = k.Height = 40;
    });
    EXPECT_FALSE(data.LoadTemplateFromMemory(Archive(KeyXml({corner}), CharsA, readme)));
    const TKeyRow big = With(SaneKey, [](TKeyRow& k) {
        k.X = k.Y = 0;
        k.Width = k.Height = 4096;
        k.Glyph = PngHeader(1024, 1024);
    });
    EXPECT_TRUE(data.LoadTemplateFromMemory(Archive(KeyXml({big}), CharsA, readme)));
}

} // namespace
