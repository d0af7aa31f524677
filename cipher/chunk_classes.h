// SPDX-License-Identifier: MIT
#pragma once

// Which of 64 consecutive code units are separators and which need the
// careful reader (CR, the stop symbol), as bit masks, bit i for unit i. The
// decipher loop finds each group's end in these masks instead of testing
// characters one by one on its critical path.
//
// Four forms that give the same masks: a portable loop, SSE2 (every x86-64
// processor), AVX2 (chosen at run time where the processor has it) and
// WebAssembly's 128-bit vectors (the page's build, for every browser that
// runs it).

#include <array>
#include <cstdint>

#include "cipher/alphabet.h"
#include "cipher/vector_forms.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define SOLVENA_CHUNK_X86 1
#elif defined(__wasm_simd128__)
#include <wasm_simd128.h>
#define SOLVENA_CHUNK_WASM 1
#endif

namespace solvena::cipher::detail {

struct ChunkClasses {
    std::uint64_t separators = 0;
    std::uint64_t careful = 0;
};

inline ChunkClasses ClassifyChunkPortable(const char16_t* units) {
    ChunkClasses classes;
    for (int i = 0; i < 64; ++i) {
        const char16_t c = units[i];
        classes.separators |= std::uint64_t{IsSeparator(c)} << i;
        classes.careful |= std::uint64_t{c == kCarriageReturn || c == kStopSymbol} << i;
    }
    return classes;
}

#if defined(SOLVENA_CHUNK_X86)

// Sixteen units at a time, narrowed to bytes with saturation (every unit
// from 256 up becomes 0 or 255, neither of them special). The twenty
// separators are tested as a few small ranges and pairs.
inline ChunkClasses ClassifyChunkSse2(const char16_t* units) {
    const auto set = [](int c) { return _mm_set1_epi8(static_cast<char>(c)); };
    const auto equal = [](__m128i a, __m128i b) { return _mm_cmpeq_epi8(a, b); };
    const __m128i zero = _mm_setzero_si128();
    ChunkClasses classes;
    for (int i = 0; i < 4; ++i) {
        const auto* p = reinterpret_cast<const __m128i*>(units + 16 * i);
        const __m128i x = _mm_packus_epi16(_mm_loadu_si128(p), _mm_loadu_si128(p + 1));
        const __m128i from35 = _mm_sub_epi8(x, set(35));
        __m128i s = equal(x, set('!'));                                    // 33
        s = _mm_or_si128(s, equal(_mm_min_epu8(from35, set(6)), from35));  // 35..41
        s = _mm_or_si128(s, equal(_mm_or_si128(x, set(1)), set('/')));     // 46, 47
        // 75..78, then 87, 89, 91, 93.
        s = _mm_or_si128(s, equal(_mm_and_si128(_mm_sub_epi8(x, set('K')), set(0xFC)), zero));
        s = _mm_or_si128(s, equal(_mm_or_si128(x, set(2)), set('R')));  // 80, 82
        s = _mm_or_si128(s, equal(_mm_and_si128(_mm_sub_epi8(x, set('W')), set(0xF9)), zero));
        const __m128i careful =
            _mm_or_si128(equal(x, set(kCarriageReturn)), equal(x, set(kStopSymbol)));
        classes.separators |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(s))}
                              << (16 * i);
        classes.careful |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(careful))}
                           << (16 * i);
    }
    return classes;
}

#endif

#if defined(SOLVENA_CHUNK_WASM)

// The SSE2 form's tests, in WebAssembly's instructions (its unsigned
// narrowing saturates as _mm_packus_epi16 does).
inline ChunkClasses ClassifyChunkWasm(const char16_t* units) {
    const auto set = [](int c) { return wasm_i8x16_splat(static_cast<std::int8_t>(c)); };
    const v128_t zero = wasm_i8x16_splat(0);
    ChunkClasses classes;
    for (int i = 0; i < 4; ++i) {
        const char16_t* p = units + 16 * i;
        const v128_t x = wasm_u8x16_narrow_i16x8(wasm_v128_load(p), wasm_v128_load(p + 8));
        const v128_t from35 = wasm_i8x16_sub(x, set(35));
        v128_t s = wasm_i8x16_eq(x, set('!'));                                       // 33
        s = wasm_v128_or(s, wasm_i8x16_eq(wasm_u8x16_min(from35, set(6)), from35));  // 35..41
        s = wasm_v128_or(s, wasm_i8x16_eq(wasm_v128_or(x, set(1)), set('/')));       // 46, 47
        s = wasm_v128_or(s, wasm_i8x16_eq(wasm_v128_and(wasm_i8x16_sub(x, set('K')), set(0xFC)),
                                          zero));                               // 75..78
        s = wasm_v128_or(s, wasm_i8x16_eq(wasm_v128_or(x, set(2)), set('R')));  // 80, 82
        s = wasm_v128_or(s, wasm_i8x16_eq(wasm_v128_and(wasm_i8x16_sub(x, set('W')), set(0xF9)),
                                          zero));  // 87, 89, 91, 93
        const v128_t careful = wasm_v128_or(wasm_i8x16_eq(x, set(kCarriageReturn)),
                                            wasm_i8x16_eq(x, set(kStopSymbol)));
        classes.separators |= std::uint64_t{wasm_i8x16_bitmask(s)} << (16 * i);
        classes.careful |= std::uint64_t{wasm_i8x16_bitmask(careful)} << (16 * i);
    }
    return classes;
}

