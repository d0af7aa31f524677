// SPDX-License-Identifier: MIT
#pragma once

// `zkt`'s commands, one row each: what the command line names them, how
// they treat the files they are given, and the function that runs them.
// Every other place asks this table rather than branching on the command.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "cli/zkt.h"
#include "document/file_types.h"

namespace solvena::zkt {

using CommandHandler = int (*)(const Options& options, const Environment& env);

struct CommandRow {
    Command command;
    std::string_view name;  // as typed; empty: asked for by an option (--help)
    CommandHandler run;
    // Ciphers each input to an output with a pass number; else ranks the
    // pass numbers and prints them, writing no file.
    bool ciphers = false;
    bool enciphers = false;     // the plain side is read, and the pass asked twice
    document::FileType reads;   // the files it takes from a folder, by their ending
    document::FileType writes;  // the type of each output beside its input
    std::string_view done;      // how the summary of many files counts a success
    std::optional<document::FileType> alsoReads;  // a second kind of file it takes
};

// Every command, in the order the help names them.
std::span<const CommandRow> Commands();

const CommandRow& CommandRowOf(Command command);

// The command a word on the command line names, if any.
std::optional<Command> CommandNamed(std::string_view name);

// The commands that are typed, as a sentence names them: "encipher,
// decipher or recover".
std::string CommandList();

}  // namespace solvena::zkt
