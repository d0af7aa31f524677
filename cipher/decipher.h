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

#include "cipher/run_types.h"

namespace solvena::cipher {

namespace detail {
struct GroupLoop;
}

// One decipher run, resumable at its yield points: the run stops in every
// 20th group, before that group's character is appended, where an
// interactive caller serves its event loop and may cancel. DecipherText is
// this run driven to its end.
class DecipherRun : public RunState {
  public:
    // The text must stay alive and unchanged for the life of the run.
    DecipherRun(std::u16string_view text, std::int16_t pass, std::int32_t shiftedValue = 0);

    // A run over one piece of a text that arrives in pieces (see
    // DecipherStream), from `separatorIndex`, the place in the cycle of the
    // group before the piece. With `more`, the text goes on after the piece:
    // the run ends before a group that could reach past it, and
    // CipherPosition() is where the next piece starts. A piece followed by
    // more must hold no line break: its groups could reach past the piece.
    DecipherRun(std::u16string_view piece, std::int16_t pass, std::int16_t separatorIndex,
                bool more);

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
    std::u16string_view Result() const { return {cipherText_.get(), written_}; }

    // The run ended at the stop symbol: what follows is no part of the text.
    bool MetStopSymbol() const { return stopped_; }

  private:
    template <bool kHooked>
    bool Run(StepHook hook, void* context);
    // Reads whole windows of groups from the position on, as far as they go.
    void ReadWindows();
    void Keep(const detail::GroupLoop& loop);

    bool more_ = false;
    bool stopped_ = false;
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

// Deciphers a text that arrives in pieces, cut anywhere, in memory bounded
// by the pieces: the same characters as DecipherText of the whole text.
class DecipherStream {
  public:
    explicit DecipherStream(std::int16_t pass) : pass_(pass) {}

    // Reads the next piece; the characters it completes go to `out`.
    void Feed(std::u16string_view piece, std::u16string& out);
    // The text has ended: the rest of its characters go to `out`.
    void Finish(std::u16string& out);

  private:
    void Read(bool more, std::u16string& out);

    std::int16_t pass_;
    std::int16_t separatorIndex_ = 0;
    // The units not yet read, line breaks taken out: a line break is
    // passed over wherever it stands, so it is never part of a group.
    std::u16string unread_;
    bool dropNext_ = false;  // the last piece ended in a CR: the next unit is its pair
    bool stopped_ = false;
};

}  // namespace solvena::cipher
