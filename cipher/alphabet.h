// SPDX-License-Identifier: MIT
#pragma once

// The two symbol sets of enciphered text and the four symbol functions.
//
// Digit symbols stand for the values 0..43, separators end each character's
// value code and run in a fixed cycle of twenty. The digit symbols, the
// separators, "-" and the placeholder "G" are disjoint sets, which is what
// lets a reader split enciphered text into groups without any length field.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace solvena::cipher {

// Symbol of each digit value, indexed by value (0..43). "G" is not a digit.
inline constexpr std::string_view kDigitSymbols = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFHI";

// Separator of each cycle position, indexed by position - 1 (positions 1..20).
inline constexpr std::string_view kSeparatorCycle = "!K#M$L%P&N'R([)]W/Y.";

inline constexpr int kCycleLength = 20;
inline constexpr std::string_view kEndMarker = "ZELKORA";
// First character of the end marker: it can never begin a value code.
inline constexpr char16_t kStopSymbol = u'Z';
inline constexpr char16_t kMinusSign = u'-';
inline constexpr char16_t kCarriageReturn = u'\r';

// Value to digit symbol. 10..43 give their letter; every other value gives
// its own decimal text ("0".."9", "44", "-5").
std::string st(std::int16_t value);

// Digit symbol to value: the number at the start of the text when it is
// below 10, replaced by a letter symbol's value when the whole text is one;
// empty (std::nullopt) when the number is 10 or more and no letter matches.
std::optional<double> ts(std::u16string_view text);

// Cycle position 1..20 to its separator; empty for every other position.
std::string st2(std::int16_t position);

// "G" when the whole text is one separator symbol, empty otherwise.
std::string ts2(std::u16string_view text);

// Fast single-character forms used by the cipher loops.

namespace detail {
constexpr std::array<std::int8_t, 128> MakeDigitValues() {
    std::array<std::int8_t, 128> values{};
    values.fill(-1);
    for (std::size_t i = 0; i < kDigitSymbols.size(); ++i) {
        values[static_cast<unsigned char>(kDigitSymbols[i])] = static_cast<std::int8_t>(i);
    }
    return values;
}
constexpr std::array<std::int8_t, 128> MakeSeparatorPlaces() {
    std::array<std::int8_t, 128> places{};
    for (std::size_t i = 0; i < kSeparatorCycle.size(); ++i) {
        places[static_cast<unsigned char>(kSeparatorCycle[i])] = static_cast<std::int8_t>(i + 1);
    }
    return places;
}
inline constexpr std::array<std::int8_t, 128> kDigitValues = MakeDigitValues();
inline constexpr std::array<std::int8_t, 128> kSeparatorPlaces = MakeSeparatorPlaces();
}  // namespace detail

// Value of a digit symbol; any other character counts as 0.
constexpr int DigitValue(char32_t c) {
    if (c >= 128) {
        return 0;
    }
    const int v = detail::kDigitValues[c];
    return v < 0 ? 0 : v;
}

constexpr bool IsDigitSymbol(char32_t c) {
    return c < 128 && detail::kDigitValues[c] >= 0;
}

constexpr bool IsSeparator(char32_t c) {
    return c < 128 && detail::kSeparatorPlaces[c] != 0;
}

// The cycle position 1..20 of a separator; 0 for any other character.
constexpr int SeparatorPlace(char32_t c) {
    return c < 128 ? detail::kSeparatorPlaces[c] : 0;
}

// The first CR at or after `from`, or npos. Enciphered text holds a line
// break rarely if ever: found with the C library's byte search, a CR's
// low byte, rather than a unit at a time.
std::size_t FindCarriageReturn(std::u16string_view text, std::size_t from);

// Separator of the cycle position 1..20.
constexpr char SeparatorAt(int position) {
    return kSeparatorCycle[static_cast<std::size_t>(position - 1)];
}

}  // namespace solvena::cipher
