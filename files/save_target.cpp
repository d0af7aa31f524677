// SPDX-License-Identifier: MIT
#include "files/save_target.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string_view>

namespace solvena::files {
namespace {

using Kind = FileError::Kind;

// The descriptor number a name of /dev or /proc stands for, if it is one.
std::optional<int> DescriptorNumber(std::string_view path) {
    if (path == "/dev/stdin") {
        return 0;
    }
    if (path == "/dev/stdout") {
        return 1;
    }
    if (path == "/dev/stderr") {
        return 2;
    }
    const std::string own = "/proc/" + std::to_string(::getpid()) + "/fd/";
    for (std::string_view prefix : {std::string_view("/dev/fd/"),
                                    std::string_view("/proc/self/fd/"), std::string_view(own)}) {
        if (path.starts_with(prefix)) {
            const std::string_view digits = path.substr(prefix.size());
            int number = -1;
            const auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), number);
            if (error == std::errc() && end == digits.data() + digits.size() && !digits.empty()) {
                return number;
            }
        }
    }
    return std::nullopt;
}

// The kernel's own rule for links in shared folders such as /tmp.
bool PlantedByAnother(const std::string& path) {
    struct stat link {};
    struct stat folder {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode) ||
        ::stat(DirectoryOf(path).c_str(), &folder) != 0) {
        return false;
    }
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return shared && link.st_uid != ::geteuid() && link.st_uid != folder.st_uid;
}

// Sets `folder` and `name` when `path`'s last name in its folder is the file.
void FindEntry(const std::string& path, SaveTarget& target) {
    Descriptor folder(::open(DirectoryOf(path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    const std::string name = BaseName(path);
    struct stat entry {};
    if (folder.valid() && !name.empty() &&
        ::fstatat(folder.get(), name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
        SameFile(entry, target.info)) {
        target.folder = std::move(folder);
        target.name = name;
    }
}

// Where the kernel found the file, by its own account of the open descriptor.
std::optional<std::string> KernelPath(int fd) {
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    char buffer[4096];
    const ssize_t length = ::readlink(link.c_str(), buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer || buffer[0] != '/') {
        return std::nullopt;
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

Result<SaveTarget> FindSaveTarget(const std::string& path) {
    if (path.empty()) {
        return SystemError(Kind::NotFound, path, ENOENT);
    }
    if (PlantedByAnother(path)) {
        return SystemError(Kind::PermissionDenied, path, EACCES);
    }
    SaveTarget target;
    target.node = Descriptor(::open(path.c_str(), O_PATH | O_CLOEXEC));
    if (!target.node.valid()) {
        if (errno != ENOENT) {
            return SystemError(Kind::OpenFailed, path, errno);
        }
        struct stat link {};
        target.dangling = ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
        if (!target.dangling) {
            target.folder =
                Descriptor(::open(DirectoryOf(path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
            if (!target.folder.valid()) {
                return SystemError(Kind::NotFound, path, errno);
            }
            target.name = BaseName(path);
        }
        return target;
    }
    target.exists = true;
    if (::fstat(target.node.get(), &target.info) != 0) {
        return SystemError(Kind::OpenFailed, path, errno);
    }
    if (const std::optional<int> number = DescriptorNumber(path)) {
        struct stat described {};
        if (::fstat(*number, &described) == 0 && SameFile(described, target.info)) {
            target.descriptor = number;
            return target;
        }
    }
    if (S_ISREG(target.info.st_mode)) {
        FindEntry(path, target);
        if (!target.folder.valid()) {
            // Reached through a link: the file's own folder, as the kernel
            // names it, if that folder still holds it.
            if (const std::optional<std::string> real = KernelPath(target.node.get())) {
                FindEntry(*real, target);
            }
        }
    }
    return target;
}

}  // namespace solvena::files
