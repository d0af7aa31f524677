// SPDX-License-Identifier: MIT
#pragma once

// `zkt` on many files: several inputs, or folders with -r. Each output goes
// beside its input with the other extension (memo.txt and memo.zkt), or
// under -O DIR by its path in the folder given; a file that exists is not
// written over unless asked (--overwrite). Each file is saved as one file
// is, and told of on a line of its own; a summary ends the run.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/file_walk.h"
#include "cli/options.h"
#include "cli/zkt.h"
#include "files/file_io.h"

namespace solvena::zkt {

// What the output gets instead of the ciphered text: the writer of it
// (sealed, say) made from the writer of the text.
using OutputWrap = std::function<files::ContentWriter(files::ContentWriter)>;

// One input to one output, as `zkt` does for a single file: the pass
// number given, or nothing to take it from the options or the terminal.
int CipherOneFile(const Options& options, const Environment& env, std::optional<std::int16_t> pass,
                  const OutputWrap& wrap = {});

// The pass number of the options (-p, --pass-file), or asked on the
// terminal (`twice` when enciphering); kSuccess, or the exit status of a
// failure, which has been said.
int ObtainPass(const Options& options, const Environment& env, bool twice,
               std::optional<std::int16_t>& pass);

// The file name with the other command's extension: "memo.txt" enciphers
// to "memo.zkt" and back; any other name gets the extension added.
// A password file is named as gpg names it (memo.txt.gpg, or .asc
// `armored`), and unsealed back to memo.txt.
std::string OtherName(const std::string& name, Command command, bool armored = false);

// Whether the options name many files: several, folders (-r), -O, or a
// folder named with no -o (with -o there is no file to read).
bool RunsOnManyFiles(const Options& options);

// Runs the options' command on every file they name; 0 when every file is
// done, 1 when some could not be, 2 for a usage error. Interrupted (Ctrl+C),
// it stops after the file it is saving, which is whole or untouched.
int CipherManyFiles(const Options& options, const Environment& env);

// Runs one job; whether it was done (a failure has been said).
using JobRunner = std::function<bool(const Job& job)>;
// Readies a run once its jobs are known and agree, asking what must be
// asked: the runner of each job, and what the summary adds when something
// was done; or the exit status of a failure, said.
using JobsReady =
    std::function<int(const std::vector<Job>& jobs, JobRunner& run, std::string& summaryNote)>;

// The run of many files that CipherManyFiles makes, for another command.
int RunManyFiles(const Options& options, const Environment& env, const JobsReady& ready);

// One job whose output `write` writes, given the options of that one
// file: the output checked to be free first, its folders made (and removed
// again on failure), and the job told of, with `note`.
bool WriteJob(const Options& options, const Environment& env, const Job& job,
              const std::function<int(const Options& one)>& write, const std::string& note = "");

// Whether the job's output may be written (one that exists is not, unless
// asked), said when it may not.
bool OutputFree(const Options& options, const Environment& env, const Job& job);

}  // namespace solvena::zkt
