// SPDX-License-Identifier: MIT
#include "cli/command_table.h"

#include <algorithm>
#include <array>
#include <vector>

namespace solvena::zkt {
namespace {

// Help and Version stand last: they have no name to type, and the help
// lists the commands in this order.
constexpr std::array kCommands{
    CommandSpec{Command::Encipher, "encipher", RunOnFiles, true, true, ".txt", ".zkt", "done"},
    CommandSpec{Command::Decipher, "decipher", RunOnFiles, true, false, ".zkt", ".txt", "done"},
    // Recover writes nothing, but its jobs are found as decipher's are.
    CommandSpec{Command::Recover, "recover", RunRecover, false, false, ".zkt", ".txt",
                "ranked clearly"},
    // One file a run: the text of a password file is no job for the walk.
    CommandSpec{Command::Seal, "seal", RunSealing, false, false, "", "", "sealed"},
    CommandSpec{Command::Unseal, "unseal", RunSealing, false, false, "", "", "unsealed"},
    CommandSpec{Command::Help, "", PrintHelp, false, false, "", "", ""},
    CommandSpec{Command::Version, "", PrintVersion, false, false, "", "", ""},
};

}  // namespace

std::span<const CommandSpec> Commands() {
    return kCommands;
}

const CommandSpec& SpecOf(Command command) {
    // Every command has its row: the table is the enum's one list.
    return *std::find_if(kCommands.begin(), kCommands.end(),
                         [command](const CommandSpec& spec) { return spec.command == command; });
}

std::optional<Command> CommandNamed(std::string_view name) {
    for (const CommandSpec& spec : kCommands) {
        if (!spec.name.empty() && spec.name == name) {
            return spec.command;
        }
    }
    return std::nullopt;
}

std::string CommandList() {
    std::vector<std::string_view> names;
    for (const CommandSpec& spec : kCommands) {
        if (!spec.name.empty()) {
            names.push_back(spec.name);
        }
    }
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        list += i == 0 ? "" : i + 1 == names.size() ? " or " : ", ";
        list += names[i];
    }
    return list;
}

}  // namespace solvena::zkt
