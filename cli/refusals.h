// SPDX-License-Identifier: MIT
#pragma once

// What `zkt` says of an input whose decipherment it does not write: one
// true reason, and where the enciphered text is damaged.

#include <string>

#include "cipher/cipher_evidence.h"
#include "ranking/decipher_judge.h"

namespace solvena::zkt {

// Where a damaged place is and what breaks there: "a separator out of its
// cycle at characters 1231–1234 (line 3, column 67)", the group it breaks
// from its first character to its last, the line of the first only where
// the text has several.
std::string DescribeDamage(const cipher::DamagePlace& place, bool severalLines);

// What was written when a decipherment was refused.
inline constexpr const char* kNothingWritten = "nothing written";
// Of --find-pass, which takes no --force.
inline constexpr const char* kNotDeciphered = "not deciphered";
inline constexpr const char* kWrittenBeforeTheEnd =
    "standard output has what was deciphered before the end";

// The line said when `verdict` refuses what `input` deciphers to; empty for
// a plausible one. `recover` is the command that finds its pass number;
// `outcome`, if any, what was written.
std::string RefusalLine(ranking::Decipherment verdict, const cipher::CipherEvidence& evidence,
                        const std::string& input, const std::string& recover,
                        const std::string& outcome = kNothingWritten);

}  // namespace solvena::zkt
