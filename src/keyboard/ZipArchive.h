// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct zip;

// Reads named members of a zip archive whole. The archive is taken as zip
// whatever its name; a member is found by its exact name.
class TZipReader
{
public:
    // A larger member is refused from the size the archive states, before
    // anything of it is inflated.
    static constexpr std::uint64_t MaxMemberSize = std::uint64_t{16} << 20;

    // nullopt when the file cannot be opened as a zip archive.
    static std::optional<TZipReader> OpenFile(const std::string& path);
    // The bytes must outlive the reader.
    static std::optional<TZipReader> OpenMemory(std::string_view bytes);

    // nullopt when the member is missing, larger than MaxMemberSize,
    // encrypted, compressed in a way the reader does not know, or its data
    // do not match the size and checksum the archive states.
    std::optional<std::string> ReadMember(const std::string& name) const;

private:
    struct Closer
    {
        void operator()(zip* archive) const;
    };
    std::unique_ptr<zip, Closer> archive_;

    explicit TZipReader(zip* archive) : archive_(archive) {}
};

// A zip archive in memory of the given (name, content) members in that
// order, deflated. Throws std::runtime_error when the zip library fails.
std::string WriteZip(const std::vector<std::pair<std::string, std::string>>& members);
