// SPDX-License-Identifier: MIT
#pragma once

// The input and output of a run on one file, as its options name them.

#include "cli/cipher_streams.h"
#include "cli/options.h"
#include "cli/zkt.h"
#include "files/descriptor.h"

namespace solvena::zkt {

// The names messages give the input and output: "-" is a standard stream.
Names OneFileNames(const Options& options);

// Opens the input `names` gives: `opened` holds the file (nothing for
// standard input) and `fd` is what to read. kSuccess, or the failure said
// and its exit status.
int OpenOneInput(const Options& options, const Environment& env, const Names& names,
                 files::Descriptor& opened, int& fd);

}  // namespace solvena::zkt
