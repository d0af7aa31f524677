// SPDX-License-Identifier: MIT
#pragma once

// Code page 932 read 64 bytes at a time: which bytes start characters, known
// from the lead bytes before any lookup, so that the lookups of one
// character need not wait for those of the one before. Private to the
// code page's reading; inline, as it runs once for every block.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "document/cp932_table.h"

namespace solvena::document::blocks {

// The bytes among the 64 from `in` on that are lead bytes, bit k for byte k.
inline std::uint64_t LeadBytes(const unsigned char* in, const detail::Cp932Table& table) {
    std::uint64_t mask = 0;
#if defined(__SSE2__)
    if (table.usualLeadBytes) {
        // Unsigned ranges: x - low wraps above the range's width outside it.
        const auto within = [](__m128i x, char low, char width) {
            const __m128i d = _mm_sub_epi8(x, _mm_set1_epi8(low));
            return _mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(width)), d);
        };
        for (int k = 0; k < 4; ++k) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * k));
            const __m128i leads =
                _mm_or_si128(within(x, '\x81', 0x9F - 0x81), within(x, '\xE0', 0xFC - 0xE0));
            mask |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(leads))} << (16 * k);
        }
        return mask;
    }
#endif
    for (int k = 0; k < 64; ++k) {
        mask |= std::uint64_t{table.single[in[k]] == detail::Cp932Table::kLeadByte} << k;
    }
    return mask;
}

// Which lead bytes among 64 begin a pair: a trail byte may look like a lead
// byte, so in each run of them every other one does, from the run's first.
// `trailFirst`: byte 0 ends a pair begun before.
inline std::uint64_t PairLeads(std::uint64_t leadBytes, bool trailFirst) {
    constexpr std::uint64_t kEven = 0x5555555555555555u;
    const std::uint64_t leads = leadBytes & ~std::uint64_t{trailFirst};
    const std::uint64_t starts = leads & ~(leads << 1);
    // Adding a run's first bit clears the run: what remains of the runs
    // that start at even places, and of those that start at odd places.
    const std::uint64_t evenRuns = leads & ~(leads + (starts & kEven));
    const std::uint64_t oddRuns = leads & ~(leads + (starts & ~kEven));
    return (evenRuns & kEven) | (oddRuns & ~kEven);
}

// Enciphered text, and most bytes of many texts, are ASCII: a block of 64
// of them is looked up byte by byte, with none of the work that finding
// where characters start takes. False (with `out` left to be written over)
// when the block holds another byte, or one the table has no answer for.
inline bool SinglesOnly(const unsigned char* in, const detail::Cp932Table& table, char16_t* out) {
    std::uint64_t high = 0;
    for (int k = 0; k < 64; k += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, in + k, sizeof word);
        high |= word;
    }
    if ((high & 0x8080808080808080u) != 0) {
        return false;
    }
    std::int32_t lowest = 0;
    for (int k = 0; k < 64; ++k) {
        const std::int32_t unit = table.single[in[k]];
        lowest = std::min(lowest, unit);
        out[k] = static_cast<char16_t>(unit);
    }
    return lowest >= 0;
}

inline constexpr std::size_t kAllRead = ~std::size_t{0};

// The characters that start in the block of 64 bytes from `block` on, as
// `pairLeads` and `trailFirst` place them; the offset of the first the
// table has no answer for, or kAllRead.
inline std::size_t DecodeBlock(const unsigned char* in, std::size_t block, std::uint64_t pairLeads,
                               bool trailFirst, const detail::Cp932Table& table, char16_t*& out) {
    char16_t* written = out;  // a copy that stays in a register
    std::uint64_t starts = ~((pairLeads << 1) | std::uint64_t{trailFirst});
    while (starts != 0) {
        const std::size_t p = block + static_cast<std::size_t>(std::countr_zero(starts));
        starts &= starts - 1;
        const std::int32_t single = table.single[in[p]];
        const std::int32_t pair = table.pair[in[p] * 256u + in[p + 1]];
        const std::int32_t unit = single == detail::Cp932Table::kLeadByte ? pair : single;
        if (unit < 0) {
            out = written;
            return p;
        }
        *written++ = static_cast<char16_t>(unit);
    }
    out = written;
    return kAllRead;
}

}  // namespace solvena::document::blocks
