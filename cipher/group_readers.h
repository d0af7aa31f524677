// SPDX-License-Identifier: MIT
#pragma once

// The group readers of the decipher run, from the fastest to the most
// careful: a plain group read without a branch on its length, the chunk
// reader that walks the separators of 64 classified units, a whole cycle of
// twenty groups through it, and the careful reader for everything else.
// Private to decipher.cpp.

#include <array>
#include <bit>
#include <cstdint>

#include "cipher/alphabet.h"
#include "cipher/chunk_classes.h"

namespace solvena::cipher::detail {

// Class of every code unit for the fast group reader: bit 0 marks the
// twenty separators, bit 1 the characters that need the careful reader (CR
// starts a line break, the stop symbol ends the text), bits 2 to 7 hold the
// digit value (0 for anything that is no digit symbol). One table lookup per
// place and no comparisons keep the reader's work per group small.
inline constexpr std::uint8_t kSeparatorBit = 0x01;
inline constexpr std::uint8_t kCarefulBit = 0x02;
inline constexpr int kDigitShift = 2;

constexpr std::array<std::uint8_t, 0x10000> MakeClasses() {
    std::array<std::uint8_t, 0x10000> classes{};
    for (char32_t c = 0; c < 128; ++c) {
        auto cls = static_cast<std::uint8_t>(DigitValue(c) << kDigitShift);
        if (IsSeparator(c)) {
            cls |= kSeparatorBit;
        }
        if (c == kCarriageReturn || c == kStopSymbol) {
            cls |= kCarefulBit;
        }
        classes[c] = cls;
    }
    return classes;
}
inline constexpr std::array<std::uint8_t, 0x10000> kClasses = MakeClasses();

constexpr std::array<std::uint8_t, 0x10000> MakeDigits() {
    std::array<std::uint8_t, 0x10000> digits{};
    for (char32_t c = 0; c < 128; ++c) {
        digits[c] = static_cast<std::uint8_t>(DigitValue(c));
    }
    return digits;
}
// The digit value of every code unit, 0 for anything that is no digit symbol.
inline constexpr std::array<std::uint8_t, 0x10000> kDigits = MakeDigits();

// Weights of the digit values of S1..S4 in a group's value, by group length
// L (row L - 1) and, in the second four rows, with the minus flag set. A
// four-symbol group is negative and skips S1 whether or not it is "-".
inline constexpr std::int32_t kWeights[8][4] = {
    {1, 0, 0, 0}, {43, 1, 0, 0}, {1849, 43, 1, 0}, {0, -1849, -43, -1},
    {0, 0, 0, 0}, {0, -1, 0, 0}, {0, -43, -1, 0},  {0, -1849, -43, -1},
};

// No code unit at this place: beyond the end of the text.
inline constexpr std::int32_t kNone = -1;

// Reads the group at `position` when all of S1..S5 lie inside the text, none
// of them is CR or the stop symbol, and one of S2..S5 is a separator: the
// common case, read without a branch on the group's length. Returns false
// and changes nothing otherwise.
inline bool ReadPlainGroup(const char16_t* text, std::int64_t length, std::int64_t& position,
                           std::int32_t& shifted) {
    if (position + 4 > length) {
        return false;
    }
    const char16_t* w = text + position - 1;
    const std::uint32_t c1 = kClasses[w[0]];
    const std::uint32_t c2 = kClasses[w[1]];
    const std::uint32_t c3 = kClasses[w[2]];
    const std::uint32_t c4 = kClasses[w[3]];
    const std::uint32_t c5 = kClasses[w[4]];
    if (((c1 | c2 | c3 | c4 | c5) & kCarefulBit) != 0) {
        return false;
    }
    const std::uint32_t separators = (c2 & kSeparatorBit) + 2 * (c3 & kSeparatorBit) +
                                     4 * (c4 & kSeparatorBit) + 8 * (c5 & kSeparatorBit);
    if (separators == 0) {
        return false;
    }
    const int groupLength = std::countr_zero(separators) + 1;
    const std::int32_t* weight = kWeights[(groupLength - 1) + (w[0] == kMinusSign ? 4 : 0)];
    shifted = weight[0] * static_cast<std::int32_t>(c1 >> kDigitShift) +
              weight[1] * static_cast<std::int32_t>(c2 >> kDigitShift) +
              weight[2] * static_cast<std::int32_t>(c3 >> kDigitShift) +
              weight[3] * static_cast<std::int32_t>(c4 >> kDigitShift);
    position += groupLength;
    return true;
}

// Codes outside -32768..65535 (a wrong pass number, text that was never
// enciphered) are reduced modulo 65536 like all others.
inline char16_t UnitOf(std::int32_t shifted, std::int32_t groupPass) {
    return static_cast<char16_t>(static_cast<std::uint32_t>(shifted + groupPass));
}

// A chunk starts only where 66 units remain: a group read from it may
// begin as late as its 63rd unit, and the reader looks at four places.
inline constexpr std::ptrdiff_t kChunkRoom = 66;

// Classifies the 64 units from `units` on. Out of line, so that the loop
// that reads groups stays small.
[[gnu::noinline]] inline std::uint64_t LoadChunk(const char16_t* units, bool avx2) {
    const detail::ChunkClasses classes = detail::ClassifyChunk(units, avx2);
    // Separators at or after a unit that needs care are left to the careful
    // reader.
    if (classes.careful != 0) {
        return classes.separators & ((classes.careful & -classes.careful) - 1);
    }
    return classes.separators;
}

// Reads groups by walking the separators of a chunk of 64 units, classified
// together. In enciphered text every separator ends a group, so the groups
// come out of the separator mask one set bit after the other, and the loop
// never waits for one group's end before it can look for the next.
struct ChunkReader {
    const char16_t* end;    // one past the text's last unit
    const char16_t* base;   // the chunk's first unit
    std::uint64_t pending;  // separators not yet read, bit i: base[i]
    std::uint32_t next;     // where the group after the last one read starts, from base
    bool avx2;              // the processor classifies with AVX2

