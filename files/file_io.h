// SPDX-License-Identifier: MIT
#pragma once

// Whole-file reading and safe replacement of files, on plain POSIX calls.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "files/descriptor.h"
#include "files/file_error.h"

namespace solvena::files {

// True when a normal file (or a link to one) exists at `path`.
bool IsNormalFile(const std::string& path);

// How a name is opened to read: through a link at it (a name given), or
// only as the normal file a walk of its folder found there, which may have
// been swapped since: a link there is not followed, and a pipe not waited on.
enum class Opening { ThroughLinks, NormalFileOnly };

// The file at `path`, opened for reading.
Result<Descriptor> OpenToRead(const std::string& path, Opening how = Opening::ThroughLinks);

// True when `path` names the file open as `fd`.
bool IsSameFile(int fd, const std::string& path);

// All bytes of the file at `path`.
Result<std::string> ReadWholeFile(const std::string& path, Opening how = Opening::ThroughLinks);

// All bytes up to the end of an open descriptor; `name` names it in errors.
Result<std::string> ReadAll(int fd, const std::string& name);

// Writes all of `bytes` to an open descriptor.
Status WriteAll(int fd, std::string_view bytes, const std::string& name);

// Writes a long stream of bytes to a descriptor piece by piece. A normal
// file is handed to the disk as it grows, so that flushing it at the end of
// a save has little left to wait for.
class StreamSink {
  public:
    StreamSink(int fd, std::string name);
    Status Write(std::string_view bytes);

  private:
    int fd_;
    std::string name_;
    bool normalFile_ = false;
    std::uint64_t written_ = 0;
    std::uint64_t handedOver_ = 0;  // bytes already handed to the disk
};

// Replaces the file at `path` with `bytes` so that it holds either its old
// or its new bytes, never a mixture, and keeps everything else it had. The
// path is opened by the kernel, whose protection of links in shared folders
// applies; a link the kernel follows is written through to its file.
//
// A normal file is replaced by renaming a complete, flushed copy over it
// when the copy can be given all the file had: its mode, owner, group and
// every extended attribute (ACLs too). Where renaming would lose something
// (other hard links, an owner or attribute that cannot be given, set-user
// or set-group bits, a folder that takes no new file) the file is written
// in place instead, after its old bytes were kept in a hidden copy, which
// puts them back on any failure and goes on success. A new file is made as
// any new file is (the umask or the folder's default ACL decides its mode)
// and appears complete. Targets that are not normal files (a terminal, a
// pipe, /dev/null) and names of this process's descriptors (/dev/stdout,
// /dev/fd/N) are written to as they are. A successful save removes what
// killed saves of the same file left behind.

// What a save writes, for bytes made as they are written: a function that
// writes all of the file's bytes to the descriptor given, from where it
// stands. A failure it returns fails the save, and the file is left as it
// was, as on any other failure.
using ContentWriter = std::function<Status(int fd)>;

// How a save makes a file that is not there yet.
struct NewFileRules {
    // At most these permissions (the umask and the folder's default ACL
    // take more away): a copy of a private file is private too.
    unsigned mode = 0666;
    // Only a new file: the save fails (EEXIST) where the path names anything,
    // even something made there while the save ran.
    bool onlyNew = false;
};

// The save described above, of `bytes`; a file made anew follows `rules`.
Status WriteFileSafely(const std::string& path, std::string_view bytes,
                       const NewFileRules& rules = {});

// WriteFileSafely with the bytes from `write`, which is called once at most
// (a save that would have to start again fails instead).
Status WriteFileSafely(const std::string& path, const ContentWriter& write,
                       const NewFileRules& rules = {});

// Replaces or creates a file of this user's own, in a folder of its own, as
// a complete file of mode 0600.
Status WritePrivateFile(const std::string& path, std::string_view bytes);

}  // namespace solvena::files
