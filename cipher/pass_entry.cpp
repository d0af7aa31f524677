#include "pass_entry.h"

#include <cmath>
#include <string>

#include "number_reader.h"

namespace solvena::cipher {
namespace {

// Full-width digits are what a Japanese input method types for digits.
char16_t NarrowDigit(char16_t c) {
    if (c >= u'\uff10' && c <= u'\uff19') {
        return static_cast<char16_t>(u'0' + (c - u'\uff10'));
    }
    return c;
}

double RoundHalfToEven(double x) {
    const double lower = std::floor(x);
    const double fraction = x - lower;
    if (fraction < 0.5) {
        return lower;
    }
    if (fraction > 0.5) {
        return lower + 1.0;
    }
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

}  // namespace

std::optional<std::int16_t> ReadPassEntry(std::u16string_view entry) {
    if (entry.empty() || entry.size() > kMaxPassEntryLength) {
        return std::nullopt;
    }
    std::u16string narrowed(entry);
    for (char16_t& c : narrowed) {
        c = NarrowDigit(c);
    }
    const NumberSpan span = FindLeadingNumber(narrowed);
    if (span.end == span.begin) {
        return std::nullopt;
    }
    for (std::size_t i = span.end; i < narrowed.size(); ++i) {
        if (!IsBlank(narrowed[i])) {
            return std::nullopt;
        }
    }
    const double value = RoundHalfToEven(ReadLeadingNumber(narrowed));
    if (!(value >= -32767.0 && value <= 32767.0)) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

}  // namespace solvena::cipher
