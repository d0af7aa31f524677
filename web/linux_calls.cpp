// SPDX-License-Identifier: MIT
// Calls of Linux that the careful saves of files/ make and a browser's C
// library declares but lacks. zkt in a page writes only to memory, whose
// file system has no extended attributes, no faster copy, no disk to hand
// bytes to and no entropy call: each fails as such a system's would, and
// files/ takes the way it takes there.
#include <fcntl.h>
#include <sys/random.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>

namespace {

ssize_t Unsupported(int error) {
    errno = error;
    return -1;
}

}  // namespace

extern "C" {

ssize_t listxattr(const char*, char*, size_t) {
    return Unsupported(ENOTSUP);
}
ssize_t flistxattr(int, char*, size_t) {
    return Unsupported(ENOTSUP);
}
ssize_t getxattr(const char*, const char*, void*, size_t) {
    return Unsupported(ENOTSUP);
}
int fsetxattr(int, const char*, const void*, size_t, int) {
    return static_cast<int>(Unsupported(ENOTSUP));
}
int fremovexattr(int, const char*) {
    return static_cast<int>(Unsupported(ENOTSUP));
}
ssize_t copy_file_range(int, off_t*, int, off_t*, size_t, unsigned) {
    return Unsupported(ENOSYS);
}
ssize_t getrandom(void*, size_t, unsigned) {
    return Unsupported(ENOSYS);
}
int sync_file_range(int, off_t, off_t, unsigned) {
    return 0;  // nothing to hand to a disk
}

}  // extern "C"
