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
inline constexpr double kClearLead = 0.02;

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
    OtherPassBetter,    // another pass number gives a clearly more plausible text
};

// How the text deciphered from `enciphered` under `pass` looks. A score
// alone lets a pass number next to the right one through (its text is the
// right one with every character moved a little, often still letters or
// kana), so the result is also held against the best of all pass numbers.
Decipherment JudgeDecipherment(std::u16string_view enciphered, std::int16_t pass,
                               std::u16string_view deciphered);

}  // namespace solvena::cipher
