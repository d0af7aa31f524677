// SPDX-License-Identifier: MIT
#pragma once

// What every output of zkt keeps to, whatever writes it.

#include "cli/options.h"
#include "files/file_io.h"

namespace solvena::zkt {

// Standard output goes to the very file that is read.
bool OutputIsInput(int input);

// A new output is no more open than its input: a private diary gives a
// private .zkt. Of many files, an output that exists is kept unless asked,
// even one made while the run went on.
files::NewFileRules NewOutputRules(const Options& options, int input);

}  // namespace solvena::zkt
