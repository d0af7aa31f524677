#pragma once

// The `zkt` tool: enciphers and deciphers document files from a shell by the
// same rules and code as the desktop program.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "codepage.h"

namespace solvena::zkt {

enum ExitStatus { kSuccess = 0, kDataError = 1, kUsageError = 2 };

struct Environment {
    int input = 0;
    int output = 1;
    int error = 2;
    // Asks for the pass number when -p is absent; nothing: no terminal.
    std::function<std::optional<std::string>()> askPass;
    // What recover's previews are written in.
    files::Encoding terminal = files::Encoding::Utf8;
};

// Runs the tool on the arguments after the program name.
int Run(const std::vector<std::string>& args, const Environment& environment);

}  // namespace solvena::zkt
