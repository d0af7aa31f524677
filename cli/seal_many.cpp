// SPDX-License-Identifier: MIT
// Sealing many files: a folder of old notes moved into password files in
// one run, the old files left for their owner to delete.
#include <algorithm>

#include "cli/many_files.h"
#include "cli/messages.h"
#include "cli/recover_command.h"
#include "cli/seal_command.h"
#include "document/file_types.h"

namespace solvena::zkt {
namespace {

bool IsNote(const Job& job) {
    return document::HasEnding(job.input, document::FileType::Enciphered);
}

// With --find-pass, an old note sealed with the pass number found for it,
// the output checked before the ranking, which takes a while.
bool FoundNoteJob(const Options& options, const Environment& env, const Job& job,
                  const std::string& password) {
    if (!OutputFree(options, env, job)) {
        return false;
    }
    const FoundPass found = FindPass(job.input, env, job.opening);
    if (!found.pass) {
        return false;  // said why
    }
    const auto write = [&](const Options& one) -> int {
        return SealNote(one, env, password, found.pass);
    };
    return WriteJob(options, env, job, write, " (pass number " + found.entry + ")");
}

bool SealJob(const Options& options, const Environment& env, const Job& job,
             const std::string& password, std::optional<std::int16_t> pass) {
    if (IsNote(job) && options.command == Command::Seal) {
        if (options.findPass) {
            return FoundNoteJob(options, env, job, password);
        }
        return WriteJob(options, env, job,
                        [&](const Options& one) { return SealNote(one, env, password, pass); });
    }
    return WriteJob(options, env, job,
                    [&](const Options& one) { return SealOrUnsealFile(one, env, password); });
}

}  // namespace

int SealManyFiles(const Options& options, const Environment& env) {
    const bool seal = options.command == Command::Seal;
    std::string password;
    std::optional<std::int16_t> pass;
    const JobsReady ready = [&](const std::vector<Job>& jobs, JobRunner& run,
                                std::string& summaryNote) -> int {
        const bool notes = seal && std::any_of(jobs.begin(), jobs.end(), IsNote);
        if (notes && !options.findPass) {
            if (const int status = ObtainPass(options, env, false, pass); status != kSuccess) {
                return status;
            }
        }
        if (const int status =
                ObtainPassword(env, options.passwordFile.value_or(""), seal, password);
            status != kSuccess) {
            return status;
        }
        if (notes) {
            summaryNote =
                "the .zkt files are left as they were: anyone with this program can "
                "still read them, so delete them once the password files open";
        }
        run = [&](const Job& job) { return SealJob(options, env, job, password, pass); };
        return kSuccess;
    };
    return RunManyFiles(options, env, ready);
}

}  // namespace solvena::zkt
