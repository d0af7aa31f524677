// SPDX-License-Identifier: MIT
// Any UTF-16 input: ranking the pass numbers gives each candidate exactly
// the text DecipherText gives, scores from 0 to 1 best first, and whatever
// enciphering writes reads back as clean groups with the end marker.

#include <algorithm>

#include "cipher/decipher.h"
#include "cipher/encipher.h"
#include "ranking/pass_ranking.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace solvena;
    // Every pass number is tried on each input; a short one is enough.
    const std::size_t bytes = std::min<std::size_t>(size >= 2 ? size - 2 : 0, 600);
    const std::int16_t pass = fuzz::Pass(data, size);
    const std::u16string text = fuzz::Units(data + (size >= 2 ? 2 : 0), bytes);

    const ranking::PassRanking ranking = ranking::RankPassNumbers(text, 4);
    double last = 1.0;
    for (const ranking::RankedPass& candidate : ranking.best) {
        const std::u16string deciphered = cipher::DecipherText(text, candidate.pass);
        if (candidate.opening != deciphered.substr(0, ranking::kOpeningUnits)) {
            fuzz::Fail("a candidate's text is not what deciphering gives");
        }
        if (!(candidate.score >= 0.0 && candidate.score <= last)) {
            fuzz::Fail("scores out of range or out of order");
        }
        last = candidate.score;
    }
    const std::string enciphered = cipher::EncipherText(text, pass);
    const cipher::CipherEvidence evidence =
        cipher::ExamineEnciphered(std::u16string(enciphered.begin(), enciphered.end()));
    if (evidence.cleanGroups != static_cast<std::int64_t>(text.size()) ||
        evidence.groups != evidence.cleanGroups || !evidence.endMarker) {
        fuzz::Fail("enciphered text does not read as clean groups");
    }
    return 0;
}
