// SPDX-License-Identifier: MIT
#include "cli/options.h"

#include <getopt.h>

#include <algorithm>
#include <cctype>
#include <charconv>

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

std::optional<std::size_t> ParseCount(const std::string& text) {
    std::size_t count = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, count);
    if (ec != std::errc() || ptr != end || count == 0) {
        return std::nullopt;
    }
    return count;
}

std::optional<Command> CommandNamed(const std::string& name) {
    if (name == "encipher") {
        return Command::Encipher;
    }
    if (name == "decipher") {
        return Command::Decipher;
    }
    if (name == "recover") {
        return Command::Recover;
    }
    return std::nullopt;
}

// Options that belong to one command only.
std::optional<std::string> Misplaced(const Options& o, bool countGiven) {
    const bool recover = o.command == Command::Recover;
    if (o.force && o.command != Command::Decipher) {
        return "--force belongs to decipher";
    }
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
    if (o.findPass && (o.command != Command::Decipher || o.passEntry || o.passFile || o.force)) {
        return "--find-pass belongs to decipher, which then takes no -p, --pass-file or --force";
    }
    if (o.tsv && !recover) {
        return "--tsv belongs to recover";
    }
    if ((o.outputDir || o.overwrite) && recover) {
        return "recover writes to standard output; it takes no -O or --overwrite";
    }
    if (o.outputDir && o.output != "-") {
        return "give -o for one output file or -O for a folder of them, not both";
    }
    return std::nullopt;
}

// The value of an option that takes one; why it is not usable, if it is not.
std::optional<std::string> SetValue(Options& options, const std::string& name,
                                    const std::string& value, bool& countGiven) {
    if (name == "-p") {
        options.passEntry = value;
    } else if (name == "--pass-file") {
        options.passFile = value;
    } else if (name == "-o") {
        options.output = value;
    } else if (name == "-O") {
        options.outputDir = value;
    } else if (name == "-n") {
        const std::optional<std::size_t> count = ParseCount(value);
        if (!count) {
            return "-n needs a whole number of 1 or more, not '" + value + "'";
        }
        options.candidates = *count;
        countGiven = true;
    } else if (name == "--eol") {
        options.eol = ParseLineEnd(value);
        if (!options.eol) {
            return "unknown line end '" + value + "' (use crlf or lf)";
        }
    } else {
        options.encoding = ParseEncoding(value);
        if (!options.encoding) {
            return "unknown encoding '" + value + "' (use cp932, utf-8 or utf-16le)";
        }
    }
    return std::nullopt;
}

