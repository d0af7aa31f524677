// SPDX-License-Identifier: MIT
#pragma once

// The rules written plainly, one step after the other, as oracles for the
// fast code: the unit tests and the fuzz targets compare against them.

#include <cstdint>
#include <string>
#include <string_view>

namespace solvena::testing {

// The text without its line breaks: each CR and the character after it.
std::u16string WithoutBreaks(std::u16string_view text);

// Deciphering by the reading steps with the symbol functions st/ts/ts2.
std::u16string ReferenceDecipher(std::u16string_view text, std::int16_t pass);

// The document reading rule, line by line.
std::u16string ReadLineByLine(std::u16string_view decoded);

}  // namespace solvena::testing
