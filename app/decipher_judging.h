// SPDX-License-Identifier: MIT
#pragma once

// Whether the text 解読 gives looks like text, judged as zkt judges it: the
// format and the characters of the whole document, the other pass numbers
// on its opening. The judging runs on a thread of its own from the start of
// the run, deciphering the document once more there, so that it costs the
// run little or nothing.

#include <QString>
#include <cstdint>
#include <functional>
#include <future>
#include <optional>

#include "cipher/cipher_evidence.h"
#include "ranking/decipher_judge.h"

namespace solvena::app {

struct Judgement {
    ranking::Decipherment verdict;
    cipher::CipherEvidence evidence;  // where the document is damaged, if it is
};

class DecipherJudging {
  public:
    // Starts judging what `enciphered` deciphers to under `pass`. Going, it
    // waits for a verdict not taken.
    DecipherJudging(const QString& enciphered, std::int16_t pass);

    // The verdict; `keepWaiting` is asked at once and then every few
    // milliseconds until it comes, and nothing is the answer when it says no.
    std::optional<Judgement> Verdict(const std::function<bool()>& keepWaiting);

  private:
    std::future<Judgement> verdict_;
};

}  // namespace solvena::app
