// SPDX-License-Identifier: MIT
#pragma once

// What an enciphered text shows of itself, whatever the pass number.

#include <cstdint>
#include <string>
#include <string_view>

namespace solvena::cipher {

// The text read as enciphering writes it.
struct CipherEvidence {
    std::int64_t groups = 0;  // places read as a group, clean or not
    // Groups exactly as enciphering writes them: "-" or nothing, one to three
    // digit symbols, the separator of the group's place in the cycle.
    std::int64_t cleanGroups = 0;
    // The end marker right after the last group, nothing but line breaks after it.
    bool endMarker = false;

    // Something to decipher: a clean group, or the end marker alone (an
    // empty text). A text never enciphered may still hold a few groups by
    // chance, "d)" for one, but hardly ever one in its place in the cycle.
    bool HoldsEncipheredText() const { return cleanGroups > 0 || endMarker; }
};

CipherEvidence ExamineEnciphered(std::u16string_view enciphered);

// From 0 to 1: the share of clean groups, and less when the end marker is
// missing; 0 for a text with nothing to decipher. (Places where no separator
// follows within four characters count as groups that are not clean.)
double EvidenceFactor(const CipherEvidence& evidence);

// Below this factor the input is mostly not what enciphering writes, and
// what it deciphers to is no text: enciphered texts are clean throughout.
inline constexpr double kEnoughEvidence = 0.5;

// The opening of a longer enciphered text, cut after its last separator and
// closed by the end marker, so that it is judged as a text of its own would
// be.
std::u16string ClosedOpening(std::u16string_view opening);

}  // namespace solvena::cipher
