// SPDX-License-Identifier: MIT
#include "sealing/fd_streams.h"

#include <unistd.h>

#include <cerrno>

namespace solvena::sealing {

Reader ReadFd(int fd, int& failure) {
    return [fd, &failure](char* buffer, std::size_t room, std::size_t& got) {
        for (;;) {
            const ssize_t read = ::read(fd, buffer, room);
            if (read >= 0) {
                got = static_cast<std::size_t>(read);
                return true;
            }
            if (errno != EINTR) {
                failure = errno;
                return false;
            }
        }
    };
}

Writer WriteFd(int fd, int& failure) {
    return [fd, &failure](const char* bytes, std::size_t size) {
        while (size > 0) {
            const ssize_t written = ::write(fd, bytes, size);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                failure = written < 0 ? errno : ENOSPC;
                return false;
            }
            bytes += written;
            size -= static_cast<std::size_t>(written);
        }
        return true;
    };
}

}  // namespace solvena::sealing
