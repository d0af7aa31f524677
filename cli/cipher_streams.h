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

// Why a deciphered text is not to be written, or nothing when it may be: the
// whole text is judged when it fits in the opening, else the opening.
std::optional<std::string> Refusal(const Input& input, std::int16_t pass, const Names& names);

// Writes the enciphered text of the input to `fd`.
files::Status EncipherInto(int fd, Input& input, std::int16_t pass, const std::string& outputName);

// Writes the deciphered text of the input to `fd` through `writer`, which
// keeps what it met on the way (the look-alikes of CP932).
files::Status DecipherInto(int fd, Input& input, std::int16_t pass,
                           document::DocumentWriter& writer, const std::string& outputName);

}  // namespace solvena::zkt
