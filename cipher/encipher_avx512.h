// SPDX-License-Identifier: MIT
#pragma once

// Value codes of sixteen characters at a time, worked out in vector lanes
// and packed together with their separators by one byte compress, where the
// processor has AVX-512 with byte permutes and compresses (chosen at run
// time). Gives the same text as the table of packed value codes.

#include <cstdint>
#include <string_view>

#include "cipher/alphabet.h"
#include "cipher/avx512_intrinsics.h"
#include "cipher/vector_forms.h"

namespace solvena::cipher::detail {

// The separator cycle twice over, so that sixteen separators starting at
// any cycle position can be loaded at once.
inline constexpr std::string_view kSeparatorCycleTwice = "!K#M$L%P&N'R([)]W/Y.!K#M$L%P&N'R([)]W/Y.";
static_assert(kSeparatorCycleTwice.substr(0, kCycleLength) == kSeparatorCycle);
static_assert(kSeparatorCycleTwice.substr(kCycleLength) == kSeparatorCycle);

// The longest text one block appends, and how far past it the block's
// stores may write.
inline constexpr std::size_t kBlockStoreSlack = 64;

#if defined(SOLVENA_AVX512)

inline bool HasAvx512Codes() {
    return VectorFormsAllowed() && __builtin_cpu_supports("avx512f") &&
           __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
           __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2");
}

// Digit value to symbol for a byte permute: 0..43 the digit symbols, 44 the
// sign, everything above a place the code leaves empty (zero, dropped by
// the compress).
struct SymbolTable {
    alignas(64) char bytes[64];
};
inline constexpr SymbolTable kSymbolTable = [] {
    SymbolTable table{};
    for (std::size_t i = 0; i < kDigitSymbols.size(); ++i) {
        table.bytes[i] = kDigitSymbols[i];
    }
    table.bytes[44] = '-';
    return table;
}();
inline constexpr int kSignPlace = 44;
inline constexpr int kEmptyPlace = 63;

// Appends the value codes and separators of `count` (1..16) characters from
// `units` on; the first has cycle position `phase` + 1 (phase 0..19), and is
// at an odd text position when `phase` is even, as every cycle starts at an
// odd position. May write up to kBlockStoreSlack bytes past what it appends.
[[gnu::target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,popcnt")]] inline char*
AppendBlockAvx512(const char16_t* units, unsigned count, unsigned phase, std::int32_t pass,
                  char* out) {
    const __mmask16 live =
        count >= 16 ? __mmask16{0xFFFF} : static_cast<__mmask16>((1u << count) - 1);
    // +P at odd positions, -P at even ones.
    const __mmask16 even = (phase & 1) == 0 ? 0xAAAA : 0x5555;
    const __m512i shift = _mm512_mask_sub_epi32(_mm512_set1_epi32(pass), even,
                                                _mm512_setzero_si512(), _mm512_set1_epi32(pass));
    const __m256i raw = _mm256_maskz_loadu_epi16(live, units);
    const __m512i v = _mm512_add_epi32(_mm512_cvtepi16_epi32(raw), shift);
    const __mmask16 negative = _mm512_cmplt_epi32_mask(v, _mm512_setzero_si512());
    // |v| <= 65536, for which (a * 48771) >> 21 is exactly a / 43.
    const __m512i a = _mm512_abs_epi32(v);
    const __m512i q = _mm512_srli_epi32(_mm512_mullo_epi32(a, _mm512_set1_epi32(48771)), 21);
    const __m512i r = _mm512_sub_epi32(a, _mm512_mullo_epi32(q, _mm512_set1_epi32(43)));
    const __m512i q2 = _mm512_srli_epi32(_mm512_mullo_epi32(q, _mm512_set1_epi32(48771)), 21);
    const __m512i m = _mm512_sub_epi32(q, _mm512_mullo_epi32(q2, _mm512_set1_epi32(43)));
    // One digit below 43, two up to the quotient 43 ("I"), three above.
    const __mmask16 three = _mm512_cmpgt_epi32_mask(q, _mm512_set1_epi32(43));
    const __mmask16 one = _mm512_cmpeq_epi32_mask(q, _mm512_setzero_si512());
    const __m512i sign = _mm512_mask_mov_epi32(_mm512_set1_epi32(kEmptyPlace), negative,
                                               _mm512_set1_epi32(kSignPlace));
    const __m512i lead = _mm512_mask_mov_epi32(_mm512_set1_epi32(kEmptyPlace), three, q2);
    __m512i middle = _mm512_mask_mov_epi32(q, three, m);
    middle = _mm512_mask_mov_epi32(middle, one, _mm512_set1_epi32(kEmptyPlace));
    // Bytes of each lane, first symbol first: sign, lead, middle, last digit.
    const __m512i places =
        _mm512_or_si512(_mm512_or_si512(sign, _mm512_slli_epi32(lead, 8)),
                        _mm512_or_si512(_mm512_slli_epi32(middle, 16), _mm512_slli_epi32(r, 24)));
    const __m512i table = _mm512_load_si512(kSymbolTable.bytes);
    const __m512i symbols = _mm512_permutexvar_epi8(places, table);
    // Eight characters to a register, each in a quadword with its separator
    // in the fifth byte; the compress drops the empty places.
    const __m128i separators =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(kSeparatorCycleTwice.data() + phase));
    const __m512i halves[2] = {
        _mm512_maskz_or_epi64(static_cast<__mmask8>(live),
                              _mm512_cvtepu32_epi64(_mm512_castsi512_si256(symbols)),
                              _mm512_slli_epi64(_mm512_cvtepu8_epi64(separators), 32)),
        _mm512_maskz_or_epi64(
            static_cast<__mmask8>(live >> 8),
            _mm512_cvtepu32_epi64(_mm512_extracti64x4_epi64(symbols, 1)),
            _mm512_slli_epi64(_mm512_cvtepu8_epi64(_mm_srli_si128(separators, 8)), 32)),
    };
    for (const __m512i& half : halves) {
        const __mmask64 used = _mm512_test_epi8_mask(half, half);
        _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(used, half));
        out += _mm_popcnt_u64(used);
    }
    return out;
}

// The value codes and separators of `count` characters from `units` on,
// sixteen at a time; `phase` as for AppendBlockAvx512. Returns the new end.
[[gnu::target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,popcnt")]] inline char*
AppendCodesAvx512(const char16_t* units, std::size_t count, unsigned phase, std::int32_t pass,
                  char* out) {
    for (std::size_t done = 0; done < count; done += 16) {
        const auto block = static_cast<unsigned>(count - done < 16 ? count - done : 16);
        out = AppendBlockAvx512(units + done, block, phase, pass, out);
        phase = (phase + block) % kCycleLength;
    }
    return out;
}

#else

inline bool HasAvx512Codes() {
    return false;
}

#endif

}  // namespace solvena::cipher::detail
