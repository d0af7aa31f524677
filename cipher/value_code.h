// SPDX-License-Identifier: MIT
#pragma once

// Value codes: a shifted value written as an optional "-" and one to three
// base-43 digit symbols (the leading digit of a two-digit code may be 43,
// "I"). Every shifted value from any pass number lies in
// kMinShiftedValue..kMaxShiftedValue.

#include <cstdint>
#include <string>

namespace solvena::cipher {

inline constexpr std::int32_t kMinShiftedValue = -65536;
inline constexpr std::int32_t kMaxShiftedValue = 65535;

// Appends the value code of v, worked out step by step in the encipher
// command's own order. This is the reference the fast table is built from.
void AppendValueCode(std::int32_t v, std::string& out);

std::string ValueCode(std::int32_t v);

// The value code of v packed into four bytes, first symbol in the lowest
// byte, unused bytes zero. Every code has one to four symbols.
std::uint32_t PackedValueCode(std::int32_t v);

// The encipher loop's table entry for v: the packed code in the low four
// bytes, its number of symbols in the high four.
std::uint64_t ValueCodeEntry(std::int32_t v);

}  // namespace solvena::cipher
