// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>

namespace solvena::cipher {

// Called by a run after every character (encipher) or group (decipher) with
// the run's CipherPosition and CipherLength, so that a caller can draw
// progress. Positions are 1-based code-unit positions of the run's input.
using StepHook = void (*)(void* context, std::int64_t position, std::int64_t length);

// What the encipher and decipher runs share: the loop position over their
// input, the cycle of twenty, the last shifted value and the cancel.
class RunState {
  public:
    // CipherPosition := CipherLength, as closing the progress window does:
    // called at a yield point, the run ends after the step in progress.
    void Cancel() { position_ = length_; }

    bool Finished() const { return finished_; }
    std::int64_t CipherPosition() const { return position_; }
    std::int64_t CipherLength() const { return length_; }
    std::int16_t SeparatorIndex() const { return separatorIndex_; }
    std::int32_t ShiftedValue() const { return shiftedValue_; }

  protected:
    // The text must stay alive and unchanged for the life of the run.
    // `shiftedValue` is the ShiftedValue the run starts from (it keeps its
    // value when no character is processed).
    RunState(std::u16string_view text, std::int16_t pass, std::int32_t shiftedValue)
        : text_(text),
          pass_(pass),
          length_(static_cast<std::int64_t>(text.size())),
          shiftedValue_(shiftedValue) {}

    std::u16string_view text_;
    std::int16_t pass_;
    std::int64_t position_ = 1;
    std::int64_t length_;
    std::int16_t separatorIndex_ = 0;
    std::int32_t shiftedValue_;
    bool atYield_ = false;  // stopped at a yield point, the step unfinished
    bool finished_ = false;
};

}  // namespace solvena::cipher
