// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/CodePage.h"
#include "base/Colors.h"
#include "keyboard/TemplateTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TZipReader;

// The members of a keyboard template archive.
inline constexpr const char* KeyMember = "key.cds";
inline constexpr const char* CharMember = "char.cds";
inline constexpr const char* ReadmeMember = "readme";

// The fingers by their readme names, in the order that indexes FingerLength
// and FingerColor. (The Finger of a key counts differently: 0 left little
// to 4 left thumb, 5 right thumb to 9 right little.)
enum TFingerName : int
{
    LLittle,
    LRing,
    LMiddle,
    LIndex,
    LThumb,
    RLittle,
    RRing,
    RMiddle,
    RIndex,
    RThumb,
};
inline constexpr std::size_t FingerCount = 10;
inline constexpr std::array<std::string_view, FingerCount> FingerNames = {
    "LLittle", "LRing", "LMiddle", "LIndex", "LThumb",
    "RLittle", "RRing", "RMiddle", "RIndex", "RThumb",
};

// One row of the key table. Glyph is the key's face as the bytes of a
// picture file (PNG or BMP), decoded only by a window.
struct TKeyRow
{
    std::string Name{};
    std::int32_t KeyValue = 0;
    std::int32_t KeyType = 0;
    std::int32_t KeyType2 = 0;
    std::int32_t Finger = 0;
    std::string Glyph{};
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::string Hint{};

    bool operator==(const TKeyRow&) const = default;
};

// One row of the character table.
struct TCharRow
{
    std::string Name{};
    std::int32_t Code = 0;
    std::int32_t KeyNo = 0;
    bool Shift = false;
    bool AltGr = false;
    std::int32_t Accent = 0;

    bool operator==(const TCharRow&) const = default;
};

// Empty tables with the fields the program reads, in their order.
TTable NewKeyTable();
TTable NewCharTable();

// Typed access by field name, for any table that has those fields (other
// fields are left null); std::invalid_argument otherwise.
TKeyRow KeyRowOf(const TTable& table, std::size_t row);
TCharRow CharRowOf(const TTable& table, std::size_t row);
void AppendKeyRow(TTable& table, const TKeyRow& key);
void AppendCharRow(TTable& table, const TCharRow& ch);

// The loaded keyboard template: the key table MainTbl ordered by Name, the
// character table Ctbl ordered by Code (both keep the archive's order among
// equal values), the keyboard's colour and each finger's length and colour.
// Before the first load both tables are empty and every value is 0.
class TDataMod
{
public:
    // Texts of the tables are turned into this code page.
    explicit TDataMod(const TCodePage& codePage = TCodePage());

    const TTable& MainTbl() const { return mainTbl_; }
    const TTable& Ctbl() const { return ctbl_; }
    TColor BkColor = 0;
    std::array<std::int32_t, FingerCount> FingerLength{};
    std::array<TColor, FingerCount> FingerColor{};
    // Why the last load refused the template as unusable (a translated
    // text); empty when it did not.
    std::string Refusal;

    // Reads the zip archive in the file, whatever its name; true when all of
    // it was read. Never throws. A failure (not a zip archive; a member
    // missing, refused or unreadable; a table that cannot be loaded; no
    // integer bkcolor in the readme) ends the load where it happens: a table
    // read before it stays replaced, everything else keeps its value. A
    // template beyond the bounds of TemplateBounds.h is refused whole, with
    // its reason in Refusal, and nothing of it is loaded.
    bool LoadTemplate(const std::string& fileName);
    // The same from an archive in memory.
    bool LoadTemplateFromMemory(std::string_view archive);

    // The first MainTbl row, in Name order, with that KeyValue.
    std::optional<std::size_t> FindKeyRow(std::int32_t keyValue) const;
    // The first Ctbl row, in Code order, with that Code.
    std::optional<std::size_t> FindCharRow(std::int32_t code) const;

private:
    TCodePage codePage_;
    TTable mainTbl_ = NewKeyTable();
    TTable ctbl_ = NewCharTable();

    bool Load(const TZipReader& kit);
    // Why the key table or the readme's values break the template's bounds.
    static std::optional<std::string>
    OutOfBounds(const std::optional<TTable>& keys,
                const std::vector<std::optional<std::string_view>>& readme);
    std::optional<TTable> ReadTable(const TZipReader& kit, const char* member,
                                    const TTable& shape) const;
};

// The run's one loaded template, created by the starter at the first logon
// and kept until the program ends; none before.
extern TDataMod* DataMod;
