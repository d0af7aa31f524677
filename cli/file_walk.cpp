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
             const fs::path& under, std::vector<Job>& jobs, PassedOver& passed) {
    std::vector<fs::path> found;
    std::vector<std::string> links;
    std::error_code error;
    fs::recursive_directory_iterator walk(folder, error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        std::error_code kind;
        if (!OfTheCommandsKind(walk->path(), options.command)) {
            continue;
        }
        if (walk->is_symlink(kind)) {
            if (walk->is_regular_file(kind)) {
                links.push_back(walk->path().string());
            }
        } else if (walk->is_regular_file(kind)) {
            found.push_back(walk->path());
        }
    }
    std::sort(links.begin(), links.end());
    passed.links.insert(passed.links.end(), links.begin(), links.end());
    if (error) {
        Say(env, "zkt: " + Shown(folder.string()) + ": " + error.message() + "\n");
        return false;
    }
    std::sort(found.begin(), found.end());
    for (const fs::path& file : found) {
        jobs.push_back(
            {file.string(), OutputOf(options, file, under / file.lexically_relative(folder))});
    }
    return true;
}

// The folder's own name, as an output under -O keeps it when several
// folders are given (as `cp -r` does): "2023/" and "./2023" are "2023".
fs::path OwnName(const std::string& folder) {
    std::error_code error;
    fs::path full = fs::weakly_canonical(folder, error);
    if (error || full.filename().empty()) {
        full = fs::path(folder).lexically_normal();
    }
    return full.filename().empty() ? full.parent_path().filename() : full.filename();
}

bool SeveralFolders(const Options& options) {
    std::size_t folders = 0;
    for (const std::string& given : options.inputs) {
        std::error_code error;
        folders += fs::is_directory(given, error) ? 1U : 0U;
    }
    return folders > 1;
}

}  // namespace

std::vector<Job> FindJobs(const Options& options, const Environment& env, PassedOver& passed) {
    std::vector<Job> jobs;
    const bool keepFolderNames = options.outputDir && SeveralFolders(options);
    for (const std::string& given : options.inputs) {
        std::error_code error;
        if (!fs::is_directory(given, error)) {
            // A file, or a name that is none: one job, told of if it fails.
            jobs.push_back({given, OutputOf(options, given, fs::path(given).filename())});
        } else if (!options.recursive) {
            Say(env, "zkt: " + Shown(given) + ": is a folder; -r takes the files in it\n");
            passed.refused.push_back(given);
        } else if (!FilesIn(options, env, given, keepFolderNames ? OwnName(given) : fs::path(),
                            jobs, passed)) {
            passed.refused.push_back(given);
        }
    }
    return jobs;
}

}  // namespace solvena::zkt
