// SPDX-License-Identifier: MIT
#pragma once

// The files a `zkt` run on many files takes, and where each output goes.

#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/zkt.h"
#include "files/file_io.h"

namespace solvena::zkt {

struct Job {
    std::string input;
    std::string output;  // none for recover
    // A file the walk found is read only as the normal file it was then.
    files::Opening opening = files::Opening::ThroughLinks;
};

// What a walk passed over: folders it could not take, links it did not follow.
struct PassedOver {
    std::vector<std::string> refused;
    std::vector<std::string> links;
};

// The files the options name, in the order given: files as they are; with
// -r the files of the command's kind (.txt to encipher, .zkt to decipher or
// recover) in folders and their subfolders, by name, following no link (one
// another user put in a shared folder may lead to any file; a link named on
// the command line is read). A folder without -r, or one that cannot be
// read (the walk goes on past it), is told of and goes to `refused`; a link to a file of the kind
// goes to `links`. The files the walk found are opened as they were found
// (Job::opening).
std::vector<Job> FindJobs(const Options& options, const Environment& env, PassedOver& passed);

}  // namespace solvena::zkt
