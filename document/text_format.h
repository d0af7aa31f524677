// SPDX-License-Identifier: MIT
#pragma once

// The form in which a document's text is stored in its file: an encoding
// and a line end. Reading a file finds it; saving writes it back, so a file
// that was opened and saved unchanged keeps its bytes.

#include <optional>

#include "document/codepage.h"

namespace solvena::document {

struct TextFormat {
    // Implicit, so that an encoding alone names the files the Windows
    // program writes: CR LF, no byte-order mark.
    TextFormat(Encoding e = Encoding::Cp932, LineEnd end = LineEnd::CrLf, bool mark = false)
        : encoding(e), lineEnd(end), byteOrderMark(mark) {}

    Encoding encoding;
    LineEnd lineEnd;
    // UTF-8 and UTF-16LE: the file began with a byte-order mark, and keeps it.
    bool byteOrderMark;

    bool operator==(const TextFormat&) const = default;
};

// What a person fixed for reading; anything left open is detected.
struct ReadChoice {
    ReadChoice() = default;
    ReadChoice(std::nullopt_t) {}
    ReadChoice(Encoding e) : encoding(e) {}
    ReadChoice(std::optional<Encoding> e, std::optional<LineEnd> end = std::nullopt)
        : encoding(e), lineEnd(end) {}

    std::optional<Encoding> encoding;
    std::optional<LineEnd> lineEnd;
};

}  // namespace solvena::document
