// SPDX-License-Identifier: MIT
#include "cipher/value_code.h"

#include <gtest/gtest.h>

#include "cipher/alphabet.h"
#include "cipher/encipher.h"

namespace solvena::cipher {
namespace {

TEST(ValueCodeTest, WorkedCodes) {
    const std::pair<std::int32_t, const char*> cases[] = {
        {0, "0"},        {9, "9"},         {10, "a"},    {42, "H"},      {43, "10"},
        {65, "1m"},      {1848, "HH"},     {1849, "I0"}, {1891, "IH"},   {1892, "110"},
        {12354, "6td"},  {42767, "n5p"},   {-1, "-1"},   {-42, "-H"},    {-43, "-10"},
        {-4321, "-2el"}, {-32768, "-hv2"}, {-5, "-5"},   {65535, "zj3"}, {-65536, "-zj4"},
    };
    for (const auto& [value, code] : cases) {
        EXPECT_EQ(ValueCode(value), code) << value;
    }
}

// Reads a value code back as a plain positional base-43 number.
std::int32_t ReadBack(const std::string& code) {
    const bool negative = code[0] == '-';
    std::int32_t magnitude = 0;
    for (std::size_t i = negative ? 1 : 0; i < code.size(); ++i) {
        magnitude = magnitude * 43 + DigitValue(static_cast<char32_t>(code[i]));
    }
    return negative ? -magnitude : magnitude;
}

TEST(ValueCodeTest, EveryShiftedValueReadsBackAndHasOneToThreeDigits) {
    for (std::int32_t v = kMinShiftedValue; v <= kMaxShiftedValue; ++v) {
        const std::string code = ValueCode(v);
        const std::size_t digits = code.size() - (v < 0 ? 1u : 0u);
        const std::int32_t magnitude = v < 0 ? -v : v;
        ASSERT_EQ(digits, magnitude < 43 ? 1u : magnitude <= 1891 ? 2u : 3u) << v;
        ASSERT_EQ(ReadBack(code), v) << v << " " << code;
        for (std::size_t i = v < 0 ? 1u : 0u; i < code.size(); ++i) {
            ASSERT_TRUE(IsDigitSymbol(static_cast<char32_t>(code[i]))) << v << " " << code;
        }
    }
}

// The encipher loop's table must give the reference code for every code
// unit under the extreme pass numbers of both shift directions.
TEST(ValueCodeTest, EncipherTableAgreesWithReferenceForEveryUnit) {
    for (const std::int16_t pass : {std::int16_t{0}, std::int16_t{32767}, std::int16_t{-32768}}) {
        for (std::int32_t unit = 0; unit <= 0xFFFF; ++unit) {
            const std::u16string two = {static_cast<char16_t>(unit), static_cast<char16_t>(unit)};
            const std::int32_t code = static_cast<std::int16_t>(unit);
            const std::string expected =
                ValueCode(code + pass) + "!" + ValueCode(code - pass) + "K" + "ZELKORA";
            ASSERT_EQ(EncipherText(two, pass), expected) << unit << " " << pass;
        }
    }
}

}  // namespace
}  // namespace solvena::cipher
