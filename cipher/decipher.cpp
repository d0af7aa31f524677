// SPDX-License-Identifier: MIT
#include "cipher/decipher.h"

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <utility>

#include "cipher/alphabet.h"
#include "cipher/group_parser_avx512.h"
#include "cipher/group_readers.h"

namespace solvena::cipher {

// The state of Run's loop over groups, in one place so that the readers of
// a whole cycle and of one group can share it; inlined, it stays in
// registers as plain locals would.
struct detail::GroupLoop {
    const char16_t* text;
    std::int64_t length;
    char16_t* out;
    std::size_t written;
    std::int64_t position;
    ChunkReader chunk;
    std::int32_t pass;
    int separator;
    std::int32_t shifted;
    bool yielded = false;
    bool stopped = false;
    bool pendingHasChar = false;  // the yielding group's character, appended on resuming
    char16_t pendingChar = 0;
};

namespace {

using namespace detail;

// A whole cycle, where one starts. False: the loop ends (the twentieth
// group yields, or the text has ended).
[[gnu::always_inline]] inline bool ReadWholeCycle(GroupLoop& loop) {
    if (loop.separator != 0 && loop.separator != kCycleLength) {
        return true;
    }
    loop.chunk.StartAt(loop.text + loop.position - 1);
    char16_t* next = loop.out + loop.written;
    const CycleRead cycle = ReadCycle(loop.chunk, loop.pass, loop.shifted, next);
    loop.separator = cycle.separator;
    loop.written = static_cast<std::size_t>(next - loop.out);
    // On the separator of the group that yielded, or at the start of the
    // group the cycle reader left alone.
    loop.position = loop.chunk.Next() - loop.text + (cycle.yielded ? 0 : 1);
    if (cycle.yielded) {
        loop.pendingHasChar = true;
        loop.pendingChar = cycle.last;
        loop.yielded = true;
        return false;
    }
    return loop.position <= loop.length;
}

// The group at the position, by the fastest reader that can read it. False:
// the loop ends (the stop symbol, or the group yields), the position left
// on the group's separator.
[[gnu::always_inline]] inline bool ReadOneGroup(GroupLoop& loop) {
    loop.separator = loop.separator == kCycleLength ? 1 : loop.separator + 1;
    const std::int32_t groupPass = (loop.separator & 1) != 0 ? -loop.pass : loop.pass;
    const char16_t* group = loop.text + loop.position - 1;
    bool hasChar = loop.chunk.Read(group, loop.shifted);
    if (hasChar) {
        loop.position = group - loop.text + 1;
    } else {
        hasChar = ReadPlainGroup(loop.text, loop.length, loop.position, loop.shifted);
    }
    if (!hasChar) {
        const CarefulRead careful = ReadCarefully(loop.text, loop.length, loop.position);
        loop.position = careful.position;
        if (careful.stop) {
            loop.stopped = true;
            return false;
        }
        hasChar = careful.hasChar;
        loop.shifted = careful.hasChar ? careful.shifted : loop.shifted;
    }
    const char16_t unit = UnitOf(loop.shifted, groupPass);
    if (loop.separator == kCycleLength) {
        loop.pendingHasChar = hasChar;
        loop.pendingChar = unit;
        loop.yielded = true;
        return false;
    }
    if (hasChar) {
        loop.out[loop.written++] = unit;
    }
    return true;
}

}  // namespace

DecipherRun::DecipherRun(std::u16string_view text, std::int16_t pass, std::int32_t shiftedValue)
    : RunState(text, pass, shiftedValue),
      avx2_(detail::HasAvx2()),
      avx512_(detail::HasAvx512Groups()) {
    // Every group that yields a character takes at least two characters.
    // Uninitialised: every unit is written before it is read. (Spelt with
    // new, as make_unique_for_overwrite is missing from some libraries.)
    cipherText_ =
        std::unique_ptr<char16_t[]>(new char16_t[text.size() / 2 + 1 + detail::kWindowStoreSlack]);
}

DecipherRun::DecipherRun(std::u16string_view piece, std::int16_t pass, std::int16_t separatorIndex,
                         bool more)
    : DecipherRun(piece, pass) {
    separatorIndex_ = separatorIndex;
    more_ = more;
}

bool DecipherRun::RunToYield() {
    return Run<false>(nullptr, nullptr);
}

bool DecipherRun::RunToYield(StepHook hook, void* context) {
    return hook == nullptr ? Run<false>(nullptr, nullptr) : Run<true>(hook, context);
}

template <bool kHooked>
bool DecipherRun::Run(StepHook hook, void* context) {
    if (finished_) {
        return false;
    }
    GroupLoop loop{
        text_.data(),
        length_,
        cipherText_.get(),
        written_,
        position_,
        ChunkReader{text_.data() + length_, chunkBase_, chunkSeparators_, chunkNext_, avx2_},
        pass_,
        separatorIndex_,
        shiftedValue_};
    if (atYield_) {
        // The rest of the group that yielded: its character, its progress,
        // then the step to the next group. A cancel during the yield has
        // moved the position to the end, so the loop test ends the run.
        atYield_ = false;
        if (pendingHasChar_) {
            loop.out[loop.written++] = pendingChar_;
        }
        if constexpr (kHooked) {
            hook(context, loop.position, loop.length);
        }
        ++loop.position;
    }
    while (loop.position <= loop.length) {
        if constexpr (!kHooked) {
            if (!ReadWholeCycle(loop)) {
                break;
            }
        }
        if (more_ && loop.position + 4 > loop.length) {
            break;  // the group may go on in the next piece
        }
        if (!ReadOneGroup(loop)) {
            break;
        }
        if constexpr (kHooked) {
            hook(context, loop.position, loop.length);
        }
        ++loop.position;
    }
    Keep(loop);
    return loop.yielded;
}

// Keeps where the loop stopped, for the next call of Run.
void DecipherRun::Keep(const detail::GroupLoop& loop) {
    position_ = loop.position;
    chunkBase_ = loop.chunk.base;
    chunkSeparators_ = loop.chunk.pending;
    chunkNext_ = loop.chunk.next;
    separatorIndex_ = static_cast<std::int16_t>(loop.separator);
    shiftedValue_ = loop.shifted;
    written_ = loop.written;
    atYield_ = loop.yielded;
    if (loop.yielded) {
        pendingHasChar_ = loop.pendingHasChar;
        pendingChar_ = loop.pendingChar;
    }
    stopped_ = loop.stopped;
    finished_ = !loop.yielded || loop.stopped;
}

std::u16string DecipherRun::TakeResult() {
    std::u16string result(cipherText_.get(), written_);
    cipherText_.reset();
    written_ = 0;
    return result;
}

std::u16string DecipherText(std::u16string_view text, std::int16_t pass) {
    DecipherRun run(text, pass);
    run.RunToEnd();
    return run.TakeResult();
}

}  // namespace solvena::cipher
