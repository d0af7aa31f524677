// SPDX-License-Identifier: MIT
#pragma once

// `zkt` on many files: several inputs, or folders with -r. Each output goes
// beside its input with the other extension (memo.txt and memo.zkt), or
// under -O DIR by its path in the folder given; a file that exists is not
// written over unless asked (--overwrite). Each file is saved as one file
// is, and told of on a line of its own; a summary ends the run.

#include <cstdint>
#include <optional>
#include <string>

#include "cli/options.h"
#include "cli/zkt.h"

namespace solvena::zkt {

// One input to one output, as `zkt` does for a single file: the pass
// number given, or nothing to take it from the options or the terminal.
int CipherOneFile(const Options& options, const Environment& env, std::optional<std::int16_t> pass);

// The pass number of the options (-p, --pass-file), or asked on the
// terminal (`twice` when enciphering); kSuccess, or the exit status of a
// failure, which has been said.
int ObtainPass(const Options& options, const Environment& env, bool twice,
               std::optional<std::int16_t>& pass);

// The file name with the other command's extension: "memo.txt" enciphers
// to "memo.zkt" and back; any other name gets the extension added.
std::string OtherName(const std::string& name, Command command);

// Runs the options' command on every file they name; 0 when every file is
// done, 1 when some could not be, 2 for a usage error. Interrupted (Ctrl+C),
// it stops after the file it is saving, which is whole or untouched.
int CipherManyFiles(const Options& options, const Environment& env);

}  // namespace solvena::zkt
