// SPDX-License-Identifier: MIT
#include "cipher/number_reader.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

namespace solvena::cipher {
namespace {

bool IsAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::size_t SkipDigits(std::u16string_view text, std::size_t i) {
    while (i < text.size() && IsAsciiDigit(text[i])) {
        ++i;
    }
    return i;
}

}  // namespace

NumberSpan FindLeadingNumber(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    const std::size_t begin = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        ++i;
    }
    const std::size_t intBegin = i;
    i = SkipDigits(text, i);
    std::size_t digits = i - intBegin;
    if (i < text.size() && text[i] == u'.') {
        const std::size_t fracBegin = i + 1;
        const std::size_t fracEnd = SkipDigits(text, fracBegin);
        digits += fracEnd - fracBegin;
        i = fracEnd;
    }
    if (digits == 0) {
        return {begin, begin};
    }
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) {
            ++j;
        }
        const std::size_t expEnd = SkipDigits(text, j);
        if (expEnd > j) {
            i = expEnd;
        }
    }
    return {begin, i};
}

double ReadLeadingNumber(std::u16string_view text) {
    const NumberSpan span = FindLeadingNumber(text);
    if (span.end == span.begin) {
        return 0.0;
    }
    // The span holds ASCII only, so narrowing is exact.
    std::string ascii;
    ascii.reserve(span.end - span.begin);
    for (std::size_t i = span.begin; i < span.end; ++i) {
        ascii.push_back(static_cast<char>(text[i]));
    }
    bool negative = false;
    std::size_t start = 0;
    if (ascii[0] == '+' || ascii[0] == '-') {
        negative = ascii[0] == '-';
        start = 1;
    }
    double value = 0.0;
    const char* first = ascii.data() + start;
#if defined(__cpp_lib_to_chars)
    const char* last = ascii.data() + ascii.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow and underflow; tell
        // them apart by the exponent's sign.
        const bool tiny =
            ascii.find("e-") != std::string::npos || ascii.find("E-") != std::string::npos;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    (void)ptr;
#else
    // A library without from_chars for double (libc++ before 17, which a
    // browser build uses): strtod reads the same span, its infinity on
    // overflow, and the C library of such a build knows no other locale.
    value = std::strtod(first, nullptr);
#endif
    return negative ? -value : value;
}

}  // namespace solvena::cipher