    const char16_t* Next() const { return base + next; }

    // Reads on from `group`, which the separators classified so far cover
    // when it is where the last group read ended.
    void StartAt(const char16_t* group) {
        if (group != Next()) {
            pending = 0;
            base = group;
            next = 0;
        }
    }

    // Reads the group at `group` and leaves it on its separator; false, with
    // nothing changed, when the careful reader must read it: a group of more
    // than four symbols, a separator at its start, a unit that needs care,
    // the last units of the text (see kChunkRoom).
    bool Read(const char16_t*& group, std::int32_t& shifted) {
        StartAt(group);
        if (!ReadNext(shifted)) {
            return false;
        }
        group = Next() - 1;
        return true;
    }

    // Reads the group that starts right after the last one read.
    bool ReadNext(std::int32_t& shifted) {
        if (pending == 0) {
            const char16_t* group = Next();
            if (end - group < kChunkRoom) {
                return false;
            }
            base = group;
            next = 0;
            pending = LoadChunk(group, avx2);
            if (pending == 0) {
                return false;
            }
        }
        const auto separator = static_cast<std::uint32_t>(__builtin_ctzll(pending));
        // The group's length less one: 0..3 for one to four symbols.
        const std::uint32_t lengthLessOne = separator - next - 1;
        if (lengthLessOne > 3) {
            return false;
        }
        const char16_t* group = base + next;
        const std::int32_t* weight = kWeights[lengthLessOne + (group[0] == kMinusSign ? 4 : 0)];
        shifted = weight[0] * kDigits[group[0]] + weight[1] * kDigits[group[1]] +
                  weight[2] * kDigits[group[2]] + weight[3] * kDigits[group[3]];
        pending &= pending - 1;
        next = separator + 1;
        return true;
    }
};

// A whole cycle of twenty groups from its start, as far as the chunk reader
// goes: each group's place in the cycle, and so its shift and whether it
// yields, is known in advance. The characters go to `next`, but for that of
// the twentieth group, which is handed back.
struct CycleRead {
    int separator = 0;  // the place in the cycle of the last group read
    bool yielded = false;
    char16_t last = 0;
};

inline CycleRead ReadCycle(ChunkReader& chunk, std::int32_t pass, std::int32_t& shifted,
                           char16_t*& next) {
    const std::int32_t oddPass = -pass;
    CycleRead read;
#pragma GCC unroll 20
    for (int k = 0; k < kCycleLength; ++k) {
        if (!chunk.ReadNext(shifted)) {
            break;
        }
        const char16_t unit = UnitOf(shifted, k % 2 == 0 ? oddPass : pass);
        read.separator = k + 1;
        if (read.separator == kCycleLength) {
            read.yielded = true;
            read.last = unit;
            break;
        }
        *next++ = unit;
    }
    return read;
}

// What the careful reader finds at a place.
struct CarefulRead {
    bool stop = false;     // the stop symbol: the text ends here
    bool hasChar = false;  // a group, with its value
    std::int32_t shifted = 0;
    std::int64_t position = 0;  // the group's separator, or the place it was missing at
};

// The careful reader: line breaks passed over wherever they stand, the stop
// symbol, the end of the text, places without a separator.
inline CarefulRead ReadCarefully(const char16_t* text, std::int64_t length, std::int64_t position) {
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
    CarefulRead read;
    read.position = skipBreaks(position);
    std::int32_t s[5];
    std::int64_t at[5];
    s[0] = charAt(read.position);
    at[0] = read.position;
    if (s[0] == kStopSymbol) {
        read.stop = true;
        return read;
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
    if (groupLength == 0) {
        return read;
    }
    const int row = (groupLength - 1) + (s[0] == kMinusSign ? 4 : 0);
    for (int k = 0; k < 4; ++k) {
        const char32_t c = s[k] == kNone ? 0 : static_cast<char32_t>(s[k]);
        read.shifted += kWeights[row][k] * DigitValue(c);
    }
    read.position = at[groupLength];
    read.hasChar = true;
    return read;
}

}  // namespace solvena::cipher::detail
