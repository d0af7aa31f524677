// SPDX-License-Identifier: MIT
#pragma once

// A locale-independent reader for the decimal numbers the cipher and the
// pass-number entry accept: blanks, an optional sign, digits with an optional
// "." and fraction, an optional exponent ("e" or "E", optional sign, digits).

#include <cstddef>
#include <string_view>

namespace solvena::cipher {

struct NumberSpan {
    std::size_t begin = 0;  // first character of the number (after blanks)
    std::size_t end = 0;    // one past its last character; end == begin: no number
};

// The number at the start of the text, after leading blanks.
NumberSpan FindLeadingNumber(std::u16string_view text);

// The value of the number at the start of the text; 0 when there is none.
// Values beyond the range of double read as +/- infinity.
double ReadLeadingNumber(std::u16string_view text);

constexpr bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

}  // namespace solvena::cipher
