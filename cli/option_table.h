// SPDX-License-Identifier: MIT
#pragma once

// `zkt`'s options, one row each: their names, the value they take, the
// commands that take them, their lines of --help and what they set. The
// parser, the help and the checks of the manual page and the completion
// all read this table.

#include <optional>
#include <span>
#include <string>

#include "cli/options.h"

namespace solvena::zkt {

// Sets what an option asks; why its value is not usable, if it is not.
using OptionSetter = std::optional<std::string> (*)(Options& options, const std::string& value);

// A set of commands, one bit each.
constexpr unsigned CommandBit(Command command) {
    return 1U << static_cast<unsigned>(command);
}
inline constexpr unsigned kCipherCommands =
    CommandBit(Command::Encipher) | CommandBit(Command::Decipher);
inline constexpr unsigned kSealCommands = CommandBit(Command::Seal) | CommandBit(Command::Unseal);
inline constexpr unsigned kEveryCommand =
    kCipherCommands | CommandBit(Command::Recover) | kSealCommands;

struct OptionRow {
    char shortName = 0;                 // 0: none
    const char* longName = nullptr;     // nullptr: none
    const char* valueName = nullptr;    // nullptr: the option takes no value
    unsigned commands = kEveryCommand;  // the commands that take it
    const char* help = "";              // its lines of --help
    OptionSetter set = nullptr;
    bool alone = false;  // asks for itself alone, as --help does: the rest is not read

    // As messages name it: "--force", "-n".
    std::string Name() const {
        return longName != nullptr ? std::string("--") + longName : std::string("-") + shortName;
    }
};

// Every option, in the order the help lists them.
std::span<const OptionRow> OptionTable();

// The help's lines of the options, each with its names and value.
std::string OptionHelp();

}  // namespace solvena::zkt
