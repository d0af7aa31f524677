// SPDX-License-Identifier: MIT
#pragma once

// The files a `zkt` run on many files takes, and where each output goes.

#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/zkt.h"

namespace solvena::zkt {

struct Job {
    std::string input;
    std::string output;  // none for recover
};

// The files the options name, in the order given: files as they are; with
// -r the files of the command's kind (.txt to encipher, .zkt to decipher or
// recover) in folders and their subfolders, by name, without following
// links to folders. A folder without -r, or one that cannot be read, is told
// of and goes to `refused`.
std::vector<Job> FindJobs(const Options& options, const Environment& env,
                          std::vector<std::string>& refused);

}  // namespace solvena::zkt
