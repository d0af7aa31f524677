#include "encipher.h"

#include <bit>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>

#include "alphabet.h"
#include "value_code.h"

namespace solvena::cipher {
namespace {

constexpr std::uint64_t kValueCodes[] = {
#include "value_code_table.inc"
};
// The packed codes are stored with one memcpy, first symbol first.
static_assert(std::endian::native == std::endian::little);
static_assert(std::size(kValueCodes) == kMaxShiftedValue - kMinShiftedValue + 1);

// Room for the longest group (four symbols and a separator) plus the
// eight-byte store that runs past the end of every code.
constexpr std::size_t kMaxGroup = 5;
constexpr std::size_t kStoreSlack = 8;

// The value codes of a character code c under one shift direction are
// codes[c]: the table moved by the shift, so that no addition is needed.
struct ShiftedCodes {
    const std::uint64_t* codes;
};

ShiftedCodes CodesFor(std::int32_t shift) {
    return {kValueCodes - kMinShiftedValue + shift};
}

// Appends one character's value code and separator; returns the new end.
inline char* AppendGroup(char* out, std::uint64_t entry, char separator) {
    std::memcpy(out, &entry, sizeof entry);
    const auto count = static_cast<std::size_t>(entry >> 32);
    out[count] = separator;
    return out + count + 1;
}

// The twenty characters of one whole cycle, which starts at an odd
// position: every separator and shift direction is known in advance.
inline char* AppendCycle(const char16_t* text, ShiftedCodes plus, ShiftedCodes minus, char* out) {
#pragma GCC unroll 20
    for (int k = 0; k < kCycleLength; ++k) {
        const std::int16_t code = static_cast<std::int16_t>(text[k]);
        const std::uint64_t entry = k % 2 == 0 ? plus.codes[code] : minus.codes[code];
        out = AppendGroup(out, entry, kSeparatorCycle[static_cast<std::size_t>(k)]);
    }
    return out;
}

}  // namespace

EncipherRun::EncipherRun(std::u16string_view text, std::int16_t pass, std::int32_t shiftedValue)
    : RunState(text, pass, shiftedValue) {
    // Uninitialised: every byte up to the end is written before it is read.
    capacity_ = text.size() * kMaxGroup + kStoreSlack;
    buffer_ = std::make_unique_for_overwrite<char[]>(capacity_);
}

bool EncipherRun::RunToYield() {
    return Run<false>(nullptr, nullptr);
}

bool EncipherRun::RunToYield(StepHook hook, void* context) {
    return hook == nullptr ? Run<false>(nullptr, nullptr) : Run<true>(hook, context);
}

template <bool kHooked>
bool EncipherRun::Run(StepHook hook, void* context) {
    if (finished_) {
        return false;
    }
    std::int64_t position = position_;
    if (atYield_) {
        // The rest of the step that yielded: its progress, then the loop's
        // increment. A cancel during the yield has moved the position to
        // the end, so the loop test below ends the run.
        atYield_ = false;
        if constexpr (kHooked) {
            hook(context, position, length_);
        }
        ++position;
    }
    const char16_t* const text = text_.data();
    const std::int32_t pass = pass_;
    int separator = separatorIndex_;
    std::int32_t shifted = shiftedValue_;
    char* out = buffer_.get() + written_;
    const ShiftedCodes plus = CodesFor(pass);
    const ShiftedCodes minus = CodesFor(-pass);
    bool yielded = false;
    while (position <= length_) {
        if constexpr (!kHooked) {
            if ((separator == 0 || separator == kCycleLength) && position + 19 <= length_) {
                out = AppendCycle(text + position - 1, plus, minus, out);
                position += kCycleLength - 1;
                separator = kCycleLength;
                const std::int32_t last = static_cast<std::int16_t>(text[position - 1]);
                shifted = last - pass;
                yielded = true;
                break;
            }
        }
        separator = separator == kCycleLength ? 1 : separator + 1;
        const bool odd = (position & 1) != 0;
        const std::int32_t code = static_cast<std::int16_t>(text[position - 1]);
        shifted = code + (odd ? pass : -pass);
        out = AppendGroup(out, (odd ? plus : minus).codes[code], SeparatorAt(separator));
        if (separator == kCycleLength) {
            yielded = true;
            break;
        }
        if constexpr (kHooked) {
            hook(context, position, length_);
        }
        ++position;
    }
    position_ = position;
    separatorIndex_ = static_cast<std::int16_t>(separator);
    shiftedValue_ = shifted;
    written_ = static_cast<std::size_t>(out - buffer_.get());
    atYield_ = yielded;
    finished_ = !yielded;
    return yielded;
}

std::string EncipherRun::TakeResult() {
    std::string result;
    // Two more for the line end a document file puts after the text.
    result.reserve(written_ + kEndMarker.size() + 2);
    result.append(buffer_.get(), written_);
    result.append(kEndMarker);
    buffer_.reset();
    written_ = 0;
    return result;
}

std::string EncipherText(std::u16string_view text, std::int16_t pass) {
    EncipherRun run(text, pass);
    while (run.RunToYield()) {
    }
    return run.TakeResult();
}

}  // namespace solvena::cipher
