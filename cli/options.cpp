#include "options.h"

#include <algorithm>
#include <cctype>

namespace solvena::zkt {
namespace {

std::optional<files::Encoding> ParseEncoding(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name == "cp932") {
        return files::Encoding::Cp932;
    }
    if (name == "utf-8") {
        return files::Encoding::Utf8;
    }
    if (name == "utf-16le") {
        return files::Encoding::Utf16le;
    }
    return std::nullopt;
}

std::optional<files::LineEnd> ParseLineEnd(const std::string& name) {
    if (name == "crlf") {
        return files::LineEnd::CrLf;
    }
    if (name == "lf") {
        return files::LineEnd::Lf;
    }
    return std::nullopt;
}

ParsedOptions Fail(std::string why) {
    return {std::nullopt, std::move(why)};
}

}  // namespace

const char* const kUsage =
    "Usage: zkt encipher|decipher [-p ENTRY] [--encoding ENC] [--eol EOL] [-o OUT] [FILE]\n"
    "       zkt --help | --version\n"
    "\n"
    "Enciphers a plain document into one line of enciphered text, or deciphers\n"
    "it back, exactly as the desktop program Solvena does with Open, encipher\n"
    "or decipher, and Save.\n"
    "\n"
    "  -p, --pass ENTRY     the pass number, as typed into the pass-number dialog\n"
    "                       (at most four characters, such as 1234); asked for on\n"
    "                       the terminal without echo when not given\n"
    "  -o, --output OUT     where to write the result (default, or -: standard output)\n"
    "  --encoding ENC       encoding of the plain side: cp932, utf-8 or utf-16le\n"
    "                       (default: detected on reading; cp932 on writing, or the\n"
    "                       terminal's encoding when standard output is a terminal)\n"
    "  --eol EOL            line end of the plain side: crlf or lf (default: detected\n"
    "                       on reading; crlf on writing, lf to a terminal)\n"
    "  -h, --help           show this help\n"
    "  --version            show the version\n"
    "\n"
    "FILE absent or -: standard input. The enciphered side is always ASCII with\n"
    "CR LF. Detection: a UTF-8 byte-order mark means UTF-8; else valid UTF-8 that\n"
    "holds a non-ASCII character is UTF-8; else valid CP932 (ASCII included) is\n"
    "CP932. A file whose line breaks are all LF has each LF end a line.\n"
    "Exit status: 0 done, 1 file or data error (nothing written), 2 usage error.\n";

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
    Options options;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            options.command = Command::Help;
            return {options, {}};
        }
        if (arg == "--version") {
            options.command = Command::Version;
            return {options, {}};
        }
        // Options with a value: "-p V", "-pV", "--pass V", "--pass=V".
        std::string name = arg;
        std::optional<std::string> value;
        if (arg.starts_with("--")) {
            const std::size_t equals = arg.find('=');
            if (equals != std::string::npos) {
                name = arg.substr(0, equals);
                value = arg.substr(equals + 1);
            }
        } else if (arg.size() > 2) {
            name = arg.substr(0, 2);
            value = arg.substr(2);
        }
        const bool isPass = name == "-p" || name == "--pass";
        const bool isOutput = name == "-o" || name == "--output";
        const bool isEncoding = name == "--encoding";
        const bool isEol = name == "--eol";
        if (!isPass && !isOutput && !isEncoding && !isEol) {
            return Fail("unknown option '" + arg + "'");
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                return Fail("option '" + name + "' needs a value");
            }
            value = args[++i];
        }
        if (isPass) {
            options.passEntry = *value;
        } else if (isOutput) {
            options.output = *value;
        } else if (isEol) {
            options.eol = ParseLineEnd(*value);
            if (!options.eol) {
                return Fail("unknown line end '" + *value + "' (use crlf or lf)");
            }
        } else {
            options.encoding = ParseEncoding(*value);
            if (!options.encoding) {
                return Fail("unknown encoding '" + *value + "' (use cp932, utf-8 or utf-16le)");
            }
        }
    }
    if (positional.empty()) {
        return Fail("missing command (encipher or decipher)");
    }
    if (positional[0] == "encipher") {
        options.command = Command::Encipher;
    } else if (positional[0] == "decipher") {
        options.command = Command::Decipher;
    } else {
        return Fail("unknown command '" + positional[0] + "' (use encipher or decipher)");
    }
    if (positional.size() > 2) {
        return Fail("more than one input file");
    }
    if (positional.size() == 2) {
        options.input = positional[1];
    }
    if (options.input.empty() || options.output.empty()) {
        return Fail("empty file name");
    }
    return {options, {}};
}

}  // namespace solvena::zkt
