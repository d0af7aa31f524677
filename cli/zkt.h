// SPDX-License-Identifier: MIT
#pragma once

// The `zkt` tool: enciphers and deciphers document files from a shell by the
// same rules and code as the desktop program.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/options.h"
#include "document/codepage.h"

namespace solvena::zkt {

enum ExitStatus { kSuccess = 0, kDataError = 1, kUsageError = 2 };

// What the tool learns of its surroundings; it reads and writes the standard
// descriptors.
struct Environment {
    // Asks for the pass number with `prompt` when none is given; nothing:
    // no terminal.
    std::function<std::optional<std::string>(const char* prompt)> askPass;
    // The encoding the locale's terminal shows, and whether standard output
    // is that terminal.
    document::Encoding terminal = document::Encoding::Utf8;
    bool outputIsTerminal = false;
    // Standard error is a terminal: a long run shows its progress there.
    bool errorIsTerminal = false;
};

// The commands' handlers, as the table of commands calls them: the files
// the options name ciphered (or ranked); recover's pass list or files; the
// help; the version.
int RunOnFiles(const Options& options, const Environment& env);
int RunRecover(const Options& options, const Environment& env);
// seal and unseal (the page's zkt, without librnp, says where they are).
int RunSealing(const Options& options, const Environment& env);
int PrintHelp(const Options& options, const Environment& env);
int PrintVersion(const Options& options, const Environment& env);

// Runs the tool on the arguments after the program name: the command the
// options name, by its row in the table of commands.
int Run(const std::vector<std::string>& args, const Environment& environment);

}  // namespace solvena::zkt
