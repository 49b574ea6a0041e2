// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

// The one error type of the program. Its message is already translated and
// formatted; whoever catches it shows the message as it stands.
class TError : public std::runtime_error
{
public:
    explicit TError(const std::string& message) : std::runtime_error(message) {}
};

// printf-style formatting into a std::string. The compiler checks the
// arguments against the format, also through _(), whose result keeps the
// directives of its literal (msgfmt --check holds translations to them).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "Unable to write to %s" with the path.
[[noreturn]] void ThrowUnableToWrite(const std::string& path);
