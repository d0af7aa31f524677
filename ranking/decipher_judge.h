// SPDX-License-Identifier: MIT
#pragma once

// Whether a deciphered text is the text that was enciphered: judged on the
// whole input, as it goes, in bounded memory. The format of the whole
// enciphered text and the characters of the whole deciphered text are
// counted a piece at a time; the other pass numbers are tried on the
// opening (its first kJudgedOpening enciphered units), where a wrong pass
// number shows as clearly as anywhere.

#include <cstddef>
#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <string_view>

#include "cipher/cipher_evidence.h"
#include "textmodel/unit_census.h"

namespace solvena::ranking {

enum class Decipherment {
    Plausible,
    NothingEnciphered,  // no clean group and no end marker anywhere: never enciphered
    NotEnciphered,      // under half of it is written as enciphering writes it
    Damaged,            // enciphered text that breaks the format in places
    NotText,            // the result is garbage by itself
    OtherPassBetter,    // another pass number's text costs kWrongPassBits less
};

inline constexpr std::size_t kJudgedOpening = std::size_t{1} << 16;

class DecipherJudge {
  public:
    explicit DecipherJudge(std::int16_t pass);

    // The enciphered text and the text deciphered from it, each in order.
    void FeedEnciphered(std::u16string_view piece);
    void FeedDeciphered(std::u16string_view piece);

    // Whether another pass number reads the opening clearly better; known
    // once the opening has been fed, and judged once.
    bool OtherPassBetter();
    // Judges it on a thread of its own meanwhile, once the opening is fed.
    void JudgeOpeningAside();
    // Its answer once that judgement has come, without waiting for it.
    std::optional<bool> OtherPassBetterIfKnown();
    // The input has ended: the verdict on the whole (judged once).
    Decipherment Finish();
    // The reading was given up before the end, as another pass number reads
    // the opening better: the verdict on what was fed (the group the last
    // piece cut is no damage), which Finish then gives.
    Decipherment GiveUp();
    // What the format showed, once finished.
    const cipher::CipherEvidence& Evidence() const { return evidence_; }

  private:
    Decipherment Verdict(const textmodel::TextMeasure& counted);
    bool JudgeOpening() const;

    std::int16_t pass_;
    std::u16string opening_;   // the first kJudgedOpening units, or all
    bool openingCut_ = false;  // more followed it
    std::optional<bool> otherPassBetter_;
    std::future<bool> aside_;
    std::optional<Decipherment> verdict_;
    cipher::EvidenceScan scan_;
    textmodel::UnitCensus census_;
    cipher::CipherEvidence evidence_;
};

// What the format alone says of an enciphered text: NothingEnciphered,
// NotEnciphered or Damaged; nothing when it is written as enciphering
// writes it.
std::optional<Decipherment> FormatVerdict(const cipher::CipherEvidence& evidence);

// The whole verdict on a text held at once.
Decipherment JudgeDecipherment(std::u16string_view enciphered, std::int16_t pass,
                               std::u16string_view deciphered);

}  // namespace solvena::ranking
