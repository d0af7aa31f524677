// SPDX-License-Identifier: MIT
#pragma once

// Turns a fuzzer's bytes into the inputs of the code under test.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace solvena::fuzz {

// Pairs of bytes as UTF-16 code units, any value at all.
inline std::u16string Units(const std::uint8_t* data, std::size_t size) {
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * 2);
    return units;
}

// The first two bytes as a pass number, or 0.
inline std::int16_t Pass(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    std::int16_t pass;
    std::memcpy(&pass, data, 2);
    return pass;
}

// Fails the run loudly: libFuzzer keeps the input that led here.
[[noreturn]] inline void Fail(const char* what) {
    __builtin_printf("property broken: %s\n", what);
    __builtin_trap();
}

}  // namespace solvena::fuzz
