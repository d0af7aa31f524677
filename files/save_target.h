// SPDX-License-Identifier: MIT
#pragma once

// What a save's path names, found by the kernel: every link on the way is
// followed by open() itself, so that the kernel's link protection applies,
// and nothing here reads a link to walk it by hand.

#include <sys/stat.h>

#include <optional>
#include <string>

#include "files/descriptor.h"
#include "files/file_error.h"

namespace solvena::files {

struct SaveTarget {
    bool exists = false;
    // The path is a symbolic link to nothing yet.
    bool dangling = false;
    // What the path names (O_PATH), and its status, when it exists.
    Descriptor node;
    struct stat info {};
    // The path names one of this process's open descriptors (/dev/stdout,
    // /dev/fd/N): the save writes to that descriptor.
    std::optional<int> descriptor;
    // The folder whose entry `name` is the file itself (not a link to it),
    // for a file that can be replaced by renaming; invalid when none was
    // found.
    Descriptor folder;
    std::string name;
};

// The parts of a path: its folder ("." for a bare name) and its last name.
std::string DirectoryOf(const std::string& path);
std::string BaseName(const std::string& path);

// Finds the target of a save to `path`. Refuses, as the kernel's
// protected_symlinks does, a link in a sticky folder that anyone may write
// when neither the user nor the folder's owner owns the link, even where
// that protection is switched off.
Result<SaveTarget> FindSaveTarget(const std::string& path);

// True when both describe the same file.
inline bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace solvena::files
