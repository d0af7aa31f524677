// SPDX-License-Identifier: MIT
#include "files/save_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "files/save_target.h"

namespace solvena::files {

Result<Descriptor> LockForSave(const SaveTarget& target, const std::string& path, bool& moved,
                               std::chrono::milliseconds patience) {
    moved = false;
    // Read or write, whichever this user may: a lock needs an open file.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        fd = Descriptor(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    }
    struct stat opened {};
    if (!fd.valid() || ::fstat(fd.get(), &opened) != 0) {
        return Descriptor();
    }
    if (!SameFile(opened, target.info)) {
        moved = true;
        return Descriptor();
    }
    constexpr std::chrono::milliseconds kStep(20);
    for (std::chrono::milliseconds waited(0);; waited += kStep) {
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            break;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return Descriptor();  // a file system without locks
        }
        if (waited >= patience) {
            return SystemError(FileError::Kind::Busy, path, EWOULDBLOCK);
        }
        std::this_thread::sleep_for(kStep);
    }
    // The save it waited for may have renamed a new file over this one.
    struct stat named {};
    moved = ::stat(path.c_str(), &named) != 0 || !SameFile(named, opened);
    return fd;
}

}  // namespace solvena::files
