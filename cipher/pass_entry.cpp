// SPDX-License-Identifier: MIT
#include "cipher/pass_entry.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "cipher/number_reader.h"

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

std::vector<PassCandidate> PassCandidates() {
    // What numbers are written with. Other blanks and full-width digits give
    // the same values as these.
    constexpr std::u16string_view kSigns = u"0123456789-+.eE ";
    std::vector<PassCandidate> candidates;
    std::vector<bool> seen(0x10000, false);
    for (std::size_t length = 1; length <= kMaxPassEntryLength; ++length) {
        std::vector<std::size_t> digit(length, 0);
        std::u16string entry(length, kSigns[0]);
        for (;;) {
            const std::optional<std::int16_t> pass = ReadPassEntry(entry);
            if (pass && *pass != -1 && !seen[static_cast<std::uint16_t>(*pass)]) {
                seen[static_cast<std::uint16_t>(*pass)] = true;
                candidates.push_back({*pass, entry});
            }
            // The next entry of this length, the last place counting fastest.
            std::size_t place = length;
            while (place > 0 && ++digit[place - 1] == kSigns.size()) {
                digit[place - 1] = 0;
                entry[place - 1] = kSigns[0];
                --place;
            }
            if (place == 0) {
                break;
            }
            entry[place - 1] = kSigns[digit[place - 1]];
        }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const PassCandidate& a, const PassCandidate& b) { return a.pass < b.pass; });
    return candidates;
}

}  // namespace solvena::cipher
