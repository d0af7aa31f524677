// SPDX-License-Identifier: MIT
#include "cli/zkt.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <new>
#include <string_view>

#include "cipher/cipher.h"
#include "cli/cipher_streams.h"
#include "cli/command_table.h"
#include "cli/many_files.h"
#include "cli/messages.h"
#include "cli/one_file.h"
#include "cli/options.h"
#include "cli/output_rules.h"
#include "cli/pass_entries.h"
#include "cli/recover_command.h"
#include "cli/refusals.h"
#include "document/document_file.h"
#include "files/file_io.h"
#include "resources/version.h"

namespace solvena::zkt {
namespace {

int UsageError(const Environment& env, const std::string& why) {
    Say(env, "zkt: " + why + "\nTry 'zkt --help' for more information.\n");
    return kUsageError;
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

// The pass number asked on the terminal when none was given; kSuccess, or
// the exit status of a usage error, which has been said.
int AskIfMissing(const Environment& env, bool twice, std::optional<std::int16_t>& pass) {
    if (pass) {
        return kSuccess;
    }
    std::string why;
    pass = AskPass(env, twice, why);
    return pass ? kSuccess : UsageError(env, why);
}

// How deciphered text is written: as asked; else readable on a terminal
// (its encoding, LF); else as the desktop program saves (CP932, CR LF).
document::TextFormat PlainFormat(const Options& options,
                                 std::optional<document::Encoding> terminal) {
    if (terminal && !options.encoding) {
        return document::TextFormat(*terminal, options.eol.value_or(document::LineEnd::Lf));
    }
    return document::TextFormat(options.encoding.value_or(document::Encoding::Cp932),
                                options.eol.value_or(document::LineEnd::CrLf));
}

void WarnOfLookAlikes(const Environment& env, const std::optional<document::LookAlikes>& found,
                      const std::string& name) {
    if (!found) {
        return;
    }
    Say(env, "zkt: warning: " + name + ": " + std::to_string(found->count) +
                 " character(s) become others in CP932 (first at line " +
                 std::to_string(found->line) + ", column " + std::to_string(found->column) + ": " +
                 files::CodePointName(found->first) + " becomes " +
                 files::CodePointName(found->becomes) + "); use --encoding utf-8 to keep them\n");
}

// Writes a text to standard output, or says why it could not be written.
int PrintText(const Environment& env, std::string_view text) {
    const files::Status written = files::WriteAll(STDOUT_FILENO, text, kStandardOutput);
    return written ? kSuccess : FileFailure(env, written.error());
}

// The pass number given with -p or --pass-file, if any; kSuccess, or the
// exit status of a failure, which has been said.
int GivenPass(const Options& options, const Environment& env, std::optional<std::int16_t>& pass) {
    std::optional<std::string> entry = options.passEntry;
    if (options.passFile) {
        files::Result<std::string> line = FirstLine(*options.passFile);
        if (!line) {
            return FileFailure(env, line.error());
        }
        entry = std::move(line.value());
    }
    if (entry) {
        std::string why;
        pass = PassFromEntry(*entry, why);
        if (!pass) {
            return UsageError(env, why);
        }
    }
    return kSuccess;
}

int RecoverFrom(const Options& options, const Environment& env, int fd, const Names& names) {
    files::Result<std::string> bytes = files::ReadAll(fd, names.input);
    if (!bytes) {
        return FileFailure(env, bytes.error());
    }
    files::Result<document::Document> text =
        document::DecodeDocument(bytes.value(), {}, names.input);
    if (!text) {
        return FileFailure(env, text.error());
    }
    bytes.value().clear();
    bytes.value().shrink_to_fit();
    return Recover(options, env, text.value().text, names.input);
}

// A decipherment is judged on the whole input as it is written, and
// refused before the output is put in place; what the opening shows is said
// before anything is written. The exit status of a refusal, if any.
std::optional<int> StartJudging(const Options& options, const Environment& env, Input& input,
                                std::int16_t pass, const Names& names,
                                std::optional<ranking::DecipherJudge>& judge) {
    if (CommandRowOf(options.command).enciphers || options.force) {
        return std::nullopt;
    }
    judge.emplace(pass);
    judge->FeedEnciphered(input.opening);
    if (const std::optional<std::string> refused = EarlyRefusal(*judge, input, names)) {
        Say(env, *refused);
        return kDataError;
    }
    return std::nullopt;
}

// Says why the output was not written, or not all of it.
int WriteFailure(const Environment& env, const files::FileError& error, const Names& names,
                 std::optional<ranking::DecipherJudge>& judge, bool streamed) {
    if (error.kind == files::FileError::Kind::Abandoned && judge) {
        Say(env, *Refusal(*judge, names, streamed ? kWrittenBeforeTheEnd : kNothingWritten));
        return kDataError;
    }
    const bool midway =
        error.path != kStandardOutput || error.kind == files::FileError::Kind::Unrepresentable;
    return FileFailure(
        env, error,
        names.toStdout && midway ? "; standard output has only the text before it" : "");
}

// What a good decipherment still tells: look-alikes written as others, text
// after the end marker left out.
void WarnAfterDeciphering(const Environment& env, const Names& names,
                          const document::TextFormat& format,
                          const document::DocumentWriter& writer,
                          const std::optional<ranking::DecipherJudge>& judge) {
    if (format.encoding == document::Encoding::Cp932) {
        WarnOfLookAlikes(env, writer.FoundLookAlikes(), Shown(names.output));
    }
    if (judge && judge->Evidence().afterEnd) {
        Say(env, "zkt: warning: " + Shown(names.input) + ": " +
                     DescribeDamage(*judge->Evidence().afterEnd, judge->Evidence().severalLines) +
                     " is left out, as deciphering stops at the marker\n");
    }
}

// Reads, ciphers and writes the text a piece at a time.
int Stream(const Options& options, const Environment& env, Input& input,
           std::optional<std::int16_t> pass, const Names& names, const files::NewFileRules& rules,
           const OutputWrap& wrap) {
    const bool encipher = CommandRowOf(options.command).enciphers;
    files::Status opened = ReadOpening(input);
    if (!opened) {
        return FileFailure(env, opened.error());
    }
    if (const int status = AskIfMissing(env, encipher, pass); status != kSuccess) {
        return status;
    }
    std::optional<ranking::DecipherJudge> judge;
    if (const std::optional<int> refused = StartJudging(options, env, input, *pass, names, judge)) {
        return *refused;
    }
    // Standard output gets the text as it goes once it is longer than the opening.
    const bool streamed = names.toStdout && input.more;
    const bool terminal = names.toStdout && env.outputIsTerminal;
    const document::TextFormat format =
        PlainFormat(options, terminal ? std::optional(env.terminal) : std::nullopt);
    document::DocumentWriter writer(format, names.output);
    files::ContentWriter write = [&](int fd) {
        return encipher ? EncipherInto(fd, input, *pass, names.output)
                        : DecipherInto(fd, input, *pass, writer, names.output,
                                       judge ? &*judge : nullptr);
    };
    if (wrap) {
        write = wrap(std::move(write));
    }
    const files::Status written = names.toStdout
                                      ? write(STDOUT_FILENO)
                                      : files::WriteFileSafely(options.output, write, rules);
    if (!written) {
        return WriteFailure(env, written.error(), names, judge, streamed);
    }
    if (!encipher) {
        WarnAfterDeciphering(env, names, format, writer, judge);
    }
    return kSuccess;
}

}  // namespace

int ObtainPass(const Options& options, const Environment& env, bool twice,
               std::optional<std::int16_t>& pass) {
    if (const int status = GivenPass(options, env, pass); status != kSuccess) {
        return status;
    }
    return AskIfMissing(env, twice, pass);
}

int CipherOneFile(const Options& options, const Environment& env, std::optional<std::int16_t> pass,
                  const OutputWrap& wrap) {
    const Names names = OneFileNames(options);
    files::Descriptor opened;
    int fd = -1;
    if (const int status = OpenOneInput(options, env, names, opened, fd); status != kSuccess) {
        return status;
    }
    if (names.toStdout && OutputIsInput(fd)) {
        // Appending to the file being read would read the output back for ever.
        Say(env, "zkt: " + Shown(names.input) + ": input file is output file\n");
        return kDataError;
    }
    std::vector<std::string> told;
    if (!names.fromStdin) {
        told.push_back(options.input);
    }
    const CommandRow& command = CommandRowOf(options.command);
    if (!names.toStdout && command.ciphers) {
        told.push_back(options.output);
    }
    WarnOfKeptCopies(env, told);
    if (!command.ciphers) {
        return RecoverFrom(options, env, fd, names);
    }
    // The enciphered side is ASCII and is read like any document file.
    const document::ReadChoice choice = command.enciphers
                                            ? document::ReadChoice(options.encoding, options.eol)
                                            : document::ReadChoice();
    // An input that is also the output is read whole before it is replaced:
    // it may be written in place.
    std::string whole;
    std::optional<document::DocumentReader> reader;
    if (!names.toStdout && files::IsSameFile(fd, options.output)) {
        files::Result<std::string> bytes = files::ReadAll(fd, names.input);
        if (!bytes) {
            return FileFailure(env, bytes.error());
        }
        whole = std::move(bytes.value());
        reader.emplace(whole, choice, names.input);
    } else {
        reader.emplace(fd, choice, names.input);
    }
    Input input{*reader, names.input, {}, true};
    return Stream(options, env, input, pass, names, NewOutputRules(options, fd), wrap);
}

int RunOnFiles(const Options& options, const Environment& env) {
    if (RunsOnManyFiles(options)) {
        return CipherManyFiles(options, env);
    }
    std::optional<std::int16_t> pass;
    if (const int status = GivenPass(options, env, pass); status != kSuccess) {
        return status;
    }
    return CipherOneFile(options, env, pass);
}

int RunRecover(const Options& options, const Environment& env) {
    return options.passList ? PrintText(env, PassList()) : RunOnFiles(options, env);
}

int PrintHelp(const Options& /*options*/, const Environment& env) {
    return PrintText(env, Usage());
}

int PrintVersion(const Options& /*options*/, const Environment& env) {
    return PrintText(env, std::string("zkt ") + kVersionText + "\n");
}

int Run(const std::vector<std::string>& args, const Environment& env) {
    const ParsedOptions parsed = ParseOptions(args);
    if (!parsed.options) {
        return UsageError(env, parsed.error);
    }
    const Options& options = *parsed.options;
    try {
        return CommandRowOf(options.command).run(options, env);
    } catch (const std::bad_alloc&) {
        // Reading, converting or ciphering a text too large for memory.
        return FileFailure(
            env, files::OutOfMemory(options.input == "-" ? kStandardInput : options.input));
    }
}

}  // namespace solvena::zkt
