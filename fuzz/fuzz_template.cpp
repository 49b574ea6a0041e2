// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a keyboard template archive, as a key's face picture,
// as a table packet, and as the three members of an archive built around
// them. A failed load is the expected answer to malformed input; a crash, an
// exception, a loaded template beyond the bounds, a refused one that left
// anything, tables out of order, a lookup beyond the keys or a table that does
// not read back as it was written is a bug.
#include "base/CodePage.h"
#include "keyboard/KeyLookup.h"
#include "keyboard/MainData.h"
#include "keyboard/TemplateBounds.h"
#include "keyboard/TemplateTable.h"
#include "keyboard/ZipArchive.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

// Separates the members in the third reading of an input.
constexpr std::string_view MemberBreak("\0\1", 2);

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

const TCodePage& CodePage()
{
    static const TCodePage codePage;
    return codePage;
}

// A loaded template keeps the bounds; a refused one loads nothing.
void CheckBounds(const TDataMod& data, bool loaded)
{
    const TTable& keys = data.MainTbl();
    if (!data.Refusal.empty()) {
        Check(!loaded && keys.RowCount() == 0 && data.Ctbl().RowCount() == 0 && data.BkColor == 0);
        return;
    }
    if (!loaded)
        return;
    for (std::size_t row = 0; row < keys.RowCount(); ++row) {
        const TKeyRow key = KeyRowOf(keys, row);
        Check(!KeyOutOfBounds(key));
        Check(key.X + key.Width <= MaxKeyboardExtent && key.Y + key.Height <= MaxKeyboardExtent);
        if (const std::optional<TPictureSize> face = PictureSize(key.Glyph))
            Check(face->Width <= MaxFaceSide && face->Height <= MaxFaceSide);
    }
    for (const std::int32_t length : data.FingerLength)
        Check(length >= -MaxFingerLength && length <= MaxFingerLength);
}

// The header of any bytes read as a key's face.
void FuzzPicture(std::string_view bytes)
{
    if (const std::optional<TPictureSize> size = PictureSize(bytes))
        Check(size->Width >= 0 && size->Height >= 0 &&
              PictureFormat(bytes) != TPictureFormat::None);
}

// Whatever a load left behind, failed or not.
void CheckLoaded(const TDataMod& data)
{
    const TTable& keys = data.MainTbl();
    for (std::size_t row = 1; row < keys.RowCount(); ++row)
        Check(keys.String(row - 1, "Name") <= keys.String(row, "Name"));
    const TTable& chars = data.Ctbl();
    for (std::size_t row = 1; row < chars.RowCount(); ++row)
        Check(chars.Integer(row - 1, "Code") <= chars.Integer(row, "Code"));
    for (int code = 0; code < 256; ++code) {
        const TFoundKey found = FindKey(data, static_cast<unsigned char>(code));
        if (found.Button)
            Check(*found.Button < keys.RowCount() &&
                  found.Finger == keys.Integer(*found.Button, "Finger"));
        else
            Check(found.Finger == NoFinger);
    }
}

void FuzzArchive(std::string_view bytes)
{
    TDataMod data(CodePage());
    CheckBounds(data, data.LoadTemplateFromMemory(bytes));
    CheckLoaded(data);
}

void FuzzPacket(std::string_view bytes)
{
    const std::optional<TTable> table = TTable::FromXml(bytes, CodePage());
    if (!table)
        return;
    const std::optional<TTable> again = TTable::FromXml(table->ToXml(CodePage()), CodePage());
    Check(again && *again == *table);
}

void FuzzMembers(std::string_view bytes)
{
    const std::size_t first = bytes.find(MemberBreak);
    if (first == std::string_view::npos)
        return;
    const std::size_t second = bytes.find(MemberBreak, first + MemberBreak.size());
    if (second == std::string_view::npos)
        return;
    const std::string keys(bytes.substr(0, first));
    const std::string chars(
        bytes.substr(first + MemberBreak.size(), second - first - MemberBreak.size()));
    const std::string readme(bytes.substr(second + MemberBreak.size()));
    const std::string archive =
        WriteZip({{KeyMember, keys}, {CharMember, chars}, {ReadmeMember, readme}});
    TDataMod data(CodePage());
    CheckBounds(data, data.LoadTemplateFromMemory(archive));
    CheckLoaded(data);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FuzzArchive(bytes);
    FuzzPicture(bytes);
    FuzzPacket(bytes);
    FuzzMembers(bytes);
    return 0;
}
