// SPDX-License-Identifier: MIT
#include "cli/option_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace solvena::zkt {
namespace {

constexpr unsigned kDecipher = CommandBit(Command::Decipher);
constexpr unsigned kRecover = CommandBit(Command::Recover);
constexpr unsigned kSeal = CommandBit(Command::Seal);
constexpr unsigned kFileCommands = kCipherCommands | kRecover | kSealCommands;
// Sealing deciphers an old note first, with the pass number given or found.
constexpr unsigned kPassCommands = kCipherCommands | kSeal;
// The commands that write files of their own beside their inputs.
constexpr unsigned kWritingCommands = kCipherCommands | kSealCommands;

std::optional<std::size_t> ParseCount(const std::string& text) {
    std::size_t count = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, count);
    if (ec != std::errc() || ptr != end || count == 0) {
        return std::nullopt;
    }
    return count;
}

std::optional<std::string> SetCount(Options& options, const std::string& value) {
    const std::optional<std::size_t> count = ParseCount(value);
    if (!count) {
        return "-n needs a whole number of 1 or more, not '" + value + "'";
    }
    options.candidates = *count;
    return std::nullopt;
}

std::optional<std::string> SetEncoding(Options& options, const std::string& value) {
    options.encoding = ParseEncoding(value);
    if (!options.encoding) {
        return "unknown encoding '" + value + "' (use cp932, utf-8 or utf-16le)";
    }
    return std::nullopt;
}

std::optional<std::string> SetLineEnd(Options& options, const std::string& value) {
    options.eol = ParseLineEnd(value);
    if (!options.eol) {
        return "unknown line end '" + value + "' (use crlf or lf)";
    }
    return std::nullopt;
}

// A setter of a member of Options from the option's value, or of a flag.
template <auto Member>
std::optional<std::string> SetText(Options& options, const std::string& value) {
    options.*Member = value;
    return std::nullopt;
}
template <auto Member>
std::optional<std::string> SetFlag(Options& options, const std::string& /*value*/) {
    options.*Member = true;
    return std::nullopt;
}
template <Command Asked>
std::optional<std::string> Ask(Options& options, const std::string& /*value*/) {
    options.command = Asked;
    return std::nullopt;
}

constexpr std::array kOptions{
    OptionRow{'p', "pass", "ENTRY", kPassCommands,
              "the pass number, as typed into the pass-number dialog\n"
              "(at most four characters, such as 1234); other users\n"
              "can see it in the process list: prefer --pass-file or\n"
              "the prompt, which asks on the terminal without echo\n"
              "(twice when enciphering) when neither is given",
              SetText<&Options::passEntry>, false},
    OptionRow{0, "pass-file", "FILE", kPassCommands,
              "read the pass number from the first line of FILE", SetText<&Options::passFile>,
              false},
    // Recover takes "-o -", its standard output, and refuses any other.
    OptionRow{'o', "output", "OUT", kEveryCommand,
              "where to write the result (default, or -: standard output)",
              SetText<&Options::output>, false},
    OptionRow{0, "encoding", "ENC", kFileCommands & ~CommandBit(Command::Unseal),
              "encoding of the plain side: cp932, utf-8 or utf-16le\n"
              "(default: detected on reading; cp932 on writing, or the\n"
              "terminal's encoding when standard output is a terminal;\n"
              "recover: the terminal's encoding for the previews)",
              SetEncoding, false},
    OptionRow{0, "eol", "EOL", kFileCommands & ~CommandBit(Command::Unseal),
              "line end of the plain side: crlf or lf (default: detected\n"
              "on reading; crlf on writing, lf to a terminal)",
              SetLineEnd, false},
    OptionRow{0, "force", nullptr, kDecipher | kSeal,
              "decipher, seal: write (or seal) what a .zkt deciphers to\n"
              "even when it does not look like text",
              SetFlag<&Options::force>, false},
    OptionRow{'n', nullptr, "N", kRecover, "recover: print the N best candidates (default 5)",
              SetCount, false},
    OptionRow{'r', "recursive", nullptr, kFileCommands,
              "the files in folders given, and in their subfolders:\n"
              "*.txt to encipher, *.zkt to decipher or recover, both\n"
              "to seal, *.gpg, *.asc and *.pgp to unseal",
              SetFlag<&Options::recursive>, false},
    OptionRow{'O', "target-dir", "DIR", kWritingCommands,
              "with several files: put the outputs under DIR, by their\n"
              "paths in the folders given (default: beside each input,\n"
              "memo.txt and memo.zkt)",
              SetText<&Options::outputDir>, false},
    OptionRow{0, "overwrite", nullptr, kWritingCommands,
              "with several files: write over outputs that exist", SetFlag<&Options::overwrite>,
              false},
    OptionRow{0, "find-pass", nullptr, kDecipher | kSeal,
              "decipher, seal: each .zkt with the pass number recover\n"
              "finds clearly ahead for it; files without one are listed",
              SetFlag<&Options::findPass>, false},
    OptionRow{0, "tsv", nullptr, kRecover,
              "recover: one line per file, FILE<Tab>PASS<Tab>SCORE<Tab>\n"
              "clear|unclear<Tab>PREVIEW (also with several files)",
              SetFlag<&Options::tsv>, false},
    OptionRow{0, "pass-list", nullptr, kRecover,
              "recover: print every pass number tried, once, as\n"
              "VALUE<Tab>ENTRY, and nothing else",
              SetFlag<&Options::passList>, false},
    OptionRow{0, "password-file", "FILE", kSealCommands,
              "seal, unseal: read the password from the first line of\n"
              "FILE (default: asked on the terminal without echo, twice\n"
              "when sealing; never taken from the command line)",
              SetText<&Options::passwordFile>, false},
    OptionRow{0, "armor", nullptr, CommandBit(Command::Seal),
              "seal: write the password file as text (.asc) rather than\n"
              "binary (.gpg)",
              SetFlag<&Options::armor>, false},
    OptionRow{'h', "help", nullptr, kEveryCommand, "show this help", Ask<Command::Help>, true},
    OptionRow{0, "version", nullptr, kEveryCommand, "show the version", Ask<Command::Version>,
              true},
};

// The help's column of descriptions.
constexpr std::size_t kLabelWidth = 20;

std::string Label(const OptionRow& option) {
    std::string label;
    if (option.shortName != 0) {
        label = std::string("-") + option.shortName + (option.longName != nullptr ? ", " : "");
    }
    if (option.longName != nullptr) {
        label += std::string("--") + option.longName;
    }
    if (option.valueName != nullptr) {
        label += std::string(" ") + option.valueName;
    }
    return label;
}

}  // namespace

std::span<const OptionRow> OptionTable() {
    return kOptions;
}

std::string OptionHelp() {
    std::string help;
    for (const OptionRow& option : kOptions) {
        std::string label = Label(option);
        label.resize(std::max(label.size(), kLabelWidth), ' ');
        help += "  " + label + " ";
        for (const char* line = option.help; *line != '\0';) {
            const std::size_t length = std::strcspn(line, "\n");
            help.append(line, length);
            help += '\n';
            line += length;
            if (*line == '\n') {
                ++line;
                help.append(2 + kLabelWidth + 1, ' ');
            }
        }
    }
    return help;
}

}  // namespace solvena::zkt
