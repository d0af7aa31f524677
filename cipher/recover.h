// SPDX-License-Identifier: MIT
#pragma once

// Finding a forgotten pass number: every pass number the pass-number entry
// can give is tried on the enciphered text and ranked by the plausibility
// score of what it deciphers to.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plausibility.h"

namespace solvena::cipher {

struct RankedPass {
    std::int16_t pass = 0;
    std::u16string entry;    // an entry that gives it
    double score = 0;        // of the whole deciphered text
    std::u16string opening;  // the deciphered text's first kOpeningUnits units
};

inline constexpr std::size_t kOpeningUnits = 80;

// The best leads the second by at least this much for a clear answer.
inline constexpr double kClearLead = 0.03;
// A pass number a person gave is taken for a wrong one only when the best
// candidate's text beats its text by this much: a wider margin than for
// naming a best candidate, since refusing a right pass number costs more.
// Measured on 10-character texts, it still catches nine in ten pass
// numbers 1, 2 or 10 off the right one (all of them from 40 characters),
// and refused no right one among some 600 real texts.
inline constexpr double kWrongPassLead = 0.06;

struct PassRanking {
    std::vector<RankedPass> best;  // best first
    double runnerUpScore = 0;      // of the second best candidate, 0 when there is none
    CipherEvidence evidence;

    // The best candidate looks like text and leads the second clearly.
    bool LooksLikeText() const { return !best.empty() && best[0].score >= kPlausibleScore; }
    bool ClearlyAhead() const;
};

// The `count` best pass numbers for `enciphered`. Every candidate is scored
// on the first groups of the text; the leaders are scored again on the whole.
PassRanking RankPassNumbers(std::u16string_view enciphered, std::size_t count);

enum class Decipherment {
    Plausible,
    NothingEnciphered,  // no groups and no end marker: never enciphered
    NotText,            // scores below kPlausibleScore
    OtherPassBetter,    // another pass number gives a text better by kWrongPassLead
};

// How the text deciphered from `enciphered` under `pass` looks. A score
// alone lets a pass number next to the right one through (its text is the
// right one with every character moved a little, often still letters or
// kana), so the result is also held against the best of all pass numbers.
Decipherment JudgeDecipherment(std::u16string_view enciphered, std::int16_t pass,
                               std::u16string_view deciphered);

}  // namespace solvena::cipher
