#include "encipher.h"

#include <bit>
#include <cstring>
#include <iterator>
#include <utility>

#include "alphabet.h"
#include "value_code.h"

namespace solvena::cipher {
namespace {

constexpr std::uint32_t kValueCodes[] = {
#include "value_code_table.inc"
};
// The packed codes are stored with one memcpy, first symbol first.
static_assert(std::endian::native == std::endian::little);
static_assert(std::size(kValueCodes) == kMaxShiftedValue - kMinShiftedValue + 1);

// Room for the longest group (four symbols and a separator) plus the
// four-byte store that may run past the end of a shorter code.
constexpr std::size_t kMaxGroup = 5;
constexpr std::size_t kStoreSlack = 4;

}  // namespace

EncipherRun::EncipherRun(std::u16string_view text, std::int16_t pass, std::int32_t shiftedValue)
    : text_(text),
      pass_(pass),
      length_(static_cast<std::int64_t>(text.size())),
      shiftedValue_(shiftedValue) {
    cipherText_.resize(text.size() * kMaxGroup + kStoreSlack);
}

bool EncipherRun::RunToYield() { return Run<false>(nullptr, nullptr); }

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
    char* out = cipherText_.data() + written_;
    bool yielded = false;
    while (position <= length_) {
        separator = separator == kCycleLength ? 1 : separator + 1;
        const std::int32_t shift = (position & 1) != 0 ? pass : -pass;
        const std::int32_t code = static_cast<std::int16_t>(text[position - 1]);
        shifted = code + shift;
        const std::uint32_t symbols = kValueCodes[shifted - kMinShiftedValue];
        std::memcpy(out, &symbols, sizeof symbols);
        const int count = 4 - (std::countl_zero(symbols) >> 3);
        out[count] = SeparatorAt(separator);
        out += count + 1;
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
    written_ = static_cast<std::size_t>(out - cipherText_.data());
    atYield_ = yielded;
    finished_ = !yielded;
    return yielded;
}

std::string EncipherRun::TakeResult() {
    cipherText_.resize(written_);
    cipherText_.append(kEndMarker);
    if (cipherText_.capacity() > cipherText_.size() + cipherText_.size() / 4) {
        cipherText_.shrink_to_fit();
    }
    written_ = 0;
    return std::move(cipherText_);
}

std::string EncipherText(std::u16string_view text, std::int16_t pass) {
    EncipherRun run(text, pass);
    while (run.RunToYield()) {
    }
    return run.TakeResult();
}

}  // namespace solvena::cipher
