// SPDX-License-Identifier: MIT
#pragma once

// Finding a forgotten pass number: every pass number the pass-number entry
// can give is tried on the enciphered text and ranked by the bits that the
// text model spends on what it deciphers to, fewest first.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cipher/cipher_evidence.h"
#include "textmodel/plausibility.h"

namespace solvena::ranking {

struct RankedPass {
    std::int16_t pass = 0;
    std::u16string entry;            // an entry that gives it
    textmodel::TextMeasure measure;  // of the whole deciphered text
    double score = 0;                // from 0 to 1, for showing: Score() times the evidence
    std::u16string opening;          // the deciphered text's first kOpeningUnits units
};

inline constexpr std::size_t kOpeningUnits = 80;

// The best candidate's text costs at least this many bits less than the
// second's for a clear answer: it is then 64 times as likely.
inline constexpr double kClearLeadBits = 6;
// A pass number a person gave is taken for a wrong one only when another
// one's text costs this many bits less than its own (is 2000 times as
// likely): a wider margin than for naming a best candidate, since refusing
// a right pass number costs more. Among eleven thousand candidates one
// comes within 10 bits of a right text of 10 to 20 characters now and
// then; from some 50 characters on, a wrong one costs hundreds of bits more.
inline constexpr double kWrongPassBits = 11;
// And at least a bit for every kUnitsPerMarginBit units of the text. In a
// long text of random letters of one script (a list of codes, a drill),
// every pass number near the right one reads random letters too, and the
// luck of the draw among the candidates grows with the length; a wrong
// pass number on a text people write costs several bits a character.
inline constexpr double kUnitsPerMarginBit = 16;
// What a text of random characters (a password, a key) costs more than
// drawing its characters from their alphabet: such texts are rarer than
// writing, but no garbage. A pass number's text is compared with the
// others' as the cheaper of writing and this.
inline constexpr double kRandomTextBits = 8;

struct PassRanking {
    std::vector<RankedPass> best;  // best first
    double runnerUpBits = 0;       // of the second best candidate, 0 when there is none
    cipher::CipherEvidence evidence;
    bool cancelled = false;  // stopped midway: `best` is incomplete

    // The best candidate's text is text by itself, from a text enciphering wrote.
    bool LooksLikeText() const;
    // It looks like text and costs kClearLeadBits less than the second's.
    bool ClearlyAhead() const;
};

// The `count` best pass numbers for `enciphered`. Every candidate is measured
// on the first groups of the text, the likeliest on more of them, and the
// leaders again on the whole.
PassRanking RankPassNumbers(std::u16string_view enciphered, std::size_t count);
// Told how much of a ranking is done, from 0 to 1, now and then; false
// stops it.
using RankingProgress = std::function<bool(double done)>;

// The same with a model the caller has built already, telling `going`.
PassRanking RankPassNumbers(std::u16string_view enciphered, std::size_t count,
                            textmodel::TextModel& model, const RankingProgress& going);

}  // namespace solvena::ranking