#endif

#if defined(SOLVENA_CHUNK_X86)

// Nibble tables for the AVX2 form: a byte is in a class when the entries of
// its low and of its high nibble share a bit. Separators lie in the rows
// 0x2_, 0x4_ and 0x5_ (one bit each), CR in row 0x0_, the stop symbol in
// row 0x5_.
inline constexpr std::uint8_t kRowBits[16] = {0x01, 0, 0x02, 0, 0x04, 0x08 | 0x10};
inline constexpr std::uint8_t kSeparatorRowBits = 0x02 | 0x04 | 0x08;
inline constexpr std::uint8_t kCarefulRowBits = 0x01 | 0x10;

// Both tables twice over, once for each 128-bit half of an AVX2 register.
constexpr std::array<std::uint8_t, 32> MakeLowNibbleBits() {
    std::array<std::uint8_t, 32> bits{};
    for (char c : kSeparatorCycle) {
        const auto byte = static_cast<unsigned char>(c);
        bits[byte & 15] |= kRowBits[byte >> 4] & kSeparatorRowBits;
    }
    bits[kCarriageReturn & 15] |= 0x01;
    bits[kStopSymbol & 15] |= 0x10;
    for (std::size_t i = 0; i < 16; ++i) {
        bits[16 + i] = bits[i];
    }
    return bits;
}
constexpr std::array<std::uint8_t, 32> MakeHighNibbleBits() {
    std::array<std::uint8_t, 32> bits{};
    for (std::size_t i = 0; i < 16; ++i) {
        bits[i] = bits[16 + i] = kRowBits[i];
    }
    return bits;
}
inline constexpr std::array<std::uint8_t, 32> kLowNibbleBits = MakeLowNibbleBits();
inline constexpr std::array<std::uint8_t, 32> kHighNibbleBits = MakeHighNibbleBits();
static_assert((kCarriageReturn >> 4) == 0 && (kStopSymbol >> 4) == 5);

[[gnu::target("avx2")]] inline ChunkClasses ClassifyChunkAvx2(const char16_t* units) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kLowNibbleBits.data()));
    const __m256i high =
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kHighNibbleBits.data()));
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i separatorBits = _mm256_set1_epi8(kSeparatorRowBits);
    const __m256i carefulBits = _mm256_set1_epi8(kCarefulRowBits);
    const __m256i zero = _mm256_setzero_si256();
    std::uint64_t separators = 0;
    std::uint64_t careful = 0;
    for (int i = 0; i < 2; ++i) {
        const auto* p = reinterpret_cast<const __m256i*>(units + 32 * i);
        // The pack works within 128-bit halves; the permute puts the 32
        // bytes back in the order of the units.
        const __m256i packed =
            _mm256_packus_epi16(_mm256_loadu_si256(p), _mm256_loadu_si256(p + 1));
        const __m256i x = _mm256_permute4x64_epi64(packed, 0xD8);
        const __m256i bits = _mm256_and_si256(
            _mm256_shuffle_epi8(low, _mm256_and_si256(x, nibble)),
            _mm256_shuffle_epi8(high, _mm256_and_si256(_mm256_srli_epi16(x, 4), nibble)));
        const auto notSeparator = static_cast<std::uint32_t>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_and_si256(bits, separatorBits), zero)));
        const auto notCareful = static_cast<std::uint32_t>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_and_si256(bits, carefulBits), zero)));
        separators |= std::uint64_t{~notSeparator} << (32 * i);
        careful |= std::uint64_t{~notCareful} << (32 * i);
    }
    return {separators, careful};
}

inline bool HasAvx2() {
    return VectorFormsAllowed() && __builtin_cpu_supports("avx2");
}

#else

inline bool HasAvx2() {
    return false;
}

#endif

// The best form this processor runs; `avx2` as HasAvx2() told.
inline ChunkClasses ClassifyChunk(const char16_t* units, [[maybe_unused]] bool avx2) {
#if defined(SOLVENA_CHUNK_X86)
    return avx2 ? ClassifyChunkAvx2(units) : ClassifyChunkSse2(units);
#elif defined(SOLVENA_CHUNK_WASM)
    return ClassifyChunkWasm(units);
#else
    return ClassifyChunkPortable(units);
#endif
}

}  // namespace solvena::cipher::detail
