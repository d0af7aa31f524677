// SPDX-License-Identifier: MIT
#pragma once

// The command line of `zkt`.

#include <optional>
#include <string>
#include <vector>

#include "document/codepage.h"
#include "document/text_format.h"
#include "files/file_io.h"

namespace solvena::zkt {

enum class Command { Encipher, Decipher, Recover, Seal, Unseal, Help, Version };

inline constexpr std::size_t kDefaultCandidates = 5;

struct Options {
    Command command = Command::Help;
    std::optional<std::string> passEntry;     // -p, taken as it is
    std::optional<std::string> passFile;      // --pass-file: the entry is its first line
    std::optional<std::string> passwordFile;  // --password-file: the password is its first line
    bool armor = false;                       // seal: an armored (text) password file
    std::optional<document::Encoding> encoding;
    std::optional<document::LineEnd> eol;  // --eol: the plain side's line end
    std::string input = "-";               // "-": standard input
    // A walk under -r found the input: it is read only as that normal file.
    files::Opening inputOpening = files::Opening::ThroughLinks;
    std::string output = "-";  // "-": standard output
    // Several inputs (or a folder) are ciphered each to a file of its own.
    std::vector<std::string> inputs;       // as given; empty: standard input
    bool recursive = false;                // -r: the files in folders given
    std::optional<std::string> outputDir;  // -O: outputs there, not beside their inputs
    bool overwrite = false;                // outputs may replace files that exist
    bool findPass = false;                 // decipher: each file with the pass number found for it
    bool tsv = false;                      // recover: one line per file, for scripts
    bool force = false;                    // decipher: write a result that does not look like text
    std::size_t candidates = kDefaultCandidates;  // recover: how many to print
    bool passList = false;                        // recover: print every pass value instead

    // Each input to a file of its own, as several inputs, a folder or one
    // of the options for them ask.
    bool ManyFiles() const {
        return inputs.size() > 1 || recursive || outputDir || findPass || tsv;
    }
};

struct ParsedOptions {
    std::optional<Options> options;
    std::string error;  // why the command line is not usable
};

// Parses the arguments after the program name.
ParsedOptions ParseOptions(const std::vector<std::string>& args);

// The encodings and line ends --encoding and --eol name, by their keys in
// document/encoding.h ("cp932", "utf-8", "utf-16le"; "crlf", "lf"), or nothing.
std::optional<document::Encoding> ParseEncoding(std::string name);

// `text` with ASCII capitals made small, as names of encodings and file
// extensions are compared.
std::string AsciiLowerCase(std::string text);
std::optional<document::LineEnd> ParseLineEnd(const std::string& name);

// The text of --help; its lines of the options come from their table.
std::string Usage();

}  // namespace solvena::zkt
