// SPDX-License-Identifier: MIT
#pragma once

// Sealing a text into a password file and unsealing it again, one file a
// call: the output saved carefully as every output is (whole or not at
// all), and nothing in place after a wrong password, a changed byte or a
// file cut short. The plain text goes only where it is asked to go: never
// into a temporary file of its own.

#include <cstdint>
#include <optional>
#include <string>

#include "cli/cipher_streams.h"
#include "cli/zkt.h"
#include "files/file_io.h"
#include "sealing/password_seal.h"

namespace solvena::zkt {

// Why a password file could not be opened (or a text sealed), as zkt says
// it after the file's name.
std::string OutcomeWords(sealing::Outcome outcome);

// The password: the first line of `passwordFile` when one is named, or
// typed where `env` asks (the terminal, without echo; twice when sealing). Never from the
// command line, where the process list would show it.
int ObtainPassword(const Environment& env, const std::string& passwordFile, bool twice,
                   std::string& password);

// The text of `in` sealed to `outputPath` (or standard output, as `names`
// says).
int SealFile(const Environment& env, int in, const Names& names, const std::string& outputPath,
             const std::string& password, const sealing::SealChoices& choices,
             const files::NewFileRules& rules);

// The text a password file holds, written to `outputPath` (or standard
// output): on standard output what was written before a fault is found at
// the end cannot be taken back, and the message says so.
int UnsealFile(const Environment& env, int in, const Names& names, const std::string& outputPath,
               const std::string& password, const files::NewFileRules& rules);

// One file sealed (or unsealed) to `options.output`, by its bytes as they
// stand, with the password given.
int SealOrUnsealFile(const Options& options, const Environment& env, const std::string& password);

// An old note (.zkt) sealed as its text: deciphered with `pass` (asked for
// when there is none) as `zkt decipher` writes it, and sealed on the way, so
// that the text is never in a file.
int SealNote(const Options& options, const Environment& env, const std::string& password,
             std::optional<std::int16_t> pass);

// Many files, or folders with -r: texts and old notes sealed beside
// themselves (memo.txt and memo.zkt both as memo.txt.gpg), or password
// files unsealed; one password for the run, and for old notes one pass
// number or each file's own found (--find-pass).
int SealManyFiles(const Options& options, const Environment& env);

}  // namespace solvena::zkt
