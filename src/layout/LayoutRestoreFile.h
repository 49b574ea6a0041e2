// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// What the desktop's keyboard layouts were before the program first switched
// them, kept in a small file until they are put back. A run that never puts
// them back (a crash, SIGKILL, a power cut) leaves the file, and the next
// start puts them back from it. One section per kind of desktop, so that a
// user who logs on to another desktop in between loses nothing.
class TLayoutRestoreFile
{
public:
    explicit TLayoutRestoreFile(std::string path) : path_(std::move(path)) {}

    // Throws TError when the file cannot be written.
    void Write(const std::string& desktop, const std::string& state) const;
    std::optional<std::string> Read(const std::string& desktop) const;
    // Takes the desktop's section out; the file goes with its last section.
    void Remove(const std::string& desktop) const;

private:
    std::string path_;
};
