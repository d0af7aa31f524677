// SPDX-License-Identifier: MIT
#include "files/file_stamp.h"

namespace solvena::files {

bool FileStamp::SameAs(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

std::optional<FileStamp> StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return FileStamp{path,         info.st_dev,  info.st_ino,
                     info.st_size, info.st_mtim, info.st_mode & 07777};
}

bool ChangedSince(const FileStamp& stamp, const std::string& path) {
    const std::optional<FileStamp> now = StampOf(path);
    if (!now) {
        return false;  // nothing there to lose
    }
    const bool sameFile = now->device == stamp.device && now->inode == stamp.inode;
    return (path == stamp.path || sameFile) && !now->SameAs(stamp);
}

}  // namespace solvena::files
