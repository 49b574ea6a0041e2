// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/IniFile.h"

#include "base/Errors.h"
#include "base/Translate.h"
#include "base/WholeFile.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

std::string DirName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == path.npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Where a write must go: through symbolic links to the file they name, so the
// link stays a link.
std::string FollowLinks(std::string path)
{
    // As many hops as the kernel follows; a longer chain fails on open.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            break;
        std::string target(static_cast<std::size_t>(info.st_size) + 1, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        // A link that changed size under us is read again.
        if (length < 0 || static_cast<std::size_t>(length) >= target.size())
            continue;
        target.resize(static_cast<std::size_t>(length));
        path = target.starts_with('/') ? target : DirName(path) + "/" + target;
    }
    return path;
}

// umask() can only be read by changing it, which races with other threads;
// the kernel also reports it here.
mode_t ProcessUmask()
{
    mode_t mask = 022;
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned int value;
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "Umask: %o", &value) == 1)
                mask = static_cast<mode_t>(value);
        std::fclose(status);
    }
    return mask;
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Gives the new file the old one's owner and permissions; a new file gets
// what creating it plainly would have given.
bool TakeOverAttributes(int fd, const std::string& target)
{
    struct stat old;
    if (stat(target.c_str(), &old) != 0)
        return fchmod(fd, 0666 & ~ProcessUmask()) == 0;
    // Only a privileged process may hand a file to someone else; anyone else
    // owns what it writes, and keeps at least the group where it is a member.
    if ((old.st_uid != geteuid() || old.st_gid != getegid()) &&
        fchown(fd, old.st_uid, old.st_gid) != 0) {
        if (errno != EPERM)
            return false;
        if (fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0 && errno != EPERM)
            return false;
    }
    return fchmod(fd, old.st_mode & 07777) == 0;
}

std::string BaseName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == path.npos ? path : path.substr(slash + 1);
}

// The temporary files of a target are "." + its name + "." + six letters or
// digits (mkostemp's pattern).
constexpr std::string_view TempSuffix = ".XXXXXX";

bool IsTemporaryOf(std::string_view entry, const std::string& name)
{
    if (entry.size() != name.size() + 1 + TempSuffix.size() || !entry.starts_with('.') ||
        entry.substr(1, name.size()) != name || entry[name.size() + 1] != '.')
        return false;
    for (const char c : entry.substr(name.size() + 2))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
    return true;
}

// Temporaries of target that a writer killed mid-write left behind. Only the
// holder of the writers' lock calls this, so no other program is writing one.
void RemoveStaleTemporaries(const std::string& target)
{
    DIR* folder = opendir(DirName(target).c_str());
    if (folder == nullptr)
        return;
    const std::string name = BaseName(target);
    while (const dirent* entry = readdir(folder))
        if (IsTemporaryOf(entry->d_name, name))
            unlinkat(dirfd(folder), entry->d_name, 0);
    closedir(folder);
}

// Whether the file's permissions let this program write it. A privileged
// program may write anything, but a file nobody may write is left alone.
bool MayWrite(const std::string& target)
{
    struct stat info;
    if (stat(target.c_str(), &info) != 0)
        return errno == ENOENT;
    if (geteuid() == 0)
        return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}

// Replaces target by content in one step: readers see the old file or the new
// one, never a part; on failure the old file stays as it was.
void ReplaceFile(const std::string& target, std::string_view content, int folder,
                 const std::string& shownPath)
{
    if (!MayWrite(target))
        ThrowUnableToWrite(shownPath);
    RemoveStaleTemporaries(target);
    std::string temp = DirName(target) + "/." + BaseName(target) + std::string(TempSuffix);
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        ThrowUnableToWrite(shownPath);
    bool written = TakeOverAttributes(fd, target) && WriteAll(fd, content) && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (!written || rename(temp.c_str(), target.c_str()) != 0) {
        unlink(temp.c_str());
        ThrowUnableToWrite(shownPath);
    }
    // The rename outlasts a crash once the folder is on disk; the new content
    // already is, so a failure here loses nothing the caller could mend.
    fsync(folder);
}

// The writers' lock of a folder, held for as long as the object lives: an
// exclusive lock of the lock file in it. Every writer of a file in the folder
// takes it, so read-modify-write cycles of two programs never interleave. A
// lock of a file open for writing is what network file systems can share
// between machines, where a lock of the folder itself may fail. The lock
// file stays: removing it would let two writers lock two different files.
class TWritersLock
{
public:
    TWritersLock(const std::string& folder, const std::string& shownPath,
                 std::chrono::milliseconds wait)
        : folder_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
          fd_(folder_ < 0 ? -1 : openat(folder_, LockFileName, O_RDWR | O_CREAT | O_CLOEXEC, 0666))
    {
        if (fd_ < 0) {
            Release();
            ThrowUnableToWrite(shownPath);
        }
        constexpr std::chrono::milliseconds Poll{20};
        const auto deadline = std::chrono::steady_clock::now() + wait;
        struct flock lock
        {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        while (fcntl(fd_, F_OFD_SETLK, &lock) != 0) {
            const int error = errno;
            if (error == EINTR)
                continue;
            if ((error != EAGAIN && error != EACCES) ||
                std::chrono::steady_clock::now() >= deadline) {
                Release();
                if (error == EAGAIN || error == EACCES)
                    throw TError(
                        Format(_("Unable to write to %s: the file is in use by another program."),
                               shownPath.c_str()));
                ThrowUnableToWrite(shownPath);
            }
            std::this_thread::sleep_for(Poll);
        }
    }
    ~TWritersLock() { Release(); }
    TWritersLock(const TWritersLock&) = delete;
    TWritersLock& operator=(const TWritersLock&) = delete;

    int FolderFd() const { return folder_; }

private:
    static constexpr const char* LockFileName = ".tapwren.lock";

    void Release()
    {
        if (fd_ >= 0)
            close(fd_);
        if (folder_ >= 0)
            close(folder_);
    }

    int folder_;
    int fd_;
};

} // namespace

TIniDocument TIniFile::Read() const
{
    return TIniDocument(ReadFileIfExists(path_).value_or(std::string()));
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view def) const
{
    return Read().Value(section, key).value_or(std::string(def));
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t def) const
{
    const auto value = Read().Value(section, key);
    return value ? ParseInteger(*value).value_or(def) : def;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(std::string_view section) const
{
    return Read().SectionExists(section);
}

std::vector<std::string> TIniFile::ReadSections() const
{
    return Read().Sections();
}

std::vector<TKeyValue> TIniFile::ReadSectionValues(std::string_view section) const
{
    return Read().SectionValues(section);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    Update([&](TIniDocument& document) { document.SetValue(section, key, value); });
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(std::string_view section)
{
    Update([section](TIniDocument& document) { document.EraseSection(section); });
}

void TIniFile::Update(const std::function<void(TIniDocument&)>& edit)
{
    const std::string target = FollowLinks(path_);
    const TWritersLock lock(DirName(target), path_, lockWait_);
    const std::string before = ReadFileIfExists(target).value_or(std::string());
    TIniDocument document(before);
    edit(document);
    const std::string after = document.Content();
    if (after != before)
        ReplaceFile(target, after, lock.FolderFd(), path_);
}
