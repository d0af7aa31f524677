// SPDX-License-Identifier: MIT
#include "cli/options.h"

#include <getopt.h>

#include <algorithm>
#include <cctype>
#include <charconv>

#include "cli/command_table.h"
#include "cli/option_table.h"

namespace solvena::zkt {

std::string AsciiLowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<document::Encoding> ParseEncoding(std::string name) {
    return document::EncodingKeyed(name);
}

std::optional<document::LineEnd> ParseLineEnd(const std::string& name) {
    return document::LineEndKeyed(name);
}

namespace {

ParsedOptions Fail(std::string why) {
    return {std::nullopt, std::move(why)};
}

// getopt_long's code of an option: its letter, or for one without a letter
// a number past every letter.
constexpr int kLongOnly = 256;

int CodeOf(std::size_t row) {
    const OptionRow& option = OptionTable()[row];
    return option.shortName != 0 ? option.shortName : kLongOnly + static_cast<int>(row);
}

std::size_t RowOf(int code) {
    const std::span<const OptionRow> table = OptionTable();
    if (code >= kLongOnly) {
        return static_cast<std::size_t>(code - kLongOnly);
    }
    return static_cast<std::size_t>(
        std::find_if(table.begin(), table.end(),
                     [code](const OptionRow& o) { return o.shortName == code; }) -
        table.begin());
}

// An option given to a command its row does not name: "--x belongs to
// recover". Asked after Misplaced, which words it for the options it knows.
std::optional<std::string> NotTaken(Command command, const std::vector<bool>& given) {
    for (std::size_t row = 0; row < given.size(); ++row) {
        const OptionRow& o = OptionTable()[row];
        if (given[row] && (o.commands & CommandBit(command)) == 0) {
            std::string takers;
            for (const CommandRow& entry : Commands()) {
                if ((o.commands & CommandBit(entry.command)) != 0) {
                    takers += (takers.empty() ? "" : " or ") + std::string(entry.name);
                }
            }
            return o.Name() + " belongs to " + takers;
        }
    }
    return std::nullopt;
}

// Options that belong to one command only.
std::optional<std::string> Misplaced(const Options& o, bool countGiven) {
    const bool recover = o.command == Command::Recover;
    if ((countGiven || o.passList) && !recover) {
        return std::string(countGiven ? "-n" : "--pass-list") + " belongs to recover";
    }
    if (recover && (o.passEntry || o.passFile)) {
        return "recover tries every pass number; it takes no -p or --pass-file";
    }
    if (o.passEntry && o.passFile) {
        return "give the pass number with -p or with --pass-file, not both";
    }
    if (recover && o.output != "-") {
        return "recover writes its candidates to standard output; it takes no -o";
    }
    if (o.findPass && (o.passEntry || o.passFile || o.force)) {
        return "--find-pass finds each file's pass number; it takes no -p, --pass-file or --force";
    }
    if (o.tsv && !recover) {
        return "--tsv belongs to recover";
    }
    if ((o.outputDir || o.overwrite) && recover) {
        return "recover writes to standard output; it takes no -O or --overwrite";
    }
    if (o.recursive && o.output != "-") {
        return "-o names one output file; with -r, -O DIR puts the outputs in a folder";
    }
    if (o.outputDir && o.output != "-") {
        return "give -o for one output file or -O for a folder of them, not both";
    }
    return std::nullopt;
}

// The command and the file from the arguments that are no options.
std::optional<std::string> SetCommand(Options& options, const std::vector<std::string>& positional,
                                      const std::vector<bool>& given) {
    if (positional.empty()) {
        return "missing command (" + CommandList() + ")";
    }
    const std::optional<Command> command = CommandNamed(positional[0]);
    if (!command) {
        return "unknown command '" + positional[0] + "' (use " + CommandList() + ")";
    }
    options.command = *command;
    if (std::optional<std::string> why = Misplaced(options, given[RowOf('n')])) {
        return why;
    }
    if (std::optional<std::string> why = NotTaken(options.command, given)) {
        return why;
    }
    options.inputs.assign(positional.begin() + 1, positional.end());
    if (options.inputs.size() > 1 && options.output != "-") {
        return "more than one input file for one output (-o); -O DIR puts each in a folder";
    }
    if (options.ManyFiles() &&
        std::find(options.inputs.begin(), options.inputs.end(), "-") != options.inputs.end()) {
        return "standard input (-) is one input; it cannot be among several files";
    }
    if (options.inputs.size() == 1) {
        options.input = options.inputs[0];
    }
    const bool empty = std::any_of(options.inputs.begin(), options.inputs.end(),
                                   [](const std::string& name) { return name.empty(); }) ||
                       options.output.empty() || (options.outputDir && options.outputDir->empty());
    if (empty) {
        return "empty file name";
    }
    return std::nullopt;
}

}  // namespace

constexpr const char* kUsageHead =
    "Usage: zkt encipher|decipher [-p ENTRY] [--encoding ENC] [--eol EOL] [-o OUT] [FILE]\n"
    "       zkt encipher|decipher [OPTIONS] [-r] [-O DIR] [--overwrite] FILE...\n"
    "       zkt decipher --find-pass [-r] [-O DIR] [--overwrite] FILE...\n"
    "       zkt recover [-n N] [--encoding ENC] [FILE]\n"
    "       zkt recover [--tsv] [-r] FILE...\n"
    "       zkt recover --pass-list\n"
    "       zkt seal [-p ENTRY | --find-pass] [--password-file FILE] [--armor] [-o OUT] [FILE]\n"
    "       zkt seal|unseal [OPTIONS] [-r] [-O DIR] [--overwrite] FILE...\n"
    "       zkt --help | --version\n"
    "\n"
    "Enciphers a plain document into one line of enciphered text, or deciphers\n"
    "it back, exactly as the desktop program Solvena does with Open, encipher\n"
    "or decipher, and Save. Deciphering refuses (exit 1, nothing written) when\n"
    "the input holds no enciphered text or the result does not look like text,\n"
    "as with a wrong pass number: when it is no text by itself (one character\n"
    "in 50 or more a control, a private-use or unassigned code point or a lone\n"
    "surrogate), or when it has at least 10 characters and another pass number\n"
    "gives a text at least 11 bits cheaper to write (2000 times as likely) than\n"
    "the result is as writing or as random characters such as a password, in\n"
    "any script. A shorter result is refused only when it is no text by itself.\n"
    "recover tries every pass number and prints the best first, one per line:\n"
    "PASS<Tab>SCORE<Tab>PREVIEW, SCORE from 0 to 1, PREVIEW the first 40\n"
    "characters with line breaks shown as \u23ce.\n"
    "seal keeps a text private in an OpenPGP password file, as gpg writes one\n"
    "for a password (AES-256, iterated and salted SHA-256, the integrity packet),\n"
    "which gpg and other OpenPGP programs open; unseal gives the text back, and\n"
    "writes nothing on a wrong password, a changed byte or a file cut short.\n"
    "A .zkt is sealed as its text (memo.zkt as memo.txt.gpg), deciphered on the\n"
    "way with its pass number as decipher writes it: seal --find-pass -r FOLDER\n"
    "moves a folder of old notes into password files, the text in no file.\n"
    "\n";

constexpr const char* kUsageTail =
    "\n"
    "FILE absent or -: standard input. The enciphered side is always ASCII with\n"
    "CR LF. Detection: a UTF-8 byte-order mark means UTF-8; else valid UTF-8 that\n"
    "holds a non-ASCII character is UTF-8; else valid CP932 (ASCII included) is\n"
    "CP932. A file whose line breaks are all LF has each LF end a line. The text\n"
    "is read a piece at a time: in a long file, a byte that contradicts its start\n"
    "(not UTF-8 after UTF-8, a CR after LF line ends) is an error at its offset.\n"
    "Exit status: 0 done, 1 file or data error (nothing written), 2 usage error.\n"
    "With several files, each is saved as one file is and told of on a line of\n"
    "its own, then a summary: 0 when every file is done, 1 when some were not\n"
    "(the others are done); Ctrl+C stops after the file being saved.\n"
    "recover: 0 when the best candidate is clearly ahead (its text is text by\n"
    "itself and at least 6 bits cheaper than the second's), 1 when no candidate\n"
    "looks like text or none is clearly ahead, 2 usage error.\n";

std::string Usage() {
    return kUsageHead + OptionHelp() + kUsageTail;
}

namespace {

// As GNU tools take them: long options may be abbreviated where that is
// unambiguous, and options may stand anywhere among the file names.
std::vector<struct option> LongOptions() {
    std::vector<struct option> options;
    for (std::size_t row = 0; row < OptionTable().size(); ++row) {
        const OptionRow& o = OptionTable()[row];
        if (o.longName != nullptr) {
            options.push_back({o.longName, o.valueName != nullptr ? required_argument : no_argument,
                               nullptr, CodeOf(row)});
        }
    }
    options.push_back({nullptr, 0, nullptr, 0});
    return options;
}

// ":p:o:O:n:rh": the letters, those that take a value with a colon.
std::string ShortOptions() {
    std::string letters = ":";
    for (const OptionRow& o : OptionTable()) {
        if (o.shortName != 0) {
            letters += o.shortName;
            letters += o.valueName != nullptr ? ":" : "";
        }
    }
    return letters;
}

// Why an option was not taken, as the person wrote it.
std::string Unknown(const std::string& written, int shortOption) {
    if (shortOption != 0 && written.starts_with("--")) {
        return "option '" + written.substr(0, written.find('=')) + "' takes no value";
    }
    if (shortOption != 0) {
        return "unknown option '-" + std::string(1, static_cast<char>(shortOption)) + "'";
    }
    const std::string name = written.substr(2, written.find('=') - 2);
    std::string matches;
    for (const OptionRow& o : OptionTable()) {
        if (o.longName != nullptr && std::string_view(o.longName).starts_with(name)) {
            matches += (matches.empty() ? "--" : ", --") + std::string(o.longName);
        }
    }
    return matches.empty() || name.empty() ? "unknown option '" + written + "'"
                                           : "ambiguous option '" + written + "' (" + matches + ")";
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
    Options options;
    std::vector<bool> given(OptionTable().size(), false);
    std::vector<std::string> storage{"zkt"};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : storage) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(storage.size());
    const std::vector<struct option> longOptions = LongOptions();
    const std::string shortOptions = ShortOptions();
    opterr = 0;
    optind = 0;  // a fresh scan, every time
    for (int code = 0; (code = getopt_long(argc, argv.data(), shortOptions.c_str(),
                                           longOptions.data(), nullptr)) != -1;) {
        const std::string written = argv[static_cast<std::size_t>(optind) - 1];
        if (code == '?') {
            return Fail(Unknown(written, optopt));
        }
        if (code == ':') {
            return Fail("option '" + written.substr(0, written.find('=')) + "' needs a value");
        }
        const std::size_t row = RowOf(code);
        const OptionRow& option = OptionTable()[row];
        if (std::optional<std::string> why =
                option.set(options, option.valueName != nullptr ? optarg : "")) {
            return Fail(std::move(*why));
        }
        if (option.alone) {
            return {options, {}};
        }
        given[row] = true;
    }
    // getopt_long has moved the file names, in their order, behind the options.
    const std::vector<std::string> positional(argv.begin() + optind, argv.end() - 1);
    if (std::optional<std::string> why = SetCommand(options, positional, given)) {
        return Fail(std::move(*why));
    }
    return {options, {}};
}

}  // namespace solvena::zkt
