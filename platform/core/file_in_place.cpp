// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "file_io.h"
#include "save_routes.h"
#include "state_folder.h"
#include "temporary_files.h"

namespace solvena::files {
namespace {

using Kind = FileError::Kind;

// The kept copy of the old bytes, and the folder it is in.
struct KeptCopy {
    Descriptor folder;
    Temporary file;
};

// Makes the copy beside the file, or in the state folder where the file's
// own folder takes no new file.
bool MakeCopy(const SaveTarget& target, const std::string& path, KeptCopy& copy) {
    const std::string name = target.name.empty() ? BaseName(path) : target.name;
    if (target.folder.valid()) {
        copy.folder = Descriptor(::dup(target.folder.get()));
        if (copy.folder.valid() && MakeTemporary(copy.folder.get(), name, 0600, copy.file)) {
            return true;
        }
    }
    const Result<std::string> state = StateFolder();
    if (!state) {
        errno = state.error().errorNumber;
        return false;
    }
    copy.folder = Descriptor(::open(state.value().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    return copy.folder.valid() && MakeTemporary(copy.folder.get(), name, 0600, copy.file);
}

// Puts `bytes` at the start of the open file and makes them all of it.
Status Overwrite(int fd, std::string_view bytes, const std::string& path) {
    if (::lseek(fd, 0, SEEK_SET) != 0) {
        return SystemError(Kind::WriteFailed, path, errno);
    }
    Status written = WriteAll(fd, bytes, path);
    if (!written) {
        return written;
    }
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd) != 0) {
        return SystemError(Kind::WriteFailed, path, errno);
    }
    return Done{};
}

void Discard(KeptCopy& copy) {
    ::unlinkat(copy.folder.get(), copy.file.name.c_str(), 0);
}

}  // namespace

Status WriteInPlace(const SaveTarget& target, std::string_view bytes, const std::string& path) {
    Descriptor fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (!fd.valid()) {
        return SystemError(Kind::OpenFailed, path, errno);
    }
    if (::fstat(fd.get(), &opened) != 0 || !SameFile(opened, target.info)) {
        // Replaced since it was looked at: rather no save than the wrong file.
        return SystemError(Kind::WriteFailed, path, EAGAIN);
    }
    Result<std::string> old = ReadAll(fd.get(), path);
    if (!old) {
        return old.error();
    }
    KeptCopy copy;
    if (!MakeCopy(target, path, copy)) {
        return SystemError(Kind::WriteFailed, path, errno);
    }
    Status kept = WriteAll(copy.file.fd.get(), old.value(), path);
    if (kept && ::fsync(copy.file.fd.get()) != 0) {
        kept = SystemError(Kind::WriteFailed, path, errno);
    }
    if (!kept) {
        Discard(copy);
        return kept;
    }
    Status written = Overwrite(fd.get(), bytes, path);
    if (!written) {
        // The copy stays if even the old bytes cannot go back.
        if (Overwrite(fd.get(), old.value(), path)) {
            Discard(copy);
        }
        return written;
    }
    Discard(copy);
    return Done{};
}

}  // namespace solvena::files
