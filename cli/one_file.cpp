// SPDX-License-Identifier: MIT
#include "cli/one_file.h"

#include <unistd.h>

#include "cli/messages.h"
#include "files/file_io.h"

namespace solvena::zkt {

Names OneFileNames(const Options& options) {
    Names names;
    names.fromStdin = options.input == "-";
    names.toStdout = options.output == "-";
    names.input = names.fromStdin ? kStandardInput : options.input;
    names.output = names.toStdout ? kStandardOutput : options.output;
    return names;
}

int OpenOneInput(const Options& options, const Environment& env, const Names& names,
                 files::Descriptor& opened, int& fd) {
    fd = STDIN_FILENO;
    if (names.fromStdin) {
        return kSuccess;
    }
    files::Result<files::Descriptor> file = files::OpenToRead(options.input, options.inputOpening);
    if (!file) {
        return FileFailure(env, file.error());
    }
    opened = std::move(file.value());
    fd = opened.get();
    return kSuccess;
}

}  // namespace solvena::zkt
