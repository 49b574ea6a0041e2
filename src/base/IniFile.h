// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/IniDocument.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// An INI file on disk, worked on by name: every read reads the file, every
// write is seen by the next read. Reading a missing file, section or key
// gives the caller's default and creates nothing.
//
// A write replaces the file atomically (temporary file in the same folder,
// flushed, renamed over it), so a crash never leaves a half-written file. The
// writers of a folder take turns by locking one lock file in it, which works
// on network file systems too, so two programs writing at once never lose
// each other's changes; a writer waits for its turn a bounded time. A failed
// write leaves the old file as it was and throws TError "Unable to write to
// %s"; so does a file that may not be written (no write permission).
class TIniFile
{
public:
    explicit TIniFile(std::string path) : path_(std::move(path)) {}
    const std::string& FileName() const { return path_; }

    static constexpr std::chrono::milliseconds DefaultLockWait{5000};
    // How long a write waits for another program's write in the same folder.
    void SetLockWait(std::chrono::milliseconds wait) { lockWait_ = wait; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    // An empty, malformed or out-of-range value gives the default.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t def) const;
    // An integer read with default 1 or 0; true when non-zero.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    bool SectionExists(std::string_view section) const;
    std::vector<std::string> ReadSections() const;
    std::vector<TKeyValue> ReadSectionValues(std::string_view section) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    void EraseSection(std::string_view section);

    // One read-modify-write: the file is re-read under the lock, changed by
    // edit and written once. An edit that changes nothing writes nothing.
    void Update(const std::function<void(TIniDocument&)>& edit);

    // The whole file as a document; an empty one when the file is missing.
    // Throws TError when the file exists but cannot be read.
    TIniDocument Read() const;

private:
    std::string path_;
    std::chrono::milliseconds lockWait_ = DefaultLockWait;
};
