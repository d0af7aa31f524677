// SPDX-License-Identifier: MIT
#pragma once

// How much a deciphered text looks like what people write, and what an
// enciphered text says about itself whatever the pass number.
//
// The text's part is a cost per code unit, roughly the number of bits a
// unit takes in ordinary Japanese and English writing: a blank or an "e"
// costs about three, a common hiragana five, a common kanji eleven, a rare
// kanji fourteen, a kanji that code page 932 cannot hold seventeen, and a
// control character, a private-use unit, a lone surrogate or a broken line
// break twenty, the most a unit can cost. A unit of another kind than the
// one before (digit, letter, sign, kana, kanji; blanks aside) costs one bit
// more. The text's score is 1 - (mean cost / 20): ordinary English scores
// about 0.77, Japanese prose about 0.6, the characters of a wrong pass
// number mostly below 0.3.
//
// A wrong pass number shifts every character by the same amount, up at one
// parity and down at the other, so it keeps few characters of a text where
// they were common; the pass number whose text costs least is the best
// guess even for a note of ten characters.

#include <cstdint>
#include <string_view>

namespace solvena::cipher {

// The most a code unit can cost, in quarter bits.
inline constexpr int kMaxUnitCost = 80;

// The total cost of a text in quarter bits: a sum of per-unit costs in which
// CR, LF and surrogates are judged with their neighbours (CR LF is a line
// break, a lone CR is not; a surrogate must be one half of a pair).
std::int64_t TextCost(std::u16string_view text);

// 1 - mean cost / the most a unit can cost, from 0 to 1; 1 for no text.
double TextScore(std::u16string_view text);
double ScoreOfCost(std::int64_t cost, std::size_t units);

// What an enciphered text shows of itself, read as enciphering writes it.
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

// The score of a deciphered text: its text score times the evidence of the
// enciphered text it came from. From 0 to 1.
double PlausibilityScore(std::u16string_view deciphered, const CipherEvidence& evidence);

// Below this score a deciphered text does not look like text. Real texts
// tried score 0.5 and more, a text of common kanji only about 0.45; most
// wrong pass numbers give less than 0.3.
inline constexpr double kPlausibleScore = 0.4;

}  // namespace solvena::cipher
