// SPDX-License-Identifier: MIT
#include "cipher/chunk_classes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "cipher/encipher_avx512.h"
#include "cipher/group_parser_avx512.h"

namespace solvena::cipher::detail {
namespace {

// Every code unit, at every place of a chunk, classified alike by every form
// this processor can run.
TEST(ChunkClassesTest, AllFormsAgreeOnEveryUnit) {
    std::mt19937 rng(64);
    std::vector<char16_t> units(0x10000 + 64);
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(i);
    }
    for (std::size_t start = 0; start + 64 <= units.size(); start += 61) {
        const ChunkClasses expected = ClassifyChunkPortable(units.data() + start);
#if defined(SOLVENA_CHUNK_X86)
        const ChunkClasses sse2 = ClassifyChunkSse2(units.data() + start);
        ASSERT_EQ(sse2.separators, expected.separators) << start;
        ASSERT_EQ(sse2.careful, expected.careful) << start;
        if (HasAvx2()) {
            const ChunkClasses avx2 = ClassifyChunkAvx2(units.data() + start);
            ASSERT_EQ(avx2.separators, expected.separators) << start;
            ASSERT_EQ(avx2.careful, expected.careful) << start;
        }
#elif defined(SOLVENA_CHUNK_WASM)
        const ChunkClasses wasm = ClassifyChunkWasm(units.data() + start);
        ASSERT_EQ(wasm.separators, expected.separators) << start;
        ASSERT_EQ(wasm.careful, expected.careful) << start;
#endif
    }
}

TEST(ChunkClassesTest, MarksSeparatorsLineBreaksAndTheStopSymbol) {
    std::u16string units(64, u'a');
    units[0] = u'!';
    units[5] = u']';
    units[20] = u'\r';
    units[63] = u'Z';
    units[30] = u'\u0121';  // narrows to 255, not a separator
    units[31] = u'\u8021';  // narrows to 0, not a separator
    for (bool avx2 : {false, HasAvx2()}) {
        const ChunkClasses classes = ClassifyChunk(units.data(), avx2);
        EXPECT_EQ(classes.separators, (std::uint64_t{1} << 0) | (std::uint64_t{1} << 5));
        EXPECT_EQ(classes.careful, (std::uint64_t{1} << 20) | (std::uint64_t{1} << 63));
    }
}

// The run of these suites with SOLVENA_PLAIN_LOOPS set covers the plain
// loops only if the switch holds for every vector form.
TEST(ChunkClassesTest, ThePlainLoopsSwitchTurnsEveryVectorFormOff) {
    if (std::getenv("SOLVENA_PLAIN_LOOPS") == nullptr) {
        GTEST_SKIP() << "the vector forms are allowed in this run";
    }
    EXPECT_FALSE(HasAvx2());
    EXPECT_FALSE(HasAvx512Codes());
    EXPECT_FALSE(HasAvx512Groups());
}

}  // namespace
}  // namespace solvena::cipher::detail
