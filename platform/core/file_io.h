#pragma once

// Whole-file reading and safe replacement of files, on plain POSIX calls.

#include <string>
#include <string_view>

#include "file_error.h"

namespace solvena::files {

// True when a normal file (or a link to one) exists at `path`.
bool IsNormalFile(const std::string& path);

// All bytes of the file at `path`.
Result<std::string> ReadWholeFile(const std::string& path);

// All bytes up to the end of an open descriptor; `name` names it in errors.
Result<std::string> ReadAll(int fd, const std::string& name);

// Writes all of `bytes` to an open descriptor.
Status WriteAll(int fd, std::string_view bytes, const std::string& name);

// Replaces the file at `path` with `bytes` so that it holds either its old
// or its new bytes, never a mixture, whatever happens: the bytes go to a
// temporary file in the same folder, are flushed to disk, and the temporary
// file is then renamed over the target. On failure the temporary file is
// removed and the target is untouched. An existing target keeps its
// permission bits (and owner, where allowed); a symbolic link is written
// through to the file it points at. Targets that are not normal files
// (a terminal, a pipe, /dev/null) cannot be replaced and are written to
// directly, so for them none of this holds.
Status WriteFileSafely(const std::string& path, std::string_view bytes);

}  // namespace solvena::files
