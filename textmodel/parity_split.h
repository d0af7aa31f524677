// SPDX-License-Identifier: MIT
#pragma once

// How much the Unicode blocks of a text's units depend on whether they
// stand at odd or at even places. No text keeps its odd places to some
// blocks and its even places to others; a text deciphered under a wrong
// pass number, whose odd units moved up and even ones down, does so at
// every pass number that moves its letters out of their block. What the
// two halves' blocks tell of each other beyond chance is what such a text
// costs more.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace solvena::textmodel {

class ParitySplit {
  public:
    explicit ParitySplit(std::size_t blocks);

    // The unit at place `index` (from 0) is of `block`.
    void Add(std::uint16_t block, std::size_t index) {
        std::uint32_t& count = counts_[index % 2][block];
        if (count++ == 0 && counts_[1 - index % 2][block] == 0) {
            touched_.push_back(block);
        }
    }

    // The bits that knowing a unit's place saves in naming its block, over
    // the text, beyond what chance gives a text of as many blocks; then
    // forgets the text.
    double TakeExcessBits();

  private:
    std::vector<std::uint32_t> counts_[2];  // per block, of the odd and the even places
    std::vector<std::uint16_t> touched_;
};

}  // namespace solvena::textmodel
