#pragma once

// The rule for a typed pass number, shared by the pass-number dialog and the
// command-line tool.

#include <cstdint>
#include <optional>
#include <string_view>

namespace solvena::cipher {

inline constexpr std::size_t kMaxPassEntryLength = 4;

// The pass number an entry stands for, or nothing when the entry is not a
// valid one. Valid: the whole entry is a number (blanks around it, an
// optional sign, digits with an optional "." and fraction, an optional
// exponent; full-width digits count as digits), it has at most four
// characters, and its value rounded half to even lies in -32767..32767.
// An empty entry is not valid. Note that "-1" is valid and gives -1.
std::optional<std::int16_t> ReadPassEntry(std::u16string_view entry);

}  // namespace solvena::cipher
