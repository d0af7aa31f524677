#include "zkt.h"

#include <cstdint>
#include <string_view>

#include "cipher.h"
#include "document_file.h"
#include "file_io.h"
#include "options.h"
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

int FileFailure(const Environment& env, const files::FileError& error, const std::string& name) {
    std::string line = "zkt: " + name + ": " + error.Describe();
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

}  // namespace

int Run(const std::vector<std::string>& args, const Environment& env) {
    const ParsedOptions parsed = ParseOptions(args);
    if (!parsed.options) {
        return UsageError(env, parsed.error);
    }
    const Options& options = *parsed.options;
    if (options.command == Command::Help) {
        return files::WriteAll(env.output, kUsage, kStandardOutput) ? kSuccess : kDataError;
    }
    if (options.command == Command::Version) {
        const std::string line = std::string("zkt ") + kVersionText + "\n";
        return files::WriteAll(env.output, line, kStandardOutput) ? kSuccess : kDataError;
    }

    if (options.command == Command::Recover && options.passList) {
        return files::WriteAll(env.output, PassList(), kStandardOutput) ? kSuccess : kDataError;
    }

    std::string why;
    std::optional<std::int16_t> pass;
    if (options.passEntry) {
        pass = PassFromEntry(*options.passEntry, why);
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
        const std::optional<std::string> typed = env.askPass ? env.askPass() : std::nullopt;
        if (!typed) {
            return UsageError(env, "no pass number: give one with -p (no terminal to ask on)");
        }
        pass = PassFromEntry(*typed, why);
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
        const std::u16string plain = cipher::DecipherText(text.value().text, *pass);
        if (!options.force) {
            if (const std::optional<std::string> refused =
                    Refusal(text.value().text, *pass, plain, inputName, fromStdin)) {
                Say(env, *refused);
                return kDataError;
            }
        }
        const files::TextFormat format = PlainFormat(
            options, toStdout && env.outputIsTerminal ? std::optional(env.terminal) : std::nullopt);
        files::Result<std::string> encoded = files::EncodeDocument(plain, format, outputName);
        if (!encoded) {
            return FileFailure(env, encoded.error(), outputName);
        }
        if (format.encoding == files::Encoding::Cp932) {
            WarnOfLookAlikes(env, plain, outputName);
        }
        result = std::move(encoded.value());
    }

    const files::Status written = toStdout ? files::WriteAll(env.output, result, outputName)
                                           : files::WriteFileSafely(options.output, result);
    if (!written) {
        return FileFailure(env, written.error(), outputName);
    }
    return kSuccess;
}

}  // namespace solvena::zkt
