// SPDX-License-Identifier: MIT
#include "cli/file_walk.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "cli/command_table.h"
#include "cli/many_files.h"
#include "cli/messages.h"

namespace solvena::zkt {
namespace {

namespace fs = std::filesystem;

// Where the output of `input`, at `relative` in what was given, goes.
std::string OutputOf(const Options& options, const fs::path& input, const fs::path& relative) {
    const std::string name =
        OtherName(relative.filename().string(), options.command, options.armor);
    if (options.outputDir) {
        return (fs::path(*options.outputDir) / relative.parent_path() / name).string();
    }
    return (input.parent_path() / name).string();
}

bool OfTheCommandsKind(const fs::path& file, Command command) {
    const CommandRow& row = CommandRowOf(command);
    const std::string name = file.filename().string();
    return document::HasEnding(name, row.reads) ||
           (row.alsoReads && document::HasEnding(name, *row.alsoReads));
}

// What one walk gathers.
struct Walk {
    std::vector<fs::path> files;
    std::vector<std::string> links;
    std::vector<std::string> unread;  // folders that could not be read, said
};

// The files of the command's kind in `folder` and below, links to folders
// not followed; a folder that cannot be read is said and passed over, and
// the walk goes on.
void Gather(Command command, const Environment& env, const fs::path& folder, Walk& walk) {
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    std::vector<fs::path> below;
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::error_code kind;
        const fs::directory_entry& entry = *entries;
        if (entry.is_symlink(kind)) {
            if (OfTheCommandsKind(entry.path(), command) && entry.is_regular_file(kind)) {
                walk.links.push_back(entry.path().string());
            }
        } else if (entry.is_directory(kind)) {
            below.push_back(entry.path());
        } else if (entry.is_regular_file(kind) && OfTheCommandsKind(entry.path(), command)) {
            walk.files.push_back(entry.path());
        }
    }
    if (error) {
        Say(env, "zkt: " + Shown(folder.string()) + ": " + error.message() + "\n");
        walk.unread.push_back(folder.string());
    }
    std::sort(below.begin(), below.end());
    for (const fs::path& sub : below) {
        Gather(command, env, sub, walk);
    }
}

// The jobs of the files in `folder` and below, by name.
void FilesIn(const Options& options, const Environment& env, const fs::path& folder,
             const fs::path& under, std::vector<Job>& jobs, PassedOver& passed) {
    Walk walk;
    Gather(options.command, env, folder, walk);
    std::sort(walk.links.begin(), walk.links.end());
    passed.links.insert(passed.links.end(), walk.links.begin(), walk.links.end());
    passed.refused.insert(passed.refused.end(), walk.unread.begin(), walk.unread.end());
    std::sort(walk.files.begin(), walk.files.end());
    for (const fs::path& file : walk.files) {
        jobs.push_back({file.string(),
                        OutputOf(options, file, under / file.lexically_relative(folder)),
                        files::Opening::NormalFileOnly});
    }
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
            // A file, or a name that is none: one job, told of if it fails;
            // its output the one -o names, if any (--find-pass on one file).
            jobs.push_back({given, options.output != "-"
                                       ? options.output
                                       : OutputOf(options, given, fs::path(given).filename())});
        } else if (!options.recursive) {
            Say(env, "zkt: " + Shown(given) + ": is a folder; -r takes the files in it\n");
            passed.refused.push_back(given);
        } else {
            FilesIn(options, env, given, keepFolderNames ? OwnName(given) : fs::path(), jobs,
                    passed);
        }
    }
    return jobs;
}

}  // namespace solvena::zkt