// The command and the file from the arguments that are no options.
std::optional<std::string> SetCommand(Options& options, const std::vector<std::string>& positional,
                                      bool countGiven) {
    if (positional.empty()) {
        return "missing command (encipher, decipher or recover)";
    }
    const std::optional<Command> command = CommandNamed(positional[0]);
    if (!command) {
        return "unknown command '" + positional[0] + "' (use encipher, decipher or recover)";
    }
    options.command = *command;
    if (std::optional<std::string> why = Misplaced(options, countGiven)) {
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

const char* const kUsage =
    "Usage: zkt encipher|decipher [-p ENTRY] [--encoding ENC] [--eol EOL] [-o OUT] [FILE]\n"
    "       zkt encipher|decipher [OPTIONS] [-r] [-O DIR] [--overwrite] FILE...\n"
    "       zkt decipher --find-pass [-r] [-O DIR] [--overwrite] FILE...\n"
    "       zkt recover [-n N] [--encoding ENC] [FILE]\n"
    "       zkt recover [--tsv] [-r] FILE...\n"
    "       zkt recover --pass-list\n"
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
    "\n"
    "  -p, --pass ENTRY     the pass number, as typed into the pass-number dialog\n"
    "                       (at most four characters, such as 1234); other users\n"
    "                       can see it in the process list: prefer --pass-file or\n"
    "                       the prompt, which asks on the terminal without echo\n"
    "                       (twice when enciphering) when neither is given\n"
    "  --pass-file FILE     read the pass number from the first line of FILE\n"
    "  -o, --output OUT     where to write the result (default, or -: standard output)\n"
    "  --encoding ENC       encoding of the plain side: cp932, utf-8 or utf-16le\n"
    "                       (default: detected on reading; cp932 on writing, or the\n"
    "                       terminal's encoding when standard output is a terminal;\n"
    "                       recover: the terminal's encoding for the previews)\n"
    "  --eol EOL            line end of the plain side: crlf or lf (default: detected\n"
    "                       on reading; crlf on writing, lf to a terminal)\n"
    "  --force              decipher: write the result even when it does not look\n"
    "                       like text\n"
    "  -n N                 recover: print the N best candidates (default 5)\n"
    "  -r, --recursive      the files in folders given, and in their subfolders:\n"
    "                       *.txt to encipher, *.zkt to decipher or recover\n"
    "  -O, --target-dir DIR with several files: put the outputs under DIR, by their\n"
    "                       paths in the folders given (default: beside each input,\n"
    "                       memo.txt and memo.zkt)\n"
    "  --overwrite          with several files: write over outputs that exist\n"
    "  --find-pass          decipher: each file with the pass number recover finds\n"
    "                       clearly ahead for it; files without one are listed\n"
    "  --tsv                recover: one line per file, FILE<Tab>PASS<Tab>SCORE<Tab>\n"
    "                       clear|unclear<Tab>PREVIEW (also with several files)\n"
    "  --pass-list          recover: print every pass number tried, once, as\n"
    "                       VALUE<Tab>ENTRY, and nothing else\n"
    "  -h, --help           show this help\n"
    "  --version            show the version\n"
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

namespace {

// Values of the long options without a short form.
enum LongOnly : int {
    kVersion = 256,
    kEncoding,
    kEol,
    kForce,
    kPassList,
    kPassFile,
    kOverwrite,
    kFindPass,
    kTsv,
};

// As GNU tools take them: long options may be abbreviated where that is
// unambiguous, and options may stand anywhere among the file names.
constexpr struct option kLongOptions[] = {
    {"pass", required_argument, nullptr, 'p'},
    {"pass-file", required_argument, nullptr, kPassFile},
    {"output", required_argument, nullptr, 'o'},
    {"encoding", required_argument, nullptr, kEncoding},
    {"eol", required_argument, nullptr, kEol},
    {"force", no_argument, nullptr, kForce},
    {"pass-list", no_argument, nullptr, kPassList},
    {"recursive", no_argument, nullptr, 'r'},
    {"target-dir", required_argument, nullptr, 'O'},
    {"overwrite", no_argument, nullptr, kOverwrite},
    {"find-pass", no_argument, nullptr, kFindPass},
    {"tsv", no_argument, nullptr, kTsv},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

// An option without a value.
void SetFlag(Options& options, int code) {
    switch (code) {
        case kForce:
            options.force = true;
            break;
        case kPassList:
            options.passList = true;
            break;
        case 'r':
            options.recursive = true;
            break;
        case kOverwrite:
            options.overwrite = true;
            break;
        case kFindPass:
            options.findPass = true;
            break;
        default:
            options.tsv = true;
            break;
    }
}

// The name SetValue knows an option with a value by.
std::string ValueOptionName(int code) {
    switch (code) {
        case kPassFile:
            return "--pass-file";
        case kEncoding:
            return "--encoding";
        case kEol:
            return "--eol";
        case 'O':
            return "-O";
        default:
            return std::string("-") + static_cast<char>(code);
    }
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
    for (const struct option& o : kLongOptions) {
        if (o.name != nullptr && std::string_view(o.name).starts_with(name)) {
            matches += (matches.empty() ? "--" : ", --") + std::string(o.name);
        }
    }
    return matches.empty() || name.empty() ? "unknown option '" + written + "'"
                                           : "ambiguous option '" + written + "' (" + matches + ")";
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
    Options options;
    bool countGiven = false;
    std::vector<std::string> storage{"zkt"};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : storage) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(storage.size());
    opterr = 0;
    optind = 0;  // a fresh scan, every time
    for (;;) {
        const int code = getopt_long(argc, argv.data(), ":p:o:O:n:rh", kLongOptions, nullptr);
        if (code == -1) {
            break;
        }
        const std::string written = argv[static_cast<std::size_t>(optind) - 1];
        switch (code) {
            case 'h':
                options.command = Command::Help;
                return {options, {}};
            case kVersion:
                options.command = Command::Version;
                return {options, {}};
            case kForce:
            case kPassList:
            case 'r':
            case kOverwrite:
            case kFindPass:
            case kTsv:
                SetFlag(options, code);
                break;
            case '?':
                return Fail(Unknown(written, optopt));
            case ':':
                return Fail("option '" + written.substr(0, written.find('=')) + "' needs a value");
            default:
                if (std::optional<std::string> why =
                        SetValue(options, ValueOptionName(code), optarg, countGiven)) {
                    return Fail(std::move(*why));
                }
        }
    }
    // getopt_long has moved the file names, in their order, behind the options.
    const std::vector<std::string> positional(argv.begin() + optind, argv.end() - 1);
    if (std::optional<std::string> why = SetCommand(options, positional, countGiven)) {
        return Fail(std::move(*why));
    }
    return {options, {}};
}

}  // namespace solvena::zkt
