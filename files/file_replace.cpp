// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

#include "files/file_attributes.h"
#include "files/file_io.h"
#include "files/save_routes.h"
#include "files/temporary_files.h"

namespace solvena::files {
namespace {

using Kind = FileError::Kind;

// Writes the bytes to a temporary file and flushes them to disk.
Status Fill(Temporary& temporary, int folder, const ContentWriter& write, const std::string& path) {
    Status written = write(temporary.fd.get());
    if (written && ::fsync(temporary.fd.get()) != 0) {
        written = SystemError(Kind::WriteFailed, path, errno);
    }
    if (!written) {
        ::unlinkat(folder, temporary.name.c_str(), 0);
    }
    return written;
}

// Gives the complete temporary file the target's name if that name is
// still free; EEXIST otherwise.
int LinkIntoPlace(int folder, const std::string& from, const std::string& to) {
#if defined(RENAME_NOREPLACE)  // not in a browser build's C library
    if (::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
#endif
    // A file system without the flag: a second hard link is as exclusive.
    if (::linkat(folder, from.c_str(), folder, to.c_str(), 0) == 0) {
        ::unlinkat(folder, from.c_str(), 0);
        return 0;
    }
    return errno;
}

}  // namespace

void SyncFolder(int folder) {
    // The new bytes are complete and in place already, so a folder that
    // cannot be synced is no failure.
    const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

Status CreateNewFile(const SaveTarget& target, const ContentWriter& write, const std::string& path,
                     unsigned mode) {
    // Made as any new file is, so the umask or the folder's default ACL
    // decides its permissions within `mode`.
    Temporary temporary;
    if (!MakeTemporary(target.folder.get(), target.name, mode & 0666, temporary)) {
        return SystemError(Kind::WriteFailed, path, errno);
    }
    Status filled = Fill(temporary, target.folder.get(), write, path);
    if (!filled) {
        return filled;
    }
    const int failure = LinkIntoPlace(target.folder.get(), temporary.name, target.name);
    if (failure != 0) {
        ::unlinkat(target.folder.get(), temporary.name.c_str(), 0);
        return SystemError(Kind::WriteFailed, path, failure);
    }
    return Done{};
}

Status ReplaceByRename(const SaveTarget& target, const ContentWriter& write,
                       const std::string& path, bool& renamed) {
    renamed = false;
    // Other names of the file would keep the old bytes; a new file would not
    // get set-user or set-group bits from anyone but root.
    if (!target.folder.valid() || target.info.st_nlink > 1 ||
        (target.info.st_mode & (S_ISUID | S_ISGID)) != 0) {
        return Done{};
    }
    const int folder = target.folder.get();
    Temporary temporary;
    // Private until it has the target's permissions and ACL.
    if (!MakeTemporary(folder, target.name, 0600, temporary)) {
        if (errno == EACCES || errno == EPERM || errno == EROFS) {
            return Done{};  // a folder that takes no new file
        }
        return SystemError(Kind::WriteFailed, path, errno);
    }
    if (!CopyMetadata(target.node.get(), target.info, temporary.fd.get())) {
        ::unlinkat(folder, temporary.name.c_str(), 0);
        return Done{};
    }
    Status filled = Fill(temporary, folder, write, path);
    if (!filled) {
        return filled;
    }
    if (::renameat(folder, temporary.name.c_str(), folder, target.name.c_str()) != 0) {
        const int failure = errno;
        ::unlinkat(folder, temporary.name.c_str(), 0);
        return SystemError(Kind::WriteFailed, path, failure);
    }
    renamed = true;
    return Done{};
}

}  // namespace solvena::files
