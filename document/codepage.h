// SPDX-License-Identifier: MIT
#pragma once

// Conversion between document bytes and UTF-16 text.
//
// Code page 932 goes through the system's converter (glibc's WINDOWS-31J),
// which already chooses the codes Windows writes for characters with two
// codes, and writes nine look-alikes (U+301C, U+2016, U+2212, U+00A2,
// U+00A3, U+00AC, U+2014, U+00A5, U+203E) as Windows does, one way: they
// read back as the characters of those codes. Windows also maps five single
// bytes that the converter rejects; they are mended here and travel both
// ways unchanged.

#include <cstdint>
#include <string>
#include <string_view>

#include "document/encoding.h"
#include "files/file_error.h"

namespace solvena::document {

struct Decoded {
    std::u16string text;
    bool ok = false;
    std::uint64_t errorOffset = 0;  // first byte that could not be read
    bool converterMissing = false;
};

// Decodes all of `bytes`; stops at the first invalid sequence.
Decoded Decode(std::string_view bytes, Encoding encoding);
// The same into `result`, whose text keeps its storage from one call to
// the next.
void Decode(std::string_view bytes, Encoding encoding, Decoded& result);

struct Unrepresentable {
    std::size_t index = 0;  // code-unit index of the first such character
    char32_t character = 0;
    std::uint64_t count = 0;
};

struct Encoded {
    std::string bytes;
    Unrepresentable bad;  // bad.count == 0: every character was encoded
    bool converterMissing = false;
};

// Encodes all of `text`. Characters the encoding cannot hold are counted,
// never replaced; `bytes` is meaningful only when none were found.
Encoded Encode(std::u16string_view text, Encoding encoding);

}  // namespace solvena::document
