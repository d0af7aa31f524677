// SPDX-License-Identifier: MIT
#pragma once

// Enciphering and deciphering as the text is read: a piece of the input at
// a time is read, ciphered and written, so that a file of any size takes
// memory for a few pieces only.

#include <cstdint>
#include <optional>
#include <string>

#include "cli/options.h"
#include "cli/zkt.h"
#include "document/document_stream.h"
#include "ranking/decipher_judge.h"

namespace solvena::zkt {

// Where the text comes from and goes to, as messages name them.
struct Names {
    std::string input;
    std::string output;
    bool fromStdin = false;
    bool toStdout = false;
};

// The text read before anything is written: enough to judge a deciphered
// text by, and all of a short one.
inline constexpr std::size_t kOpeningUnits = std::size_t{1} << 20;

// The input's reader and what it has given so far.
struct Input {
    document::DocumentReader& reader;
    std::string name;
    std::u16string opening;  // read, not yet ciphered
    bool more = true;        // the reader has more to give
};

// Reads the opening: kOpeningUnits or the whole text, whichever is less.
files::Status ReadOpening(Input& input);

// Why what the opening deciphers to is refused before anything is written,
// or nothing when it may be: another pass number reads it clearly better;
// and where the output cannot be taken back (standard output), the
// opening's format says that the input is no enciphered text. The judge has
// been fed the opening.
std::optional<std::string> EarlyRefusal(ranking::DecipherJudge& judge, const Input& input,
                                        const Names& names);

// The line that refuses the decipherment `judge` has judged, if it does;
// `outcome` says what was written.
std::optional<std::string> Refusal(ranking::DecipherJudge& judge, const Names& names,
                                   const std::string& outcome);

// Writes the enciphered text of the input to `fd`.
files::Status EncipherInto(int fd, Input& input, std::int16_t pass, const std::string& outputName);

// Writes the deciphered text of the input to `fd` through `writer`, which
// keeps what it met on the way (the look-alikes of CP932). With a `judge`
// (fed the opening already) the whole text is judged as it goes, and one it
// refuses is abandoned before its last bytes are written: a short one
// before any are.
files::Status DecipherInto(int fd, Input& input, std::int16_t pass,
                           document::DocumentWriter& writer, const std::string& outputName,
                           ranking::DecipherJudge* judge);

}  // namespace solvena::zkt
