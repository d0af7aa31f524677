// SPDX-License-Identifier: MIT
#pragma once

// Enciphering: each code unit c at position i becomes the value code of
// c + P (odd i) or c - P (even i), followed by the separator of cycle
// position ((i - 1) mod 20) + 1; the end marker "ZELKORA" closes the text.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "cipher/run_types.h"

namespace solvena::cipher {

// One encipher run, resumable at its yield points: the run stops after every
// 20th character, where an interactive caller serves its event loop and may
// cancel. EncipherText is this run driven to its end.
class EncipherRun : public RunState {
  public:
    // The text must stay alive and unchanged for the life of the run.
    EncipherRun(std::u16string_view text, std::int16_t pass, std::int32_t shiftedValue = 0);

    // Runs to the next yield point or to the end. True: stopped at a yield
    // point; false: the run has ended.
    bool RunToYield();
    bool RunToYield(StepHook hook, void* context);

    // Runs to the end, passing over every yield point, for a caller that
    // serves no event loop: the same text and state as RunToYield() called
    // until it returns false.
    void RunToEnd();

    // The enciphered text of the characters processed, end marker included.
    // Call once, after the run has ended.
    std::string TakeResult();

  private:
    template <bool kHooked>
    bool Run(StepHook hook, void* context);

    // CipherText as it grows, in a string sized once for the longest
    // possible result.
    std::string buffer_;
    std::size_t written_ = 0;
    bool avx512_;
};

// The enciphered text of `text` under `pass`, end marker included. Exact for
// every text and every pass number -32768..32767.
std::string EncipherText(std::u16string_view text, std::int16_t pass);

// For a text enciphered as it arrives, one piece after the other: the
// groups of `piece` when its first character has `charactersBefore` before
// it, without the end marker, written from `out` on, which has room for
// EncipherPieceRoom(piece.size()) bytes. Returns the end of what it wrote.
// The pieces' groups one after the other, then the end marker, are
// EncipherText of the whole text.
char* EncipherPiece(std::u16string_view piece, std::int16_t pass, std::uint64_t charactersBefore,
                    char* out);
std::size_t EncipherPieceRoom(std::size_t units);

}  // namespace solvena::cipher
