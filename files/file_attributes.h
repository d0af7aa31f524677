// SPDX-License-Identifier: MIT
#pragma once

// What a file has besides its bytes, carried over to the file that is to
// take its place.

#include <sys/stat.h>

namespace solvena::files {

// Gives the file open at `to` the owner, group, permission bits and every
// extended attribute (ACLs included) of the file at `from` (an O_PATH
// descriptor with status `info`), and drops attributes the original lacks.
// False, with errno set, when any of them cannot be given: renaming `to`
// into place would then lose something.
bool CopyMetadata(int from, const struct stat& info, int to);

}  // namespace solvena::files
