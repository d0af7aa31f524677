// SPDX-License-Identifier: MIT
#include "cipher/encipher.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <utility>

#include "cipher/alphabet.h"
#include "cipher/encipher_avx512.h"
#include "cipher/value_code.h"
#include "cipher/value_code_table.h"

namespace solvena::cipher {
namespace {

// The packed codes are stored with one memcpy, first symbol first.
static_assert(std::endian::native == std::endian::little);

// Room for the longest group (four symbols and a separator) plus the
// eight-byte store that runs past the end of every code.
constexpr std::size_t kMaxGroup = 5;
constexpr std::size_t kStoreSlack = detail::kBlockStoreSlack;
static_assert(kStoreSlack >= 8);

// The value codes of a character code c under one shift direction are
// codes[c]: the table moved by the shift, so that no addition is needed.
struct ShiftedCodes {
    const std::uint64_t* codes;
};

ShiftedCodes CodesFor(std::int32_t shift) {
    return {detail::ValueCodeTable() - kMinShiftedValue + shift};
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
    : RunState(text, pass, shiftedValue), avx512_(detail::HasAvx512Codes()) {
    // The result is built in place, so that taking it copies nothing; the
    // slack also holds the end marker and the line end a document file puts
    // after the text.
    static_assert(kStoreSlack >= kEndMarker.size() + 2);
    buffer_.resize(text.size() * kMaxGroup + kStoreSlack);
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
    char* out = buffer_.data() + written_;
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
    written_ = static_cast<std::size_t>(out - buffer_.data());
    atYield_ = yielded;
    finished_ = !yielded;
    return yielded;
}

void EncipherRun::RunToEnd() {
    if (finished_) {
        return;
    }
    if (atYield_) {
        // The rest of the step that yielded (see Run).
        atYield_ = false;
        ++position_;
    }
    if (!avx512_) {
        while (Run<false>(nullptr, nullptr)) {
        }
        return;
    }
#if defined(SOLVENA_AVX512)
    if (position_ <= length_) {
        const auto count = static_cast<std::size_t>(length_ - position_ + 1);
        const auto phase = static_cast<unsigned>(separatorIndex_ % kCycleLength);
        char* const out = detail::AppendCodesAvx512(text_.data() + position_ - 1, count, phase,
                                                    pass_, buffer_.data() + written_);
        written_ = static_cast<std::size_t>(out - buffer_.data());
        const auto last = static_cast<int>((phase + count) % kCycleLength);
        separatorIndex_ = static_cast<std::int16_t>(last == 0 ? kCycleLength : last);
        const std::int32_t code = static_cast<std::int16_t>(text_.back());
        shiftedValue_ = code + ((length_ & 1) != 0 ? pass_ : -pass_);
        position_ = length_ + 1;
    }
    finished_ = true;
#endif
}

std::string EncipherRun::TakeResult() {
    buffer_.resize(written_);
    buffer_.append(kEndMarker);
    written_ = 0;
    return std::move(buffer_);
}

std::size_t EncipherPieceRoom(std::size_t units) {
    return units * kMaxGroup + kStoreSlack;
}

char* EncipherPiece(std::u16string_view piece, std::int16_t pass, std::uint64_t charactersBefore,
                    char* out) {
    // The cycle has an even length, so the place in it also says whether a
    // character stands at an odd position.
    const auto phase = static_cast<unsigned>(charactersBefore % kCycleLength);
#if defined(SOLVENA_AVX512)
    if (detail::HasAvx512Codes()) {
        return detail::AppendCodesAvx512(piece.data(), piece.size(), phase, pass, out);
    }
#endif
    const ShiftedCodes plus = CodesFor(pass);
    const ShiftedCodes minus = CodesFor(-pass);
    std::size_t k = 0;
    for (; k < piece.size() && (phase + k) % kCycleLength != 0; ++k) {
        const auto place = (phase + k) % kCycleLength;
        const std::int16_t code = static_cast<std::int16_t>(piece[k]);
        out = AppendGroup(out, (place % 2 == 0 ? plus : minus).codes[code], kSeparatorCycle[place]);
    }
    for (; k + kCycleLength <= piece.size(); k += kCycleLength) {
        out = AppendCycle(piece.data() + k, plus, minus, out);
    }
    for (std::size_t place = 0; k < piece.size(); ++k, ++place) {
        const std::int16_t code = static_cast<std::int16_t>(piece[k]);
        out = AppendGroup(out, (place % 2 == 0 ? plus : minus).codes[code], kSeparatorCycle[place]);
    }
    return out;
}

std::string EncipherText(std::u16string_view text, std::int16_t pass) {
    EncipherRun run(text, pass);
    run.RunToEnd();
    return run.TakeResult();
}

}  // namespace solvena::cipher
