// SPDX-License-Identifier: MIT
#pragma once

// Surrogates of UTF-16 text.

namespace solvena::document {

constexpr bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace solvena::document
