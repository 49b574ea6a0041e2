// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/WholeFile.h"

#include "base/Errors.h"
#include "base/Translate.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void CannotOpen(const std::string& path, int error)
{
    throw TError(Format(_("Cannot open file \"%s\". %s"), path.c_str(), std::strerror(error)));
}

[[noreturn]] void TooLarge(const std::string& path, std::size_t limit)
{
    throw TError(Format(_("The file \"%s\" is larger than %zu MB."), path.c_str(), limit >> 20));
}

// Closes the file on every way out.
class TFileHandle
{
public:
    explicit TFileHandle(int fd) : fd_(fd) {}
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    ~TFileHandle() { close(fd_); }
    int Fd() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::string ReadWholeFile(const std::string& path, std::size_t limit)
{
    if (auto content = ReadFileIfExists(path, limit))
        return std::move(*content);
    CannotOpen(path, ENOENT);
}

std::optional<std::string> ReadFileIfExists(const std::string& path, std::size_t limit)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && (errno == ENOENT || errno == ENOTDIR))
        return std::nullopt;
    if (fd < 0)
        CannotOpen(path, errno);
    const TFileHandle file(fd);

    struct stat info
    {};
    if (fstat(fd, &info) == 0 && info.st_size > 0 && static_cast<std::size_t>(info.st_size) > limit)
        TooLarge(path, limit);
    // Sized from the file, one byte more to see its end in the first pass; a
    // file that grows meanwhile is still read up to the limit.
    std::string content(
        info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : std::size_t{4096}, '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == content.size()) {
            if (size > limit)
                TooLarge(path, limit);
            content.resize(2 * size);
        }
        const ssize_t n = read(fd, content.data() + size, content.size() - size);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            CannotOpen(path, errno);
        }
        size += static_cast<std::size_t>(n);
    }
    if (size > limit)
        TooLarge(path, limit);
    content.resize(size);
    return content;
}
