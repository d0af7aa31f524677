// SPDX-License-Identifier: MIT
#include "cli/command_table.h"

#include <algorithm>
#include <array>
#include <vector>

namespace solvena::zkt {
using document::FileType;

namespace {

// Help and Version stand last: they have no name to type, and the help
// lists the commands in this order.
constexpr std::array kCommands{
    CommandRow{Command::Encipher, "encipher", RunOnFiles, true, true, FileType::Text,
               FileType::Enciphered, "done", std::nullopt},
    CommandRow{Command::Decipher, "decipher", RunOnFiles, true, false, FileType::Enciphered,
               FileType::Text, "done", std::nullopt},
    // Recover writes nothing, but its jobs are found as decipher's are.
    CommandRow{Command::Recover, "recover", RunRecover, false, false, FileType::Enciphered,
               FileType::Text, "ranked clearly", std::nullopt},
    // An old note is sealed as its text: deciphered first.
    CommandRow{Command::Seal, "seal", RunSealing, false, false, FileType::Text, FileType::Sealed,
               "sealed", FileType::Enciphered},
    CommandRow{Command::Unseal, "unseal", RunSealing, false, false, FileType::Sealed,
               FileType::Text, "unsealed", std::nullopt},
    CommandRow{Command::Help, "", PrintHelp, false, false, FileType::Text, FileType::Text, "",
               std::nullopt},
    CommandRow{Command::Version, "", PrintVersion, false, false, FileType::Text, FileType::Text, "",
               std::nullopt},
};

}  // namespace

std::span<const CommandRow> Commands() {
    return kCommands;
}

const CommandRow& CommandRowOf(Command command) {
    // Every command has its row: the table is the enum's one list.
    return *std::find_if(kCommands.begin(), kCommands.end(),
                         [command](const CommandRow& entry) { return entry.command == command; });
}

std::optional<Command> CommandNamed(std::string_view name) {
    for (const CommandRow& entry : kCommands) {
        if (!entry.name.empty() && entry.name == name) {
            return entry.command;
        }
    }
    return std::nullopt;
}

std::string CommandList() {
    std::vector<std::string_view> names;
    for (const CommandRow& entry : kCommands) {
        if (!entry.name.empty()) {
            names.push_back(entry.name);
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
