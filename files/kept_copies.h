// SPDX-License-Identifier: MIT
#pragma once

// The copies an in-place save keeps of a file's old bytes. While the file
// is being written, its copy ".NAME.solvena-XXXXXX" has a mark beside it,
// ".NAME.solvena-XXXXXX.of", that names the file (its device and inode, and
// its full path). A save that stops midway (a crash, a kill, a power cut)
// leaves the file damaged and the marked copy as the only good one: no
// later save removes it, and the next that opens or saves the file tells
// where it is, until its owner removes it.

#include <sys/stat.h>

#include <string>
#include <string_view>
#include <vector>

namespace solvena::files {

// Marks `copy`, a file in `folder`, as the old bytes of the file `info` at
// `path` before that file is written; false, with errno set, when the mark
// cannot be made.
bool MarkKeptCopy(int folder, const std::string& copy, const struct stat& info,
                  const std::string& path);

// Removes a copy and its mark.
void DiscardKeptCopy(int folder, const std::string& copy);

// True when `copy` in `folder` is marked: the old bytes of a file whose save
// stopped while writing it.
bool IsMarkedCopy(int folder, std::string_view copy);

// The name of a copy's mark, and whether a name is a mark.
std::string MarkName(std::string_view copy);
bool IsMarkName(std::string_view name);

// The marked copies of the file at `path`, beside it and in the state
// folder, as full paths.
std::vector<std::string> KeptCopiesOf(const std::string& path);

// True when the save that keeps `copy` (a full path) is still running: it
// holds the copy locked until it ends.
bool SaveStillRunning(const std::string& copy);

}  // namespace solvena::files
