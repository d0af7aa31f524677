// SPDX-License-Identifier: MIT
#include "files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>

#include "files/descriptor.h"
#include "files/save_lock.h"
#include "files/save_routes.h"
#include "files/save_target.h"
#include "files/state_folder.h"
#include "files/temporary_files.h"

namespace solvena::files {
namespace {

using Kind = FileError::Kind;

// A target that is not a normal file (a terminal, a pipe, /dev/null) cannot
// be replaced; it is written to as it is opened.
Status WriteToNode(const SaveTarget& target, const ContentWriter& write, const std::string& path) {
    if (target.descriptor) {
        return write(*target.descriptor);
    }
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        return SystemError(Kind::OpenFailed, path, errno);
    }
    Status written = write(fd.get());
    if (!written) {
        return written;
    }
    if (fd.Close() != 0) {
        return SystemError(Kind::WriteFailed, path, errno);
    }
    return Done{};
}

// A link to nothing yet: the kernel creates its target (where it allows
// the link to be followed), which is then replaced like any file.
Status CreateThroughLink(const std::string& path, unsigned mode) {
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC, mode & 0666));
    if (!fd.valid()) {
        return SystemError(Kind::OpenFailed, path, errno);
    }
    return Done{};
}

// Replaces a normal file that is there, under its lock; `again` when it
// moved before the lock was had.
Status ReplaceExisting(const SaveTarget& target, const ContentWriter& write,
                       const std::string& path, bool& again) {
    bool moved = false;
    const Result<Descriptor> lock = LockForSave(target, path, moved);
    if (!lock) {
        return lock.error();
    }
    if (moved) {
        again = true;
        return SystemError(Kind::WriteFailed, path, EAGAIN);
    }
    bool renamed = false;
    Status saved = ReplaceByRename(target, write, path, renamed);
    if (saved && !renamed) {
        saved = WriteInPlace(target, write, path);
    }
    return saved;
}

// After a save: the folder flushed, and what killed saves of the file left
// beside it or in the state folder removed.
void CleanUpAfterSave(const SaveTarget& target) {
    SyncFolder(target.folder.get());
    RemoveStaleTemporaries(target.folder.get(), target.name);
    const std::string state = StateFolderName();
    Descriptor kept(state.empty() ? -1 : ::open(state.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (kept.valid()) {
        RemoveStaleTemporaries(kept.get(), target.name);
    }
}

// One attempt; `again` when the path changed under the save.
Status SaveOnce(const std::string& path, const ContentWriter& write, const NewFileRules& rules,
                bool& again) {
    again = false;
    Result<SaveTarget> found = FindSaveTarget(path);
    if (!found) {
        return found.error();
    }
    const SaveTarget& target = found.value();
    if (rules.onlyNew && (target.exists || target.dangling || target.descriptor)) {
        return SystemError(Kind::OpenFailed, path, EEXIST);
    }
    if (target.exists && S_ISDIR(target.info.st_mode)) {
        return SystemError(Kind::IsFolder, path, EISDIR);
    }
    if (target.descriptor || (target.exists && !S_ISREG(target.info.st_mode))) {
        return WriteToNode(target, write, path);
    }
    if (target.dangling) {
        Status created = CreateThroughLink(path, rules.mode);
        again = created.ok();
        return created;
    }
    Status saved = Done{};
    if (!target.exists) {
        saved = CreateNewFile(target, write, path, rules.mode);
        again = !saved && saved.error().errorNumber == EEXIST && !rules.onlyNew;
    } else {
        saved = ReplaceExisting(target, write, path, again);
    }
    if (saved && target.folder.valid()) {
        CleanUpAfterSave(target);
    }
    return saved;
}

// The normal file at `path` with no link at its name, opened to read; a
// pipe put there is opened without waiting for a writer, and refused.
Result<Descriptor> OpenNormalFile(const std::string& path) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid() && errno == ELOOP) {
        FileError link = SystemError(Kind::OpenFailed, path, ELOOP);
        link.reason = "is a link; not followed";
        return link;
    }
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0) {
        return SystemError(Kind::OpenFailed, path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        FileError other = SystemError(Kind::OpenFailed, path, EINVAL);
        other.reason = "is no longer a normal file; not read";
        return other;
    }
    // Read as any file from here on.
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return fd;
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
    try {
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
    } catch (const std::bad_alloc&) {
        // An endless source such as /dev/zero ends here too.
        return OutOfMemory(name);
    }
    return bytes;
}

