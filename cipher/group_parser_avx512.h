// SPDX-License-Identifier: MIT
#pragma once

// Reads the groups of 64 code units at a time where the processor has
// AVX-512 with byte permutes and compresses (chosen at run time). The
// separators of the window, as a bit mask, fix where every group starts and
// how long it is; its digits are gathered from one, two and three places
// before each separator, packed by a compress and weighed in 16-bit lanes,
// which give each code unit modulo 65536 as the careful reader does.
//
// A window is read only up to the first group the careful reader must read:
// a CR or stop symbol, a group that starts with a separator, a group with
// no separator within four places.

#include <array>
#include <cstddef>
#include <cstdint>

#include "cipher/alphabet.h"
#include "cipher/avx512_intrinsics.h"
#include "cipher/vector_forms.h"

namespace solvena::cipher::detail {

// The value of a group of `length` (1..4) symbols before its separator.
inline std::int32_t GroupValue(const char16_t* group, unsigned length) {
    if (length == 4) {
        return -(1849 * DigitValue(group[1]) + 43 * DigitValue(group[2]) + DigitValue(group[3]));
    }
    std::int32_t value = 0;
    for (unsigned k = 0; k < length; ++k) {
        value = 43 * value + DigitValue(group[k]);  // "-" counts as the digit 0
    }
    return group[0] == kMinusSign ? -value : value;
}

struct WindowGroups {
    unsigned count = 0;      // groups read, each giving one code unit
    unsigned consumed = 0;   // units up to and with the last separator read
    unsigned lastStart = 0;  // where the last group read starts
};

// The units a window looks at; a group read from it ends inside it.
inline constexpr std::ptrdiff_t kWindowUnits = 64;
// How far past its code units a window's store may write.
inline constexpr std::size_t kWindowStoreSlack = 32;

#if defined(SOLVENA_AVX512)

inline bool HasAvx512Groups() {
    return VectorFormsAllowed() && __builtin_cpu_supports("avx512f") &&
           __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi") &&
           __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("bmi2");
}

// Class of each byte 0..127 for a two-register permute: the digit value in
// bits 0 to 5, 0x40 for a separator, 0x80 for CR and the stop symbol.
struct ByteTable {
    alignas(64) std::uint8_t bytes[128];
};
inline constexpr ByteTable kWindowClasses = [] {
    ByteTable table{};
    for (char32_t c = 0; c < 128; ++c) {
        auto cls = static_cast<std::uint8_t>(DigitValue(c));
        cls |= static_cast<std::uint8_t>(IsSeparator(c) ? 0x40 : 0);
        cls |= c == kCarriageReturn || c == kStopSymbol ? 0x80 : 0;
        table.bytes[c] = cls;
    }
    return table;
}();

// Byte permutes that move every byte `k` places on (rows k = 1, 2, 3).
inline constexpr std::array<ByteTable, 3> kPlacesBack = [] {
    std::array<ByteTable, 3> rows{};
    for (std::size_t k = 0; k < 3; ++k) {
        for (std::size_t j = 0; j < 64; ++j) {
            rows[k].bytes[j] = static_cast<std::uint8_t>((j - k - 1) & 63);
        }
    }
    return rows;
}();

// The digits `k` places before each separator of `ends` where `keep` has
// the place, packed into 16-bit lanes, one for each separator.
[[gnu::target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2")]] inline __m512i DigitsBack(
    __m512i digits, std::uint64_t ends, std::uint64_t keep, int k) {
    const __m512i moved = _mm512_maskz_permutexvar_epi8(
        keep, _mm512_load_si512(kPlacesBack[static_cast<std::size_t>(k - 1)].bytes), digits);
    return _mm512_cvtepu8_epi16(_mm512_castsi512_si256(_mm512_maskz_compress_epi8(ends, moved)));
}

// Reads the groups of the window `units` (64 units, the first starting a
// group). The first group's character takes `firstPass`, the next the
// opposite, and so on; the characters go to `out`, which may be written up
// to kWindowStoreSlack units past them.
[[gnu::target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,bmi2,popcnt")]] inline WindowGroups
ReadWindowAvx512(const char16_t* units, std::int32_t firstPass, char16_t* out) {
    // Narrowed with saturation: units from 256 up become 0 or 255, and the
    // table leaves every byte from 128 up without a class.
    const __m512i packed =
        _mm512_packus_epi16(_mm512_loadu_si512(units), _mm512_loadu_si512(units + 32));
    const __m512i bytes =
        _mm512_permutexvar_epi64(_mm512_setr_epi64(0, 2, 4, 6, 1, 3, 5, 7), packed);
    const __m512i classes = _mm512_maskz_permutex2var_epi8(
        ~_mm512_movepi8_mask(bytes), _mm512_load_si512(kWindowClasses.bytes), bytes,
        _mm512_load_si512(kWindowClasses.bytes + 64));
    const std::uint64_t separators = _mm512_test_epi8_mask(classes, _mm512_set1_epi8(0x40));
    const std::uint64_t careful = _mm512_test_epi8_mask(classes, _mm512_set1_epi8(char(0x80)));
    const std::uint64_t signs = _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8('-'));
    const __m512i digits = _mm512_and_si512(classes, _mm512_set1_epi8(0x3F));

    // Every group starts after a separator, as long as the groups before
    // it were whole; the first that is not ends the window.
    const std::uint64_t starts = (separators << 1) | 1;
    const std::uint64_t others = ~separators;
    const std::uint64_t fourOthers = others & (others >> 1) & (others >> 2) & (others >> 3);
    const std::uint64_t stops = (starts & ((fourOthers >> 1) | separators)) | careful;
    const std::uint64_t ends = stops == 0 ? separators : separators & ((stops & -stops) - 1);
    if (ends == 0) {
        return {};
    }
    // At each separator: whether its group has two, three, four symbols,
    // and whether its value is negative.
    const std::uint64_t two = ~(starts << 1);
    const std::uint64_t three = two & ~(starts << 2);
    const std::uint64_t four = three & ~(starts << 3);
    const std::uint64_t leadSigns = signs & starts;
    const std::uint64_t negative = ((leadSigns << 2) & two) | ((leadSigns << 3) & three) | four;

    const __m512i last = DigitsBack(digits, ends, ~std::uint64_t{1}, 1);
    const __m512i middle = DigitsBack(digits, ends, two & ~std::uint64_t{3}, 2);
    const __m512i lead = DigitsBack(digits, ends, three & ~std::uint64_t{7}, 3);
    const __m512i magnitude =
        _mm512_add_epi16(last, _mm512_add_epi16(_mm512_mullo_epi16(middle, _mm512_set1_epi16(43)),
                                                _mm512_mullo_epi16(lead, _mm512_set1_epi16(1849))));
    const __m512i zero = _mm512_setzero_si512();
    const auto negativeLanes = static_cast<__mmask32>(_pext_u64(negative, ends));
    const __m512i value = _mm512_mask_sub_epi16(magnitude, negativeLanes, zero, magnitude);
    const __m512i pass = _mm512_set1_epi16(static_cast<short>(firstPass));
    const __m512i passes = _mm512_mask_sub_epi16(pass, 0xAAAAAAAA, zero, pass);
    _mm512_storeu_si512(out, _mm512_add_epi16(value, passes));

    WindowGroups groups;
    groups.count = static_cast<unsigned>(_mm_popcnt_u64(ends));
    groups.consumed = 64 - static_cast<unsigned>(__builtin_clzll(ends));
    const std::uint64_t before = ends & ~(std::uint64_t{1} << (groups.consumed - 1));
    groups.lastStart = before == 0 ? 0 : 64 - static_cast<unsigned>(__builtin_clzll(before));
    return groups;
}

struct WindowsRead {
    const char16_t* next;       // where the first group not read starts
    const char16_t* lastGroup;  // the last group read, nullptr for none
    unsigned lastLength;        // its symbols before the separator
    std::uint64_t count;        // the groups read
};

// Reads window after window from `group` on while 64 units remain before
// `end` and the window has a group that can be read so; `firstPass` and
// `out` as for ReadWindowAvx512.
[[gnu::target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,bmi2,popcnt")]] inline WindowsRead
ReadWindowsAvx512(const char16_t* group, const char16_t* end, std::int32_t firstPass,
                  char16_t* out) {
    WindowsRead read{group, nullptr, 0, 0};
    while (end - read.next >= kWindowUnits) {
        const WindowGroups window = ReadWindowAvx512(read.next, firstPass, out + read.count);
        if (window.count == 0) {
            break;
        }
        read.lastGroup = read.next + window.lastStart;
        read.lastLength = window.consumed - 1 - window.lastStart;
        read.next += window.consumed;
        read.count += window.count;
        firstPass = window.count % 2 == 0 ? firstPass : -firstPass;
    }
    return read;
}

#else

inline bool HasAvx512Groups() {
    return false;
}

#endif

}  // namespace solvena::cipher::detail
