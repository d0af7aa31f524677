// SPDX-License-Identifier: MIT
#pragma once

// Whether the text 解読 gives looks like text, judged as zkt judges it: the
// whole text when it is short, else its opening of kJudgedUnits units, so
// that both programs say the same of the same file and a long document is
// not measured again and again. The judging runs on a thread of its own
// from the start of the run, so that it costs the run little or nothing.

#include <QString>
#include <cstdint>
#include <functional>
#include <future>
#include <optional>

#include "ranking/pass_ranking.h"

namespace solvena::app {

// As much of an enciphered text as zkt reads before it writes.
inline constexpr qsizetype kJudgedUnits = qsizetype{1} << 20;

class DecipherJudging {
  public:
    // Starts judging what `enciphered` deciphers to under `pass`.
    // Going, it waits for a verdict not taken: at most the judging of an
    // opening.
    DecipherJudging(const QString& enciphered, std::int16_t pass);

    // The verdict; `keepWaiting` is asked every few milliseconds until it
    // comes, and nothing is the answer when it says no.
    std::optional<ranking::Decipherment> Verdict(const std::function<bool()>& keepWaiting);

  private:
    std::future<ranking::Decipherment> verdict_;
};

}  // namespace solvena::app
