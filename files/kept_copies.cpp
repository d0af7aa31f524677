// SPDX-License-Identifier: MIT
#include "files/kept_copies.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "files/descriptor.h"
#include "files/file_io.h"
#include "files/save_routes.h"
#include "files/save_target.h"
#include "files/state_folder.h"
#include "files/temporary_files.h"

namespace solvena::files {
namespace {

constexpr std::string_view kMarkSuffix = ".of";

// What a mark says: "DEVICE INODE" on its first line, the path on its second.
struct Mark {
    dev_t device = 0;
    ino_t inode = 0;
    std::string path;
};

// A mark holds two numbers and a full path: anything larger is no mark.
constexpr off_t kLongestMark = PATH_MAX + 64;

// Only a small regular file of this user's own is read as a mark, opened
// without waiting: another user's, a pipe that never ends or a huge sparse
// file planted in a shared folder is passed over.
bool ReadMark(int folder, std::string_view copy, Mark& mark) {
    Descriptor fd(::openat(folder, MarkName(copy).c_str(),
                           O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid() || info.st_size > kLongestMark) {
        return false;
    }
    std::string line(static_cast<std::size_t>(info.st_size), '\0');
    const ssize_t got = ::pread(fd.get(), line.data(), line.size(), 0);
    if (got != static_cast<ssize_t>(line.size())) {
        return false;
    }
    char* end = nullptr;
    mark.device = static_cast<dev_t>(std::strtoull(line.c_str(), &end, 10));
    mark.inode = static_cast<ino_t>(std::strtoull(end, &end, 10));
    const std::size_t start = line.find('\n');
    if (start == std::string::npos || !line.ends_with('\n')) {
        return false;
    }
    mark.path = line.substr(start + 1, line.size() - start - 2);
    return true;
}

// A kept copy is made by this user with mode 0600; any other is not one.
bool IsOwnCopy(int folder, const std::string& copy) {
    struct stat info {};
    return ::fstatat(folder, copy.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 07777) == 0600;
}

std::string FullPath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

// The marked copies in `folder` that `belongs` says are the file's, by
// whatever name they were saved.
template <class Belongs>
void Collect(const std::string& folder, Belongs belongs, std::vector<std::string>& found) {
    DIR* entries = ::opendir(folder.c_str());
    if (entries == nullptr) {
        return;
    }
    const int fd = ::dirfd(entries);
    while (const dirent* entry = ::readdir(entries)) {
        const std::string_view name = entry->d_name;
        if (!IsMarkName(name)) {
            continue;
        }
        const std::string copy(name.substr(0, name.size() - kMarkSuffix.size()));
        Mark mark;
        if (ReadMark(fd, copy, mark) && belongs(mark) && IsOwnCopy(fd, copy)) {
            found.push_back(folder + "/" + copy);
        }
    }
    ::closedir(entries);
}

}  // namespace

std::string MarkName(std::string_view copy) {
    return std::string(copy) + std::string(kMarkSuffix);
}

bool IsMarkName(std::string_view name) {
    return name.ends_with(kMarkSuffix) &&
           IsTemporaryName(name.substr(0, name.size() - kMarkSuffix.size()));
}

bool MarkKeptCopy(int folder, const std::string& copy, const struct stat& info,
                  const std::string& path) {
    const std::string text = std::to_string(info.st_dev) + " " + std::to_string(info.st_ino) +
                             "\n" + FullPath(path) + "\n";
    Descriptor fd(::openat(folder, MarkName(copy).c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.valid() || !WriteAll(fd.get(), text, copy) || ::fsync(fd.get()) != 0) {
        const int failure = errno;
        ::unlinkat(folder, MarkName(copy).c_str(), 0);
        errno = failure;
        return false;
    }
    SyncFolder(folder);
    return true;
}

void DiscardKeptCopy(int folder, const std::string& copy) {
    ::unlinkat(folder, copy.c_str(), 0);
    ::unlinkat(folder, MarkName(copy).c_str(), 0);
}

bool IsMarkedCopy(int folder, std::string_view copy) {
    return ::faccessat(folder, MarkName(copy).c_str(), F_OK, AT_SYMLINK_NOFOLLOW) == 0;
}

std::vector<std::string> KeptCopiesOf(const std::string& path) {
    const std::string full = FullPath(path);
    if (full.empty()) {
        return {};
    }
    struct stat info {};
    const bool exists = ::stat(full.c_str(), &info) == 0;
    const auto same = [&](const Mark& mark) {
        return mark.path == full ||
               (exists && mark.device == info.st_dev && mark.inode == info.st_ino);
    };
    std::vector<std::string> found;
    Collect(DirectoryOf(full), same, found);
    const std::string state = StateFolderName();
    if (!state.empty() && state != DirectoryOf(full)) {
        Collect(state, same, found);
    }
    return found;
}

bool SaveStillRunning(const std::string& copy) {
    Descriptor fd(::open(copy.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        return false;
    }
    return ::flock(fd.get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

}  // namespace solvena::files
