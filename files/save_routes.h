// SPDX-License-Identifier: MIT
#pragma once

// The two ways a save replaces an existing file, and the making of a new
// one; private to the file layer. WriteFileSafely (file_io.h) picks one.

#include <chrono>
#include <string>
#include <string_view>

#include "files/file_error.h"
#include "files/file_io.h"
#include "files/save_target.h"

namespace solvena::files {

// Creates the file `target.name` in `target.folder` with what `write` writes,
// made under a temporary name first so that it appears complete or not at
// all. An entry of that name that appeared meanwhile is left alone (EEXIST).
// Its permissions are at most `mode`.
Status CreateNewFile(const SaveTarget& target, const ContentWriter& write, const std::string& path,
                     unsigned mode);

// Replaces the file by renaming a complete copy over it, when that loses
// nothing the file had. `renamed` false with success: renaming would lose
// something, so nothing was done and the file is to be written in place.
Status ReplaceByRename(const SaveTarget& target, const ContentWriter& write,
                       const std::string& path, bool& renamed);

// Rewrites the file in place after keeping a copy of its old bytes beside
// it (or in the state folder, where its own folder takes no new file); on
// any failure the old bytes are put back, and the copy goes on success.
Status WriteInPlace(const SaveTarget& target, const ContentWriter& write, const std::string& path);

// Copies everything from `from`'s offset on to `to`'s, a bounded piece at a
// time.
Status CopyRest(int from, int to, const std::string& path);

// Flushes a folder's entries to disk, for a rename or a new name to last.
void SyncFolder(int folder);

}  // namespace solvena::files
