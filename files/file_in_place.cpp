// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "files/file_io.h"
#include "files/kept_copies.h"
#include "files/save_routes.h"
#include "files/state_folder.h"
#include "files/temporary_files.h"

namespace solvena::files {
namespace {

using Kind = FileError::Kind;

// The kept copy of the old bytes, and the folder it is in.
struct KeptCopy {
    Descriptor folder;
    Temporary file;
};

// Makes the copy beside the file, or in the state folder where the file's
// own folder takes no new file; a failure there names the state folder,
// which is at fault, not the file.
Status MakeCopy(const SaveTarget& target, const std::string& path, KeptCopy& copy) {
    const std::string name = target.name.empty() ? BaseName(path) : target.name;
    if (target.folder.valid()) {
        copy.folder = Descriptor(::dup(target.folder.get()));
        if (copy.folder.valid() && MakeTemporary(copy.folder.get(), name, 0600, copy.file)) {
            return Done{};
        }
    }
    const Result<std::string> state = StateFolder();
    if (!state) {
        return state.error();
    }
    copy.folder = Descriptor(::open(state.value().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!copy.folder.valid() || !MakeTemporary(copy.folder.get(), name, 0600, copy.file)) {
        return SystemError(Kind::WriteFailed, state.value(), errno);
    }
    return Done{};
}

// Puts what `write` writes at the start of the open file and makes it all
// of it.
Status Overwrite(int fd, const ContentWriter& write, const std::string& path) {
    if (::lseek(fd, 0, SEEK_SET) != 0) {
        return SystemError(Kind::WriteFailed, path, errno);
    }
    Status written = write(fd);
    if (!written) {
        return written;
    }
    const off_t end = ::lseek(fd, 0, SEEK_CUR);
    if (end < 0 || ::ftruncate(fd, end) != 0 || ::fsync(fd) != 0) {
        return SystemError(Kind::WriteFailed, path, errno);
    }
    return Done{};
}

// Writes the kept old bytes back.
ContentWriter FromCopy(int copy, const std::string& path) {
    return [copy, &path](int fd) -> Status {
        if (::lseek(copy, 0, SEEK_SET) != 0) {
            return SystemError(Kind::ReadFailed, path, errno);
        }
        return CopyRest(copy, fd, path);
    };
}

void Discard(KeptCopy& copy) {
    DiscardKeptCopy(copy.folder.get(), copy.file.name);
}

}  // namespace

Status CopyRest(int from, int to, const std::string& path) {
    for (;;) {
        // The kernel copies without a round trip through this process where
        // the file system allows it.
        const ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
        if (copied == 0) {
            return Done{};
        }
        if (copied > 0) {
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
            return SystemError(Kind::WriteFailed, path, errno);
        }
        break;
    }
    std::string buffer(1 << 16, '\0');
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return SystemError(Kind::ReadFailed, path, errno);
        }
        if (got == 0) {
            return Done{};
        }
        Status written =
            WriteAll(to, std::string_view(buffer.data(), static_cast<std::size_t>(got)), path);
        if (!written) {
            return written;
        }
    }
}

Status WriteInPlace(const SaveTarget& target, const ContentWriter& write, const std::string& path) {
    Descriptor fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (!fd.valid()) {
        return SystemError(Kind::OpenFailed, path, errno);
    }
    if (::fstat(fd.get(), &opened) != 0 || !SameFile(opened, target.info)) {
        // Replaced since it was looked at: rather no save than the wrong file.
        return SystemError(Kind::WriteFailed, path, EAGAIN);
    }
    KeptCopy copy;
    if (Status made = MakeCopy(target, path, copy); !made) {
        return made;
    }
    // Copied a piece at a time, so that a file of any size can be kept.
    Status kept = CopyRest(fd.get(), copy.file.fd.get(), path);
    // From its mark on, the copy may be the only whole old bytes.
    const InPlaceRewrite rewriting;
    // Complete and on disk, the copy is marked as the file's before the file
    // is touched: if this save stops midway, it is the only good copy.
    if (kept && (::fsync(copy.file.fd.get()) != 0 ||
                 !MarkKeptCopy(copy.folder.get(), copy.file.name, opened, path))) {
        kept = SystemError(Kind::WriteFailed, path, errno);
    }
    if (!kept) {
        Discard(copy);
        return kept;
    }
    Status written = Overwrite(fd.get(), write, path);
    if (!written) {
        // The copy stays if even the old bytes cannot go back.
        if (Overwrite(fd.get(), FromCopy(copy.file.fd.get(), path), path)) {
            Discard(copy);
        }
        return written;
    }
    Discard(copy);
    return Done{};
}

}  // namespace solvena::files
