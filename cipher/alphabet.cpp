// SPDX-License-Identifier: MIT
#include "cipher/alphabet.h"

#include <cstring>

#include "cipher/number_reader.h"

namespace solvena::cipher {

std::string st(std::int16_t value) {
    if (value >= 10 && value <= 43) {
        return std::string(1, kDigitSymbols[static_cast<std::size_t>(value)]);
    }
    return std::to_string(value);
}

std::optional<double> ts(std::u16string_view text) {
    const double n = ReadLeadingNumber(text);
    if (text.size() == 1 && text[0] < 128) {
        const int value = detail::kDigitValues[text[0]];
        if (value >= 10) {
            return static_cast<double>(value);
        }
    }
    if (n < 10) {
        return n;
    }
    return std::nullopt;
}

std::string st2(std::int16_t position) {
    if (position >= 1 && position <= kCycleLength) {
        return std::string(1, SeparatorAt(position));
    }
    return {};
}

std::string ts2(std::u16string_view text) {
    if (text.size() == 1 && IsSeparator(text[0])) {
        return "G";
    }
    return {};
}

std::size_t FindCarriageReturn(std::u16string_view text, std::size_t from) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size() * 2;
    for (std::size_t at = from * 2; at < size;) {
        const void* found = std::memchr(bytes + at, '\r', size - at);
        if (found == nullptr) {
            return std::u16string_view::npos;
        }
        const auto offset =
            static_cast<std::size_t>(static_cast<const unsigned char*>(found) - bytes);
        // Either byte of a unit may be 0x0D; the unit tells.
        if (text[offset / 2] == kCarriageReturn) {
            return offset / 2;
        }
        at = offset + 1;
    }
    return std::u16string_view::npos;
}

}  // namespace solvena::cipher
