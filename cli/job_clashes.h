// SPDX-License-Identifier: MIT
#pragma once

// Jobs of one run that would destroy each other's files: two outputs in one
// place, or an output over another job's input, which would be replaced
// before it is read.

#include <optional>
#include <string>
#include <vector>

#include "cli/file_walk.h"

namespace solvena::zkt {

// The message that refuses the run, naming every clash, or nothing when
// every output is a place of its own and none is another job's input.
// Places are the same by name (ASCII case folded, as a case-blind disk
// takes them), and by device and inode of the folder or of the file.
std::optional<std::string> Clashes(const std::vector<Job>& jobs);

}  // namespace solvena::zkt
