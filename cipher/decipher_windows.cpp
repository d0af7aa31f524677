// SPDX-License-Identifier: MIT
// DecipherRun driven to its end: whole windows of groups where the processor
// reads them in vector lanes, the careful reader of Run for the rest.

#include "cipher/decipher.h"
#include "cipher/group_parser_avx512.h"

namespace solvena::cipher {

void DecipherRun::RunToEnd() {
    while (!finished_) {
        if (atYield_) {
            // The rest of the group that yielded, as Run finishes it.
            atYield_ = false;
            if (pendingHasChar_) {
                cipherText_[written_++] = pendingChar_;
            }
            ++position_;
        }
        if (avx512_) {
            ReadWindows();
        }
        RunToYield();
    }
}

void DecipherRun::ReadWindows() {
#if defined(SOLVENA_AVX512)
    const char16_t* const text = text_.data();
    // The group after an even cycle position (0 before the first) is an odd
    // one: its pass number is negated.
    const std::int32_t firstPass = separatorIndex_ % 2 == 0 ? -pass_ : pass_;
    const detail::WindowsRead read = detail::ReadWindowsAvx512(
        text + position_ - 1, text + length_, firstPass, cipherText_.get() + written_);
    if (read.count == 0) {
        return;
    }
    position_ = read.next - text + 1;
    written_ += read.count;
    separatorIndex_ = static_cast<std::int16_t>(
        (static_cast<std::uint64_t>(separatorIndex_) + read.count - 1) % kCycleLength + 1);
    shiftedValue_ = detail::GroupValue(read.lastGroup, read.lastLength);
    // The chunk reader of Run starts afresh from the new position.
    chunkSeparators_ = 0;
#endif
}

}  // namespace solvena::cipher
