// SPDX-License-Identifier: MIT
#pragma once

// The program's own folder for state that must outlive a process: the copy
// a save keeps of a file it rewrites where no copy fits beside the file, and
// the desktop program's recovery file. Only this user can enter it.

#include <string>

#include "files/file_error.h"

namespace solvena::files {

// $XDG_STATE_HOME/solvena, or ~/.local/state/solvena; created with mode 0700
// (and its missing parents too), narrowed to 0700 if it was wider. Fails when
// it cannot be made or belongs to someone else.
Result<std::string> StateFolder();

// Where that folder is, without making it; empty when there is no home.
std::string StateFolderName();

// Makes the absolute `folder` as StateFolder makes its own.
Result<std::string> PrivateFolder(const std::string& folder);

}  // namespace solvena::files
