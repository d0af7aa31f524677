// SPDX-License-Identifier: MIT
#pragma once

// Deciphering: the text is read group by group (a value code of one to four
// symbols, then any separator) until the stop symbol "Z" or the end; each
// group gives one code unit, its value minus P (odd groups) or plus P (even
// groups), reduced modulo 65536.
//
// Beyond what enciphering writes, the reader takes:
//  - a CR and the character after it as a line break picked up in storage,
//    passed over wherever it stands, however many follow each other;
//  - any character other than a separator inside a group as the digit 0;
//  - a place where no separator follows within four characters as a group
//    that yields no character (the cycle still advances; the next group
//    starts one character further on).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "run_types.h"

namespace solvena::cipher {

// One decipher run, resumable at its yield points: the run stops in every
// 20th group, before that group's character is appended, where an
// interactive caller serves its event loop and may cancel. DecipherText is
// this run driven to its end.
class DecipherRun : public RunState {
  public:
    // The text must stay alive and unchanged for the life of the run.
    DecipherRun(std::u16string_view text, std::int16_t pass, std::int32_t shiftedValue = 0);

    // Runs to the next yield point or to the end. True: stopped at a yield
    // point; false: the run has ended.
    bool RunToYield();
    bool RunToYield(StepHook hook, void* context);

    // Runs to the end, passing over every yield point, for a caller that
    // serves no event loop: the same text and state as RunToYield() called
    // until it returns false.
    void RunToEnd();

    // The characters deciphered. Call once, after the run has ended.
    std::u16string TakeResult();

  private:
    template <bool kHooked>
    bool Run(StepHook hook, void* context);
    // Reads whole windows of groups from the position on, as far as they go.
    void ReadWindows();

    bool pendingHasChar_ = false;
    char16_t pendingChar_ = 0;
    std::unique_ptr<char16_t[]> cipherText_;  // CipherText as it grows
    std::size_t written_ = 0;
    // The separators not yet read among the 64 units from chunkBase_ on, as
    // a bit mask, and where the next group starts if it is read from it.
    const char16_t* chunkBase_ = nullptr;
    std::uint64_t chunkSeparators_ = 0;
    std::uint32_t chunkNext_ = 0;
    bool avx2_;
    bool avx512_;
};

// The text deciphered from `text` under `pass`. Never fails.
std::u16string DecipherText(std::u16string_view text, std::int16_t pass);

}  // namespace solvena::cipher
