// SPDX-License-Identifier: MIT
#include "cipher/alphabet.h"

#include <gtest/gtest.h>

#include <set>

namespace solvena::cipher {
namespace {

TEST(AlphabetTest, StGivesLettersFrom10To43AndDecimalTextOtherwise) {
    const std::pair<std::int16_t, const char*> cases[] = {
        {0, "0"},   {9, "9"},         {10, "a"},          {35, "z"},  {36, "A"},
        {41, "F"},  {42, "H"},        {43, "I"},          {44, "44"}, {-1, "-1"},
        {-5, "-5"}, {32767, "32767"}, {-32768, "-32768"},
    };
    for (const auto& [value, symbol] : cases) {
        EXPECT_EQ(st(value), symbol) << value;
    }
}

TEST(AlphabetTest, TsReadsSymbolsNumbersAndNothing) {
    EXPECT_EQ(ts(u"g"), 16.0);
    EXPECT_EQ(ts(u"I"), 43.0);
    EXPECT_EQ(ts(u"7"), 7.0);
    EXPECT_EQ(ts(u"-5"), -5.0);
    EXPECT_EQ(ts(u" 3"), 3.0);
    EXPECT_EQ(ts(u"9.5"), 9.5);
    // Characters outside the digit alphabet read as 0.
    for (const char16_t* text : {u"G", u"-", u"", u"J", u"Z", u" ", u"K", u"!", u"あ"}) {
        EXPECT_EQ(ts(text), 0.0) << testing::PrintToString(std::u16string(text));
    }
    // A number of 10 or more that is no symbol gives nothing.
    EXPECT_EQ(ts(u"12"), std::nullopt);
    EXPECT_EQ(ts(u"1e1"), std::nullopt);
}

TEST(AlphabetTest, St2AndTs2CoverExactlyTheCycle) {
    EXPECT_EQ(st2(1), "!");
    EXPECT_EQ(st2(20), ".");
    EXPECT_EQ(st2(0), "");
    EXPECT_EQ(st2(21), "");
    EXPECT_EQ(st2(-1), "");
    EXPECT_EQ(ts2(u"K"), "G");
    EXPECT_EQ(ts2(u"k"), "");
    EXPECT_EQ(ts2(u"G"), "");
    EXPECT_EQ(ts2(u"!K"), "");
    EXPECT_EQ(ts2(u""), "");
}

TEST(AlphabetTest, SymbolFunctionsInvertEachOther) {
    for (std::int16_t v = 0; v <= 43; ++v) {
        const std::string symbol = st(v);
        ASSERT_EQ(symbol.size(), 1u);
        const std::u16string wide(1, static_cast<char16_t>(symbol[0]));
        EXPECT_EQ(ts(wide), static_cast<double>(v)) << symbol;
        EXPECT_EQ(DigitValue(static_cast<char32_t>(symbol[0])), v);
    }
    for (std::int16_t p = 1; p <= 20; ++p) {
        const std::string symbol = st2(p);
        ASSERT_EQ(symbol.size(), 1u);
        EXPECT_EQ(ts2(std::u16string(1, static_cast<char16_t>(symbol[0]))), "G");
    }
}

TEST(AlphabetTest, DigitsSeparatorsSignAndPlaceholderAreDisjoint) {
    std::set<char> seen;
    for (char c : kDigitSymbols) {
        EXPECT_TRUE(seen.insert(c).second) << c;
    }
    for (char c : kSeparatorCycle) {
        EXPECT_TRUE(seen.insert(c).second) << c;
    }
    EXPECT_TRUE(seen.insert('-').second);
    EXPECT_TRUE(seen.insert('G').second);
    // The stop symbol can never begin a value code.
    EXPECT_FALSE(IsDigitSymbol(kStopSymbol));
    EXPECT_FALSE(IsSeparator(kStopSymbol));
    EXPECT_EQ(kDigitSymbols.size(), 44u);
    EXPECT_EQ(kSeparatorCycle.size(), 20u);
}

}  // namespace
}  // namespace solvena::cipher
