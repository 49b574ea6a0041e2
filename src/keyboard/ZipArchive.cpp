// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/ZipArchive.h"

#include <stdexcept>
#include <zip.h>

namespace {

struct FileCloser
{
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

struct SourceFreer
{
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};

struct ErrorHolder
{
    zip_error_t error;
    ErrorHolder() { zip_error_init(&error); }
    ~ErrorHolder() { zip_error_fini(&error); }
    ErrorHolder(const ErrorHolder&) = delete;
    ErrorHolder& operator=(const ErrorHolder&) = delete;
};

std::runtime_error ZipFailure(zip_error_t* error)
{
    return std::runtime_error(std::string("zip: ") + zip_error_strerror(error));
}

} // namespace

void TZipReader::Closer::operator()(zip* archive) const
{
    zip_discard(archive);
}

std::optional<TZipReader> TZipReader::OpenFile(const std::string& path)
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive)
        return std::nullopt;
    return TZipReader(archive);
}

std::optional<TZipReader> TZipReader::OpenMemory(std::string_view bytes)
{
    ErrorHolder error;
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error.error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error.error) : nullptr;
    if (!archive) {
        if (source)
            zip_source_free(source);
        return std::nullopt;
    }
    return TZipReader(archive);
}

std::optional<std::string> TZipReader::ReadMember(const std::string& name) const
{
    const zip_int64_t index = zip_name_locate(archive_.get(), name.c_str(), 0);
    if (index < 0)
        return std::nullopt;
    const auto entry = static_cast<zip_uint64_t>(index);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_.get(), entry, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
        stat.size > MaxMemberSize)
        return std::nullopt;
    const std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive_.get(), entry, 0));
    if (!file)
        return std::nullopt;
    std::string content(stat.size, '\0');
    std::size_t done = 0;
    while (done < content.size()) {
        const zip_int64_t got = zip_fread(file.get(), content.data() + done, content.size() - done);
        if (got <= 0)
            return std::nullopt;
        done += static_cast<std::size_t>(got);
    }
    // Reading on to the end checks that nothing follows and lets the
    // library compare the checksum.
    char extra;
    if (zip_fread(file.get(), &extra, 1) != 0)
        return std::nullopt;
    return content;
}

std::string WriteZip(const std::vector<std::pair<std::string, std::string>>& members)
{
    // The library writes nothing for an archive without members; the zip
    // format has one: the end-of-directory record alone.
    if (members.empty())
        return std::string("PK\x05\x06", 4) + std::string(18, '\0');
    ErrorHolder error;
    const std::unique_ptr<zip_source_t, SourceFreer> buffer(
        zip_source_buffer_create(nullptr, 0, 0, &error.error));
    if (!buffer)
        throw ZipFailure(&error.error);
    zip_t* archive = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error.error);
    if (!archive)
        throw ZipFailure(&error.error);
    // Closing the archive would free the buffer that receives it.
    zip_source_keep(buffer.get());
    const auto fail = [archive] {
        const std::runtime_error failure = ZipFailure(zip_get_error(archive));
        zip_discard(archive);
        return failure;
    };
    for (const auto& [name, content] : members) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        if (!source)
            throw fail();
        if (zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            throw fail();
        }
    }
    if (zip_close(archive) != 0)
        throw fail();

    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(buffer.get(), &stat) != 0 || zip_source_open(buffer.get()) != 0)
        throw ZipFailure(zip_source_error(buffer.get()));
    std::string bytes(stat.size, '\0');
    const zip_int64_t got = zip_source_read(buffer.get(), bytes.data(), bytes.size());
    zip_source_close(buffer.get());
    if (got != static_cast<zip_int64_t>(bytes.size()))
        throw ZipFailure(zip_source_error(buffer.get()));
    return bytes;
}
