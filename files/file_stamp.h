// SPDX-License-Identifier: MIT
#pragma once

// What tells whether a file changed since it was read: which file its path
// named, its size and when its bytes last changed.

#include <sys/stat.h>

#include <optional>
#include <string>

namespace solvena::files {

struct FileStamp {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    mode_t permissions = 0;  // not part of what tells a change

    // The same file, unchanged.
    bool SameAs(const FileStamp& other) const;
};

// The stamp of the file at `path` now; nothing when there is none.
std::optional<FileStamp> StampOf(const std::string& path);

// True when `path` names the file `stamp` was taken of (by its name, or as
// the same file by another name) and that file differs from it now: it was
// written or replaced by something else.
bool ChangedSince(const FileStamp& stamp, const std::string& path);

}  // namespace solvena::files
