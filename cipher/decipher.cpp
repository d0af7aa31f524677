#include "decipher.h"

#include <array>
#include <bit>
#include <utility>

#include "alphabet.h"

namespace solvena::cipher {
namespace {

// Class of an input character for the fast group reader: its digit value
// in the low six bits, kSeparatorBit for the twenty separators, and
// kSpecialBit for the characters that need the careful reader (CR starts a
// line break, the stop symbol ends the text).
constexpr std::uint8_t kDigitMask = 0x3f;
constexpr std::uint8_t kSeparatorBit = 0x40;
constexpr std::uint8_t kSpecialBit = 0x80;

constexpr std::array<std::uint8_t, 128> MakeClasses() {
    std::array<std::uint8_t, 128> classes{};
    for (char32_t c = 0; c < 128; ++c) {
        std::uint8_t cls = static_cast<std::uint8_t>(DigitValue(c));
        if (IsSeparator(c)) {
            cls |= kSeparatorBit;
        }
        if (c == kCarriageReturn || c == kStopSymbol) {
            cls |= kSpecialBit;
        }
        classes[c] = cls;
    }
    return classes;
}
constexpr std::array<std::uint8_t, 128> kClasses = MakeClasses();

inline std::uint32_t ClassOf(char16_t c) { return c < 128 ? kClasses[c] : 0u; }

// Weights of the digit values of S1..S4 in a group's value, by group length
// L (index L - 1) and, for the second four rows, with the minus flag set.
// A four-symbol group is negative and skips S1 whether or not it is "-".
constexpr std::int32_t kWeights[8][4] = {
    {1, 0, 0, 0},     {43, 1, 0, 0},  {1849, 43, 1, 0}, {0, -1849, -43, -1},
    {0, 0, 0, 0},     {0, -1, 0, 0},  {0, -43, -1, 0},  {0, -1849, -43, -1},
};

// No code unit at this place: beyond the end of the text.
constexpr std::int32_t kNone = -1;

}  // namespace

DecipherRun::DecipherRun(std::u16string_view text, std::int16_t pass, std::int32_t shiftedValue)
    : text_(text),
      pass_(pass),
      length_(static_cast<std::int64_t>(text.size())),
      shiftedValue_(shiftedValue) {
    // Every group that yields a character takes at least two characters.
    cipherText_.resize(text.size() / 2 + 1);
}

bool DecipherRun::RunToYield() { return Run<false>(nullptr, nullptr); }

bool DecipherRun::RunToYield(StepHook hook, void* context) {
    return hook == nullptr ? Run<false>(nullptr, nullptr) : Run<true>(hook, context);
}

template <bool kHooked>
bool DecipherRun::Run(StepHook hook, void* context) {
    if (finished_) {
        return false;
    }
    const char16_t* const text = text_.data();
    const std::int64_t length = length_;
    char16_t* const out = cipherText_.data();
    std::size_t written = written_;
    std::int64_t position = position_;

    // Passes over line breaks: CR and the character after it.
    const auto skipBreaks = [&](std::int64_t at) {
        while (at <= length && text[at - 1] == kCarriageReturn) {
            at += 2;
        }
        return at;
    };
    const auto charAt = [&](std::int64_t at) -> std::int32_t {
        return at <= length ? static_cast<std::int32_t>(text[at - 1]) : kNone;
    };

    if (atYield_) {
        // The rest of the group that yielded: its character, its progress,
        // then the step to the next group. A cancel during the yield has
        // moved the position to the end, so the loop test ends the run.
        atYield_ = false;
        if (pendingHasChar_) {
            out[written++] = pendingChar_;
        }
        if constexpr (kHooked) {
            hook(context, position, length);
        }
        ++position;
    }

    const std::int32_t pass = pass_;
    int separator = separatorIndex_;
    std::int32_t shifted = shiftedValue_;
    bool yielded = false;
    bool stopped = false;
    while (position <= length) {
        separator = separator == kCycleLength ? 1 : separator + 1;
        const std::int32_t groupPass = (separator & 1) != 0 ? -pass : pass;
        bool hasChar = false;
        bool careful = true;
        if (position + 4 <= length) {
            // Fast reader: the five places S1..S5 lie inside the text and
            // hold no line break and no stop symbol.
            const char16_t* w = text + position - 1;
            const std::uint32_t c1 = ClassOf(w[0]);
            const std::uint32_t c2 = ClassOf(w[1]);
            const std::uint32_t c3 = ClassOf(w[2]);
            const std::uint32_t c4 = ClassOf(w[3]);
            const std::uint32_t c5 = ClassOf(w[4]);
            if (((c1 | c2 | c3 | c4 | c5) & kSpecialBit) == 0) {
                careful = false;
                const std::uint32_t separators =
                    ((c2 >> 6) & 1u) | ((c3 >> 5) & 2u) | ((c4 >> 4) & 4u) | ((c5 >> 3) & 8u);
                if (separators != 0) {
                    const int groupLength = std::countr_zero(separators) + 1;
                    const int row = (groupLength - 1) + (w[0] == kMinusSign ? 4 : 0);
                    const std::int32_t* weight = kWeights[row];
                    shifted = weight[0] * static_cast<std::int32_t>(c1 & kDigitMask) +
                              weight[1] * static_cast<std::int32_t>(c2 & kDigitMask) +
                              weight[2] * static_cast<std::int32_t>(c3 & kDigitMask) +
                              weight[3] * static_cast<std::int32_t>(c4 & kDigitMask);
                    position += groupLength;
                    hasChar = true;
                }
            }
        }
        if (careful) {
            position = skipBreaks(position);
            std::int32_t s[5];
            std::int64_t at[5];
            s[0] = charAt(position);
            at[0] = position;
            if (s[0] == kStopSymbol) {
                stopped = true;
                break;
            }
            for (int k = 1; k < 5; ++k) {
                at[k] = skipBreaks(at[k - 1] + 1);
                s[k] = charAt(at[k]);
            }
            int groupLength = 0;
            for (int k = 1; k < 5; ++k) {
                if (s[k] != kNone && IsSeparator(static_cast<char32_t>(s[k]))) {
                    groupLength = k;
                    break;
                }
            }
            if (groupLength != 0) {
                const int row = (groupLength - 1) + (s[0] == kMinusSign ? 4 : 0);
                shifted = 0;
                for (int k = 0; k < 4; ++k) {
                    const char32_t c = s[k] == kNone ? 0 : static_cast<char32_t>(s[k]);
                    shifted += kWeights[row][k] * DigitValue(c);
                }
                position = at[groupLength];
                hasChar = true;
            }
        }
        // Codes outside -32768..65535 (a wrong pass number, text that was
        // never enciphered) are reduced modulo 65536 like all others.
        const auto unit = static_cast<char16_t>(static_cast<std::uint32_t>(shifted + groupPass));
        if (separator == kCycleLength) {
            pendingHasChar_ = hasChar;
            pendingChar_ = unit;
            yielded = true;
            break;
        }
        if (hasChar) {
            out[written++] = unit;
        }
        if constexpr (kHooked) {
            hook(context, position, length);
        }
        ++position;
    }
    position_ = position;
    separatorIndex_ = static_cast<std::int16_t>(separator);
    shiftedValue_ = shifted;
    written_ = written;
    atYield_ = yielded;
    finished_ = !yielded || stopped;
    return yielded;
}

std::u16string DecipherRun::TakeResult() {
    cipherText_.resize(written_);
    if (cipherText_.capacity() > cipherText_.size() + cipherText_.size() / 4) {
        cipherText_.shrink_to_fit();
    }
    written_ = 0;
    return std::move(cipherText_);
}

std::u16string DecipherText(std::u16string_view text, std::int16_t pass) {
    DecipherRun run(text, pass);
    while (run.RunToYield()) {
    }
    return run.TakeResult();
}

}  // namespace solvena::cipher
