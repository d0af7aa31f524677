// SPDX-License-Identifier: MIT
// The classes the text model sees characters in, as the build reads them
// from the Unicode Character Database, and the frequent letters it knows.

#include "textmodel/unit_class.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

#include "textmodel/frequent_letters.h"

namespace solvena::textmodel {
namespace {

using C = UnitClass;

TEST(UnitClassTest, ClassesFromTheUnicodeDatabase) {
    const std::pair<UnitClass, std::u16string_view> cases[] = {
        // Vowels by their base letter's name, whatever their marks, case,
        // width or ligature; the other letters of the same scripts.
        {C::LowerVowel, u"aéøæœıəｅоіыάἀωա"},
        {C::UpperVowel, u"AÅＥЁՈ"},
        {C::Lower, u"bßçñйλբ"},
        {C::Upper, u"Bǅ"},
        // The other classes.
        {C::Letter, u"あกא"},
        {C::SpacingMark, u"\u093E"},
        {C::Mark, u"\u0301\u0E31"},
        {C::Format, u"\u200B\u200F"},
        {C::Digit, u"5٣"},
        {C::Blank, u" \u3000"},
        {C::Punct, u".、"},
        {C::Symbol, u"€½"},
        {C::CarriageReturn, u"\r"},
        {C::LineFeed, u"\n\u2028"},
        {C::Tab, u"\t\f"},
        {C::HighSurrogate, u"\xD83D"},
        {C::LowSurrogate, u"\xDE00"},
        // Never in a text: the private-use planes' surrogates, private use,
        // unassigned code points, controls, noncharacters.
        {C::Impossible, u"\xDB80\xE000\x0378\x7F\x01\xFFFF"},
    };
    for (const auto& [expected, units] : cases) {
        for (char16_t unit : units) {
            EXPECT_EQ(ClassOf(unit), expected) << std::hex << static_cast<int>(unit);
        }
    }
}

// A mistyped code in the lists of frequent letters would weigh an empty
// place and none of the letters meant. (The Indic blocks share one list of
// places, which some of them leave empty.)
TEST(UnitClassTest, EveryFrequentLetterIsAssigned) {
    for (char32_t u = 0; u < 0x10000; ++u) {
        const auto unit = static_cast<char16_t>(u);
        if (FrequentLetterWeight(unit) > 1 && (u < 0x0900 || u >= 0x0D80)) {
            EXPECT_NE(ClassOf(unit), C::Impossible) << std::hex << static_cast<int>(u);
        }
    }
}

}  // namespace
}  // namespace solvena::textmodel
