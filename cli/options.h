// SPDX-License-Identifier: MIT
#pragma once

// The command line of `zkt`.

#include <optional>
#include <string>
#include <vector>

#include "document/codepage.h"
#include "document/text_format.h"

namespace solvena::zkt {

enum class Command { Encipher, Decipher, Recover, Help, Version };

inline constexpr std::size_t kDefaultCandidates = 5;

struct Options {
    Command command = Command::Help;
    std::optional<std::string> passEntry;  // -p, taken as it is
    std::optional<std::string> passFile;   // --pass-file: the entry is its first line
    std::optional<document::Encoding> encoding;
    std::optional<document::LineEnd> eol;  // --eol: the plain side's line end
    std::string input = "-";               // "-": standard input
    std::string output = "-";              // "-": standard output
    bool force = false;                    // decipher: write a result that does not look like text
    std::size_t candidates = kDefaultCandidates;  // recover: how many to print
    bool passList = false;                        // recover: print every pass value instead
};

struct ParsedOptions {
    std::optional<Options> options;
    std::string error;  // why the command line is not usable
};

// Parses the arguments after the program name.
ParsedOptions ParseOptions(const std::vector<std::string>& args);

// The encodings and line ends --encoding and --eol name ("cp932", "utf-8",
// "utf-16le"; "crlf", "lf"), or nothing.
std::optional<document::Encoding> ParseEncoding(std::string name);
std::optional<document::LineEnd> ParseLineEnd(const std::string& name);

extern const char* const kUsage;

}  // namespace solvena::zkt
