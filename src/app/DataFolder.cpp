// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DataFolder.h"

#include "base/Errors.h"
#include "base/Translate.h"
#include "base/WholeFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <openssl/evp.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* ManifestName = ".shipped";
constexpr const char* SettingsFiles[] = {"tw.ini", "twc.ini", "twgame.ini"};

std::string Sha256(std::string_view bytes)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr) != 1)
        throw TError(_("An unexpected error occurred."));
    static constexpr char Hex[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * size);
    for (unsigned int i = 0; i < size; ++i) {
        text += Hex[digest[i] >> 4];
        text += Hex[digest[i] & 15];
    }
    return text;
}

// Writes content to a temporary file beside path and renames it over path,
// readable by everybody as the shipped data is.
void ReplaceWith(const fs::path& path, std::string_view content)
{
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error)
        ThrowUnableToWrite(path.parent_path().string());
    std::string temp =
        (path.parent_path() / ("." + path.filename().string() + ".tmp.XXXXXX")).string();
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        ThrowUnableToWrite(path.string());
    bool written = fchmod(fd, 0644) == 0;
    for (std::size_t done = 0; written && done < content.size();) {
        const ssize_t n = write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        written = n > 0;
        if (written)
            done += static_cast<std::size_t>(n);
    }
    // On disk before it takes the place of the old copy: a crash must not
    // leave an empty course file that looks like the user's own.
    written = written && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (!written || rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        ThrowUnableToWrite(path.string());
    }
}

// What was shipped into the data folder, by path relative to it.
struct TManifest
{
    std::map<std::string, std::string> Installed;
    // The shipped versions a changed copy of the user's was kept against.
    std::map<std::string, std::string> Kept;

    static TManifest Parse(std::string_view text)
    {
        TManifest manifest;
        while (!text.empty()) {
            const auto end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
            const auto space = line.find(' ');
            if (space == std::string_view::npos)
                continue;
            const std::string_view first = line.substr(0, space);
            const std::string_view rest = line.substr(space + 1);
            if (first == "kept") {
                const auto second = rest.find(' ');
                if (second != std::string_view::npos)
                    manifest.Kept[std::string(rest.substr(second + 1))] = rest.substr(0, second);
            } else if (!rest.empty()) {
                manifest.Installed[std::string(rest)] = first;
            }
        }
        return manifest;
    }

    std::string Text() const
    {
        std::string text;
        for (const auto& [path, sum] : Installed)
            text += sum + ' ' + path + '\n';
        for (const auto& [path, sum] : Kept)
            text += "kept " + sum + ' ' + path + '\n';
        return text;
    }
};

class TPreparation
{
public:
    TPreparation(const fs::path& shipped, const fs::path& target)
        : shipped_(shipped), target_(target)
    {}

    std::vector<std::string> Run()
    {
        std::error_code error;
        fs::create_directories(target_ / "Courses", error);
        if (error)
            ThrowUnableToWrite((target_ / "Courses").string());
        const fs::path manifestPath = target_ / ManifestName;
        const std::string before = ReadFileIfExists(manifestPath.string()).value_or("");
        manifest_ = TManifest::Parse(before);

        for (const char* name : SettingsFiles) {
            const fs::path from = shipped_ / name;
            if (fs::exists(from, error) && !fs::exists(target_ / name, error))
                ReplaceWith(target_ / name, ReadWholeFile(from.string()));
        }
        for (const std::string& path : ShippedCourseFiles())
            Update(path);

        const std::string after = manifest_.Text();
        if (after != before)
            ReplaceWith(manifestPath, after);
        return std::move(notices_);
    }

private:
    // Every shipped course file, relative to the shipped data, in order.
    std::vector<std::string> ShippedCourseFiles() const
    {
        std::vector<std::string> paths;
        std::error_code error;
        const fs::path courses = shipped_ / "Courses";
        if (!fs::is_directory(courses, error))
            return paths;
        for (auto it = fs::recursive_directory_iterator(courses, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            std::error_code ignored;
            if (it->is_regular_file(ignored))
                paths.push_back(it->path().lexically_relative(shipped_).generic_string());
        }
        if (error)
            throw TError(
                Format(_("Cannot open file \"%s\". %s"), courses.c_str(), error.message().c_str()));
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    void Update(const std::string& path)
    {
        const fs::path from = shipped_ / path;
        const fs::path to = target_ / path;
        const std::string content = ReadWholeFile(from.string());
        const std::string shippedSum = Sha256(content);
        if (const auto copy = ReadFileIfExists(to.string())) {
            const std::string copySum = Sha256(*copy);
            if (copySum != shippedSum) {
                const auto installed = manifest_.Installed.find(path);
                if (installed == manifest_.Installed.end() || installed->second != copySum) {
                    // The user's own version.
                    std::string& kept = manifest_.Kept[path];
                    if (kept != shippedSum) {
                        notices_.push_back(
                            Format(_("Keeping your changed %s; the new shipped version is %s"),
                                   to.c_str(), from.c_str()));
                        kept = shippedSum;
                    }
                    return;
                }
                ReplaceWith(to, content);
            }
        } else {
            ReplaceWith(to, content);
        }
        manifest_.Installed[path] = shippedSum;
        manifest_.Kept.erase(path);
    }

    fs::path shipped_;
    fs::path target_;
    TManifest manifest_;
    std::vector<std::string> notices_;
};

} // namespace

std::string UserDataFolder(const char* xdgDataHome, const char* home)
{
    fs::path base;
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/')
        base = xdgDataHome;
    else if (home != nullptr && home[0] == '/')
        base = fs::path(home) / ".local/share";
    else
        throw TError(_("Tapwren cannot tell where to keep your data: neither XDG_DATA_HOME nor "
                       "HOME names a folder."));
    std::string folder = (base / "tapwren").lexically_normal().string();
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

std::vector<std::string> PrepareDataFolder(const std::string& shipped, const std::string& target)
{
    return TPreparation(shipped, target).Run();
}
