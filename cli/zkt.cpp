#include "zkt.h"

#include <cstdint>
#include <new>
#include <string_view>

#include "cipher.h"
#include "document_file.h"
#include "file_io.h"
#include "options.h"
#include "quoted_name.h"
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

// Writes a text to standard output, or says why it could not be written.
int PrintText(const Environment& env, std::string_view text) {
    const files::Status written = files::WriteAll(env.output, text, kStandardOutput);
    return written ? kSuccess : FileFailure(env, written.error(), kStandardOutput);
}

// The bytes of the output: the input enciphered or deciphered by `pass`.
files::Result<std::string> Transform(const Options& options, const std::u16string& text,
                                     std::int16_t pass, const std::string& outputName) {
    if (options.command == Command::Encipher) {
        // Enciphered text is ASCII, the same bytes in code page 932: the
        // writing rule is only the line end after it, without converting
        // hundreds of megabytes twice.
        std::string result = cipher::EncipherText(text, pass);
        result += "\r\n";
        return result;
    }
    const std::u16string plain = cipher::DecipherText(text, pass);
    return files::EncodeDocument(plain, options.encoding.value_or(files::Encoding::Cp932),
                                 outputName);
}

int Execute(const Options& options, const Environment& env) {
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
    const std::optional<files::Encoding> inputEncoding = encipher ? options.encoding : std::nullopt;
    files::Result<std::u16string> text =
        files::DecodeDocument(bytes.value(), inputEncoding, inputName);
    if (!text) {
        return FileFailure(env, text.error(), inputName);
    }
    bytes.value().clear();
    bytes.value().shrink_to_fit();

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
    files::Result<std::string> result = Transform(options, text.value(), *pass, outputName);
    if (!result) {
        return FileFailure(env, result.error(), outputName);
    }
    const files::Status written = toStdout ? files::WriteAll(env.output, result.value(), outputName)
                                           : files::WriteFileSafely(options.output, result.value());
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
