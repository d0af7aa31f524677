// SPDX-License-Identifier: MIT
#include "zkt.h"

#include <cstdint>
#include <new>
#include <string_view>

#include "cipher.h"
#include "document_file.h"
#include "file_io.h"
#include "options.h"
#include "quoted_name.h"
#include "recover_command.h"
#include "version.h"

namespace solvena::zkt {
namespace {

constexpr const char* kStandardInput = "standard input";
constexpr const char* kStandardOutput = "standard output";

void Say(const Environment& env, const std::string& text) {
    [[maybe_unused]] files::Status said = files::WriteAll(env.error, text, "standard error");
}

int UsageError(const Environment& env, const std::string& why) {
    Say(env, "zkt: " + why + "\nTry 'zkt --help' for more information.\n");
    return kUsageError;
}

// A file's name as a message shows it; the standard streams by their names.
std::string Shown(const std::string& name) {
    return name == kStandardInput || name == kStandardOutput ? name : files::QuotedName(name);
}

int FileFailure(const Environment& env, const files::FileError& error, const std::string& name) {
    std::string line = "zkt: " + Shown(name) + ": " + error.Describe();
    if (error.kind == files::FileError::Kind::Unrepresentable) {
        line += "; write it with --encoding utf-8 or utf-16le";
    }
    Say(env, line + "\n");
    return kDataError;
}

// Arguments arrive as UTF-8 bytes; full-width digits must reach the entry rule.
std::optional<std::u16string> FromUtf8(const std::string& bytes) {
    files::Decoded decoded = files::Decode(bytes, files::Encoding::Utf8);
    if (!decoded.ok) {
        return std::nullopt;
    }
    return std::move(decoded.text);
}

std::optional<std::int16_t> PassFromEntry(const std::string& entry, std::string& why) {
    const std::optional<std::u16string> text = FromUtf8(entry);
    const std::optional<std::int16_t> pass = text ? cipher::ReadPassEntry(*text) : std::nullopt;
    if (!pass) {
        why = "'" + entry +
              "' is not a pass number (a number of at most four characters, such as 1234)";
        return std::nullopt;
    }
    if (*pass == -1) {
        why = "-1 is not a pass number (it stands for no number)";
        return std::nullopt;
    }
    return pass;
}

// The pass-number entry kept in a file: its first line, without the line
// end (so that it never shows in the process list).
files::Result<std::string> FirstLine(const std::string& path) {
    files::Result<std::string> bytes = files::ReadWholeFile(path);
    if (!bytes) {
        return bytes;
    }
    std::string line = bytes.value().substr(0, bytes.value().find('\n'));
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    return line;
}

// Asks on the terminal; an entry for enciphering twice, as a mistyped one
// would make the text unreadable with the number meant.
std::optional<std::int16_t> AskPass(const Environment& env, bool twice, std::string& why) {
    const std::optional<std::string> typed =
        env.askPass ? env.askPass("Pass number: ") : std::nullopt;
    if (!typed) {
        why = "no pass number: give one with -p or --pass-file (no terminal to ask on)";
        return std::nullopt;
    }
    if (twice) {
        const std::optional<std::string> again = env.askPass("Pass number again: ");
        if (again != typed) {
            why = "the two pass numbers typed differ; nothing written";
            return std::nullopt;
        }
    }
    return PassFromEntry(*typed, why);
}

// How deciphered text is written: as asked; else readable on a terminal
// (its encoding, LF); else as the desktop program saves (CP932, CR LF).
files::TextFormat PlainFormat(const Options& options, std::optional<files::Encoding> terminal) {
    if (terminal && !options.encoding) {
        return files::TextFormat(*terminal, options.eol.value_or(files::LineEnd::Lf));
    }
    return files::TextFormat(options.encoding.value_or(files::Encoding::Cp932),
                             options.eol.value_or(files::LineEnd::CrLf));
}

void WarnOfLookAlikes(const Environment& env, std::u16string_view plain, const std::string& name) {
    const std::optional<files::LookAlikes> found = files::FindLookAlikes(plain);
    if (!found) {
        return;
    }
    Say(env, "zkt: warning: " + name + ": " + std::to_string(found->count) +
                 " character(s) become others in CP932 (first at line " +
                 std::to_string(found->line) + ", column " + std::to_string(found->column) + ": " +
                 files::CodePointName(found->first) + " becomes " +
                 files::CodePointName(found->becomes) + "); use --encoding utf-8 to keep them\n");
}

// Why a deciphered text is not written, or nothing when it may be.
std::optional<std::string> Refusal(std::u16string_view enciphered, std::int16_t pass,
                                   std::u16string_view plain, const std::string& inputName,
                                   bool fromStdin) {
    switch (cipher::JudgeDecipherment(enciphered, pass, plain)) {
        case cipher::Decipherment::Plausible:
            return std::nullopt;
        case cipher::Decipherment::NothingEnciphered:
            return "zkt: " + inputName + ": holds no enciphered text; nothing written\n";
        default: {
            const std::string recover = fromStdin ? "zkt recover" : "zkt recover " + inputName;
            return "zkt: " + inputName +
                   ": the result does not look like text: wrong pass number? (try " + recover +
                   "; --force writes it anyway)\n";
        }
    }
}

// Writes a text to standard output, or says why it could not be written.
int PrintText(const Environment& env, std::string_view text) {
    const files::Status written = files::WriteAll(env.output, text, kStandardOutput);
    return written ? kSuccess : FileFailure(env, written.error(), kStandardOutput);
}

// Where the text comes from and goes to, as messages name them.
struct Names {
    std::string input;
    std::string output;
    bool fromStdin = false;
    bool toStdout = false;
};

// The bytes of the deciphered text, checked first; nothing when it is not
// to be written (the reason said, `status` set).
std::optional<std::string> Decipher(const Options& options, const Environment& env,
                                    std::u16string_view enciphered, std::int16_t pass,
                                    const Names& names, int& status) {
    const std::u16string plain = cipher::DecipherText(enciphered, pass);
    if (!options.force) {
        if (const std::optional<std::string> refused =
                Refusal(enciphered, pass, plain, Shown(names.input), names.fromStdin)) {
            Say(env, *refused);
            status = kDataError;
            return std::nullopt;
        }
    }
    const bool terminal = names.toStdout && env.outputIsTerminal;
    const files::TextFormat format =
        PlainFormat(options, terminal ? std::optional(env.terminal) : std::nullopt);
    files::Result<std::string> encoded = files::EncodeDocument(plain, format, names.output);
    if (!encoded) {
        status = FileFailure(env, encoded.error(), names.output);
        return std::nullopt;
    }
    if (format.encoding == files::Encoding::Cp932) {
        WarnOfLookAlikes(env, plain, Shown(names.output));
    }
    return std::move(encoded.value());
}

int Execute(const Options& options, const Environment& env) {
    if (options.command == Command::Recover && options.passList) {
        return PrintText(env, PassList());
    }
    std::string why;
    std::optional<std::int16_t> pass;
    std::optional<std::string> entry = options.passEntry;
    if (options.passFile) {
        files::Result<std::string> line = FirstLine(*options.passFile);
        if (!line) {
            return FileFailure(env, line.error(), *options.passFile);
        }
        entry = std::move(line.value());
    }
    if (entry) {
        pass = PassFromEntry(*entry, why);
        if (!pass) {
            return UsageError(env, why);
        }
    }

    const bool fromStdin = options.input == "-";
    const std::string inputName = fromStdin ? kStandardInput : options.input;
    files::Result<std::string> bytes =
        fromStdin ? files::ReadAll(env.input, inputName) : files::ReadWholeFile(options.input);
    if (!bytes) {
        return FileFailure(env, bytes.error(), inputName);
    }
    // The enciphered side is ASCII and is read like any document file.
    const bool encipher = options.command == Command::Encipher;
    const files::ReadChoice inputChoice =
        encipher ? files::ReadChoice(options.encoding, options.eol) : files::ReadChoice();
    files::Result<files::Document> text =
        files::DecodeDocument(bytes.value(), inputChoice, inputName);
    if (!text) {
        return FileFailure(env, text.error(), inputName);
    }
    bytes.value().clear();
    bytes.value().shrink_to_fit();
    if (options.command == Command::Recover) {
        return Recover(options, env, text.value().text, inputName);
    }

    if (!pass) {
        pass = AskPass(env, encipher, why);
        if (!pass) {
            return UsageError(env, why);
        }
    }

    const bool toStdout = options.output == "-";
    const std::string outputName = toStdout ? kStandardOutput : options.output;
    std::string result;
    if (encipher) {
        // Enciphered text is ASCII, the same bytes in code page 932: the
        // writing rule is only the line end after it, without converting
        // hundreds of megabytes twice.
        result = cipher::EncipherText(text.value().text, *pass);
        result += "\r\n";
    } else {
        int status = kSuccess;
        std::optional<std::string> deciphered =
            Decipher(options, env, text.value().text, *pass,
                     {inputName, outputName, fromStdin, toStdout}, status);
        if (!deciphered) {
            return status;
        }
        result = std::move(*deciphered);
    }
    const files::Status written = toStdout ? files::WriteAll(env.output, result, outputName)
                                           : files::WriteFileSafely(options.output, result);
    if (!written) {
        return FileFailure(env, written.error(), outputName);
    }
    return kSuccess;
}

}  // namespace

int Run(const std::vector<std::string>& args, const Environment& env) {
    const ParsedOptions parsed = ParseOptions(args);
    if (!parsed.options) {
        return UsageError(env, parsed.error);
    }
    const Options& options = *parsed.options;
    if (options.command == Command::Help) {
        return PrintText(env, kUsage);
    }
    if (options.command == Command::Version) {
        return PrintText(env, std::string("zkt ") + kVersionText + "\n");
    }
    try {
        return Execute(options, env);
    } catch (const std::bad_alloc&) {
        // Reading, converting or ciphering a text too large for memory.
        const std::string input = options.input == "-" ? kStandardInput : options.input;
        return FileFailure(env, files::OutOfMemory(input), input);
    }
}

}  // namespace solvena::zkt
