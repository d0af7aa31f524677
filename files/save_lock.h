// SPDX-License-Identifier: MIT
// Two saves of one file take turns: the advisory lock a save holds on the
// file it replaces or rewrites, and how long another save waits for it.
#pragma once

#include <chrono>
#include <string>

#include "files/descriptor.h"
#include "files/file_error.h"
#include "files/save_target.h"

namespace solvena::files {

// How long a save waits for another save of the same file to finish.
inline constexpr std::chrono::milliseconds kSavePatience(10000);

// Takes an advisory lock on the existing file a save replaces or rewrites,
// held while the descriptor returned is open, so that two saves of one file
// take turns instead of mixing their bytes. Waits up to `patience` for
// another save to finish, then fails with Busy. `moved`: while it waited,
// the path came to name another file, to be looked at anew. A file this
// user cannot open is saved without a lock (nothing to take turns with).
Result<Descriptor> LockForSave(const SaveTarget& target, const std::string& path, bool& moved,
                               std::chrono::milliseconds patience = kSavePatience);

}  // namespace solvena::files
