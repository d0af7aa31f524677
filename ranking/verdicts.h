// SPDX-License-Identifier: MIT
#pragma once

// The verdicts on a decipherment by their names, as the page and its module
// give them, and the questions the windows and the page ask of a doubtful
// or a damaged one.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "cipher/cipher_evidence.h"
#include "ranking/decipher_judge.h"

namespace solvena::ranking {

struct VerdictEntry {
    Decipherment verdict;
    std::string_view key;
};

// In the order of the enum.
inline constexpr std::array<VerdictEntry, 6> kVerdicts{{
    {Decipherment::Plausible, "plausible"},
    {Decipherment::NothingEnciphered, "nothingEnciphered"},
    {Decipherment::NotEnciphered, "notEnciphered"},
    {Decipherment::Damaged, "damaged"},
    {Decipherment::NotText, "notText"},
    {Decipherment::OtherPassBetter, "otherPassBetter"},
}};

constexpr bool VerdictsInEnumOrder() {
    for (std::size_t i = 0; i < kVerdicts.size(); ++i) {
        if (static_cast<std::size_t>(kVerdicts[i].verdict) != i) {
            return false;
        }
    }
    return true;
}
static_assert(VerdictsInEnumOrder(), "an entry's place is its verdict's value");

constexpr std::string_view VerdictKey(Decipherment verdict) {
    return kVerdicts[static_cast<std::size_t>(verdict)].key;
}

// Asked before a deciphered text that does not look like text, or the
// "result" of a text never enciphered, takes the document's place.
inline constexpr char16_t kDoubtfulResult[] =
    u"パスナンバーが違う可能性があります。結果を表示しますか？";

// Asked before the result of a damaged text (evidence.damage set) takes
// its place: where the format first breaks, and how.
std::u16string DamagedQuestion(const cipher::CipherEvidence& evidence);

}  // namespace solvena::ranking
