// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Errors.h"

#include "base/Translate.h"

#include <cstdarg>
#include <cstdio>

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int size = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string result;
    if (size < 0) {
        // Only an unrepresentable result gets here; the bare text still says something.
        result = format;
    } else {
        result.resize(static_cast<std::size_t>(size));
        std::vsnprintf(result.data(), result.size() + 1, format, args);
    }
    va_end(args);
    return result;
}

void ThrowUnableToWrite(const std::string& path)
{
    throw TError(Format(_("Unable to write to %s"), path.c_str()));
}
