// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace solvena::testing {

// Any code units at all: NUL, CR, LF, lone surrogates, U+FFFF.
std::u16string RandomUnits(std::mt19937& rng, std::size_t length);

// Japanese prose-like text: kana, kanji (many above U+8000), ASCII, CR LF.
std::u16string RandomJapanese(std::mt19937& rng, std::size_t length);

std::u16string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u16string_view text);

}  // namespace solvena::testing
