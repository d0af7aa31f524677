// SPDX-License-Identifier: MIT
#include "cli/file_walk.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "cli/many_files.h"
#include "cli/messages.h"

namespace solvena::zkt {
namespace {

namespace fs = std::filesystem;

// Where the output of `input`, at `relative` in what was given, goes.
std::string OutputOf(const Options& options, const fs::path& input, const fs::path& relative) {
    const std::string name = OtherName(relative.filename().string(), options.command);
    if (options.outputDir) {
        return (fs::path(*options.outputDir) / relative.parent_path() / name).string();
    }
    return (input.parent_path() / name).string();
}

bool OfTheCommandsKind(const fs::path& file, Command command) {
    return AsciiLowerCase(file.extension().string()) ==
           (command == Command::Encipher ? ".txt" : ".zkt");
}

// The files of the command's kind in `folder` and below, by name; false
// when some folder could not be read, which has been said.
bool FilesIn(const Options& options, const Environment& env, const fs::path& folder,
             std::vector<Job>& jobs) {
    std::vector<fs::path> found;
    std::error_code error;
    fs::recursive_directory_iterator walk(folder, error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        std::error_code kind;
        if (walk->is_regular_file(kind) && OfTheCommandsKind(walk->path(), options.command)) {
            found.push_back(walk->path());
        }
    }
    if (error) {
        Say(env, "zkt: " + Shown(folder.string()) + ": " + error.message() + "\n");
        return false;
    }
    std::sort(found.begin(), found.end());
    for (const fs::path& file : found) {
        jobs.push_back({file.string(), OutputOf(options, file, file.lexically_relative(folder))});
    }
    return true;
}

}  // namespace

std::vector<Job> FindJobs(const Options& options, const Environment& env,
                          std::vector<std::string>& refused) {
    std::vector<Job> jobs;
    for (const std::string& given : options.inputs) {
        std::error_code error;
        if (!fs::is_directory(given, error)) {
            // A file, or a name that is none: one job, told of if it fails.
            jobs.push_back({given, OutputOf(options, given, fs::path(given).filename())});
        } else if (!options.recursive) {
            Say(env, "zkt: " + Shown(given) + ": is a folder; -r takes the files in it\n");
            refused.push_back(given);
        } else if (!FilesIn(options, env, given, jobs)) {
            refused.push_back(given);
        }
    }
    return jobs;
}

}  // namespace solvena::zkt
