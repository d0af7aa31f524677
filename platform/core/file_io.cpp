#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace solvena::files {
namespace {

using Kind = FileError::Kind;

// Closes a descriptor when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the result, for files whose writing must be checked.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

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

// Follows symbolic links to the path that is finally written.
Result<std::string> ResolveLinks(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info;
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        std::vector<char> target(static_cast<std::size_t>(info.st_size) + 256);
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length < 0) {
            return SystemError(Kind::OpenFailed, path, errno);
        }
        std::string next(target.data(), static_cast<std::size_t>(length));
        if (!next.starts_with('/')) {
            next = DirectoryOf(current) + "/" + next;
        }
        current = std::move(next);
    }
    return SystemError(Kind::OpenFailed, path, ELOOP);
}

mode_t CurrentUmask() {
    // Reading the mask from /proc leaves the process's mask alone.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:")) {
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

Status WriteDirectly(const std::string& path, std::string_view bytes) {
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (fd.get() < 0) {
        return SystemError(Kind::OpenFailed, path, errno);
    }
    Status written = WriteAll(fd.get(), bytes, path);
    if (!written) {
        return written;
    }
    if (fd.Close() != 0) {
        return SystemError(Kind::WriteFailed, path, errno);
    }
    return Done{};
}

}  // namespace

bool IsNormalFile(const std::string& path) {
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

Result<std::string> ReadAll(int fd, const std::string& name) {
    std::string bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        return SystemError(Kind::IsFolder, name, EISDIR);
    }
    // One byte more than the file's size, so that the final read that
    // finds the end needs no larger buffer.
    const bool regular = S_ISREG(info.st_mode) && info.st_size > 0;
    bytes.resize(regular ? static_cast<std::size_t>(info.st_size) + 1 : 65536);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t got = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return SystemError(Kind::ReadFailed, name, errno);
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    bytes.resize(used);
    return bytes;
}

Result<std::string> ReadWholeFile(const std::string& path) {
    if (path.empty()) {
        return SystemError(Kind::NotFound, path, ENOENT);
    }
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return SystemError(Kind::OpenFailed, path, errno);
    }
    return ReadAll(fd.get(), path);
}

Status WriteAll(int fd, std::string_view bytes, const std::string& name) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t chunk = std::min<std::size_t>(bytes.size() - done, 1 << 30);
        const ssize_t wrote = ::write(fd, bytes.data() + done, chunk);
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            return SystemError(Kind::WriteFailed, name, errno);
        }
        if (wrote == 0) {
            // No progress and no reason: stop rather than try for ever.
            return SystemError(Kind::WriteFailed, name, EIO);
        }
        done += static_cast<std::size_t>(wrote);
    }
    return Done{};
}

Status WriteFileSafely(const std::string& path, std::string_view bytes) {
    if (path.empty()) {
        return SystemError(Kind::NotFound, path, ENOENT);
    }
    Result<std::string> resolved = ResolveLinks(path);
    if (!resolved) {
        return resolved.error();
    }
    const std::string& target = resolved.value();

    struct stat existing;
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return SystemError(Kind::IsFolder, path, EISDIR);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        return WriteDirectly(target, bytes);
    }

    // A hidden name beside the target; long names would not fit the limit.
    const std::string base = BaseName(target);
    std::string temporary =
        DirectoryOf(target) + "/." + (base.size() > 200 ? "solvena-save" : base) + ".XXXXXX";
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        return SystemError(Kind::WriteFailed, path, errno);
    }
    const auto fail = [&](int errorNumber) {
        ::unlink(temporary.c_str());
        return SystemError(Kind::WriteFailed, path, errorNumber);
    };

    Status written = WriteAll(fd.get(), bytes, path);
    if (!written) {
        ::unlink(temporary.c_str());
        return written;
    }
    const mode_t mode = exists ? (existing.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (::fchmod(fd.get(), mode) != 0) {
        return fail(errno);
    }
    if (exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) {
        // Only a privileged writer can keep the owner; others keep their own.
        [[maybe_unused]] const int ignored = ::fchown(fd.get(), existing.st_uid, existing.st_gid);
    }
    if (::fsync(fd.get()) != 0) {
        return fail(errno);
    }
    if (fd.Close() != 0) {
        return fail(errno);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        return fail(errno);
    }
    // Make the rename itself durable. The new bytes are complete and in
    // place already, so a folder that cannot be synced is no failure.
    Descriptor folder(::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) {
        ::fsync(folder.get());
    }
    return Done{};
}

}  // namespace solvena::files
