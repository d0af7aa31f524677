#pragma once

// Which of 64 consecutive code units are separators and which need the
// careful reader (CR, the stop symbol), as bit masks, bit i for unit i. The
// decipher loop finds each group's end in these masks instead of testing
// characters one by one on its critical path.

#include <cstdint>

#include "alphabet.h"

#if defined(__SSE2__)
#include <emmintrin.h>
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

#if defined(__SSE2__)
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

inline ChunkClasses ClassifyChunk(const char16_t* units) {
#if defined(__SSE2__)
    return ClassifyChunkSse2(units);
#else
    return ClassifyChunkPortable(units);
#endif
}

}  // namespace solvena::cipher::detail
