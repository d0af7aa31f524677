// SPDX-License-Identifier: MIT
#include "cli/seal_command.h"

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "cli/many_files.h"
#include "cli/messages.h"
#include "cli/one_file.h"
#include "cli/output_rules.h"
#include "cli/pass_entries.h"
#include "cli/sealed_output.h"
#include "document/file_types.h"
#include "files/descriptor.h"
#include "sealing/fd_streams.h"

namespace solvena::zkt {
namespace {

using sealing::Outcome;
using Kind = files::FileError::Kind;

// A fault of the streams is the system's, named by the file it struck; any
// other outcome abandons what was written.
files::Status AsStatus(Outcome outcome, int failure, const Names& names) {
    switch (outcome) {
        case Outcome::Done:
            return files::Done{};
        case Outcome::ReadFailed:
            return files::SystemError(Kind::ReadFailed, names.input, failure);
        case Outcome::WriteFailed:
            return files::SystemError(Kind::WriteFailed, names.output, failure);
        default:
            break;
    }
    files::FileError abandoned;
    abandoned.kind = Kind::Abandoned;
    abandoned.path = names.output;
    return abandoned;
}

struct Worked {
    Outcome outcome = Outcome::Failed;
    int failure = 0;     // errno of a stream's fault
    bool wrote = false;  // something reached the output
};

// Writes through `work` to the careful save of `outputPath` or to standard
// output; the exit status, with what went wrong said.
int Written(const Environment& env, const Names& names, const std::string& outputPath,
            const files::NewFileRules& rules,
            const std::function<Outcome(const sealing::Writer&, int& failure)>& work,
            const std::string& partWritten) {
    Worked worked;
    const files::ContentWriter write = [&](int fd) {
        const sealing::Writer toFile = sealing::WriteFd(fd, worked.failure);
        const sealing::Writer noted = [&](const char* bytes, std::size_t size) {
            worked.wrote = worked.wrote || size > 0;
            return toFile(bytes, size);
        };
        worked.outcome = work(noted, worked.failure);
        return AsStatus(worked.outcome, worked.failure, names);
    };
    const files::Status written =
        names.toStdout ? write(STDOUT_FILENO) : files::WriteFileSafely(outputPath, write, rules);
    if (written) {
        return kSuccess;
    }
    if (written.error().kind != Kind::Abandoned) {
        return FileFailure(env, written.error());
    }
    Say(env, "zkt: " + Shown(names.input) + ": " + OutcomeWords(worked.outcome) + "; " +
                 (names.toStdout && worked.wrote ? partWritten : "nothing written") + "\n");
    return kDataError;
}

}  // namespace

std::string OutcomeWords(Outcome outcome) {
    switch (outcome) {
        case Outcome::Done:
            return "done";
        case Outcome::WrongPassword:
            return "wrong password";
        case Outcome::Damaged:
            return "damaged or cut short: it is not as it was sealed";
        case Outcome::NoIntegrity:
            return "encrypted without the integrity packet, so a change to it would go unseen; "
                   "open it with gpg if you trust it";
        case Outcome::EncryptedToKey:
            return "a file encrypted to a key, not a password: open it with gpg";
        case Outcome::NotEncrypted:
            return "an OpenPGP file that is signed or stored, not encrypted: open it with gpg";
        case Outcome::NotOpenPgp:
            return "not an OpenPGP password file";
        case Outcome::ReadFailed:
        case Outcome::WriteFailed:
        case Outcome::Failed:
            break;
    }
    return "the OpenPGP library could not do it";
}

int ObtainPassword(const Environment& env, const std::string& passwordFile, bool twice,
                   std::string& password) {
    if (!passwordFile.empty()) {
        files::Result<std::string> line = FirstLine(passwordFile);
        if (!line) {
            return FileFailure(env, line.error());
        }
        password = std::move(line.value());
    } else {
        const std::optional<std::string> typed =
            env.askPass ? env.askPass("Password: ") : std::nullopt;
        if (!typed) {
            Say(env, "zkt: no terminal to ask for the password on (--password-file gives it)\n");
            return kUsageError;
        }
        if (twice && env.askPass("Password again: ") != typed) {
            Say(env, "zkt: the two passwords differ; nothing written\n");
            return kUsageError;
        }
        password = *typed;
    }
    if (password.empty()) {
        Say(env, "zkt: an empty password keeps nothing private; nothing written\n");
        return kUsageError;
    }
    return kSuccess;
}

int SealFile(const Environment& env, int in, const Names& names, const std::string& outputPath,
             const std::string& password, const sealing::SealChoices& choices,
             const files::NewFileRules& rules) {
    const auto work = [&](const sealing::Writer& out, int& failure) {
        return sealing::Seal(sealing::ReadFd(in, failure), out, password, choices);
    };
    return Written(env, names, outputPath, rules, work, "standard output has only a part of it");
}

int UnsealFile(const Environment& env, int in, const Names& names, const std::string& outputPath,
               const std::string& password, const files::NewFileRules& rules) {
    const auto work = [&](const sealing::Writer& out, int& failure) {
        return sealing::Unseal(sealing::ReadFd(in, failure), out, password).outcome;
    };
    return Written(env, names, outputPath, rules, work,
                   "what standard output was given is not to be trusted");
}

namespace {

constexpr char kBinaryToTerminal[] =
    "a binary password file is no text for a terminal (-o FILE, or --armor)";

// The name the message carries: the text file's, as gpg records it (an old
// note's text as memo.txt).
std::string InnerName(const Options& options) {
    if (options.input != "-") {
        const std::string name = std::filesystem::path(options.input).filename().string();
        return document::HasEnding(name, document::FileType::Enciphered)
                   ? document::NameAs(name, document::FileType::Text)
                   : name;
    }
    if (options.output != "-") {
        const std::string output = std::filesystem::path(options.output).filename().string();
        return document::UnsealedName(output).value_or("");
    }
    return "";
}

// Why a run is refused before anything is read, if it is.
std::optional<std::string> Refused(const Options& options, const Environment& env,
                                   const Names& names, bool seal, int in) {
    if (seal && names.toStdout && env.outputIsTerminal && !options.armor) {
        return kBinaryToTerminal;
    }
    if (names.toStdout && OutputIsInput(in)) {
        return Shown(names.input) + ": input file is output file";
    }
    return std::nullopt;
}

}  // namespace

int SealOrUnsealFile(const Options& options, const Environment& env, const std::string& password) {
    const bool seal = options.command == Command::Seal;
    const Names names = OneFileNames(options);
    files::Descriptor opened;
    int in = -1;
    if (const int status = OpenOneInput(options, env, names, opened, in); status != kSuccess) {
        return status;
    }
    if (const std::optional<std::string> why = Refused(options, env, names, seal, in)) {
        Say(env, "zkt: " + *why + "\n");
        return kDataError;
    }
    const files::NewFileRules rules = NewOutputRules(options, in);
    return seal ? SealFile(env, in, names, options.output, password,
                           {options.armor, InnerName(options)}, rules)
                : UnsealFile(env, in, names, options.output, password, rules);
}

int SealNote(const Options& options, const Environment& env, const std::string& password,
             std::optional<std::int16_t> pass) {
    Options deciphering = options;
    deciphering.command = Command::Decipher;
    sealing::Outcome outcome = sealing::Outcome::Done;
    const sealing::SealChoices choices{options.armor, InnerName(options)};
    const OutputWrap sealed = [&](files::ContentWriter plain) {
        return SealedWriter(std::move(plain), password, choices, OneFileNames(options).output,
                            outcome);
    };
    const int status = CipherOneFile(deciphering, env, pass, sealed);
    if (status != kSuccess && outcome != sealing::Outcome::Done &&
        outcome != sealing::Outcome::ReadFailed && outcome != sealing::Outcome::WriteFailed) {
        Say(env, "zkt: " + Shown(options.input) + ": " + OutcomeWords(outcome) + "\n");
    }
    return status;
}

int RunSealing(const Options& options, const Environment& env) {
    if (RunsOnManyFiles(options)) {
        return SealManyFiles(options, env);
    }
    const bool seal = options.command == Command::Seal;
    std::optional<std::int16_t> pass;
    const bool note = seal && document::HasEnding(options.input, document::FileType::Enciphered);
    if (note) {
        if (options.output == "-" && env.outputIsTerminal && !options.armor) {
            Say(env, "zkt: " + std::string(kBinaryToTerminal) + "\n");
            return kDataError;
        }
        if (const int status = ObtainPass(options, env, false, pass); status != kSuccess) {
            return status;
        }
    }
    std::string password;
    if (const int status = ObtainPassword(env, options.passwordFile.value_or(""), seal, password);
        status != kSuccess) {
        return status;
    }
    return note ? SealNote(options, env, password, pass) : SealOrUnsealFile(options, env, password);
}

}  // namespace solvena::zkt