Result<Descriptor> OpenToRead(const std::string& path, Opening how) {
    if (path.empty()) {
        return SystemError(Kind::NotFound, path, ENOENT);
    }
    if (how == Opening::NormalFileOnly) {
        return OpenNormalFile(path);
    }
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return SystemError(Kind::OpenFailed, path, errno);
    }
    return fd;
}

bool IsSameFile(int fd, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

Result<std::string> ReadWholeFile(const std::string& path, Opening how) {
    Result<Descriptor> fd = OpenToRead(path, how);
    if (!fd) {
        return fd.error();
    }
    return ReadAll(fd.value().get(), path);
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

StreamSink::StreamSink(int fd, std::string name) : fd_(fd), name_(std::move(name)) {
    struct stat info {};
    normalFile_ = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

Status StreamSink::Write(std::string_view bytes) {
    Status written = WriteAll(fd_, bytes, name_);
    if (!written) {
        return written;
    }
    written_ += bytes.size();
    constexpr std::uint64_t kHandOver = std::uint64_t{16} << 20;
    if (normalFile_ && written_ - handedOver_ >= kHandOver) {
        // Starts the writing back and does not wait for it; a failure shows
        // when the file is flushed.
        ::sync_file_range(fd_, static_cast<off_t>(handedOver_),
                          static_cast<off_t>(written_ - handedOver_), SYNC_FILE_RANGE_WRITE);
        handedOver_ = written_;
    }
    return Done{};
}

namespace {

// A name that another program takes or frees meanwhile is looked at anew,
// when the bytes can be written again.
Status SaveWithRetries(const std::string& path, const ContentWriter& write, bool repeatable,
                       const NewFileRules& rules) {
    bool written = false;
    const ContentWriter once = [&](int fd) {
        written = true;
        return write(fd);
    };
    for (int attempt = 0;; ++attempt) {
        bool again = false;
        Status saved = SaveOnce(path, once, rules, again);
        if (!again || attempt == 3 || (written && !repeatable)) {
            return saved;
        }
    }
}

}  // namespace

Status WriteFileSafely(const std::string& path, std::string_view bytes, const NewFileRules& rules) {
    return SaveWithRetries(
        path, [&](int fd) { return WriteAll(fd, bytes, path); }, true, rules);
}

Status WriteFileSafely(const std::string& path, const ContentWriter& write,
                       const NewFileRules& rules) {
    return SaveWithRetries(path, write, false, rules);
}

Status WritePrivateFile(const std::string& path, std::string_view bytes) {
    Descriptor folder(::open(DirectoryOf(path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        return SystemError(Kind::NotFound, path, errno);
    }
    const std::string name = BaseName(path);
    Temporary temporary;
    if (!MakeTemporary(folder.get(), name, 0600, temporary)) {
        return SystemError(Kind::WriteFailed, path, errno);
    }
    Status written = WriteAll(temporary.fd.get(), bytes, path);
    if (written && (::fchmod(temporary.fd.get(), 0600) != 0 || ::fsync(temporary.fd.get()) != 0)) {
        written = SystemError(Kind::WriteFailed, path, errno);
    }
    if (written &&
        ::renameat(folder.get(), temporary.name.c_str(), folder.get(), name.c_str()) != 0) {
        written = SystemError(Kind::WriteFailed, path, errno);
    }
    if (!written) {
        ::unlinkat(folder.get(), temporary.name.c_str(), 0);
        return written;
    }
    SyncFolder(folder.get());
    return Done{};
}

}  // namespace solvena::files
