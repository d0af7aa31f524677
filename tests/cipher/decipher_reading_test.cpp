// SPDX-License-Identifier: MIT
// How the decipher reader treats text beyond what enciphering writes: line
// breaks picked up in storage, damaged and foreign text.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>

#include "cipher/alphabet.h"
#include "cipher/decipher.h"
#include "cipher/encipher.h"
#include "tests/support/oracles.h"
#include "tests/support/random_text.h"

namespace solvena::cipher {
namespace {

using testing::ReferenceDecipher;
using testing::WithoutBreaks;

std::u16string Widen(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

// A text whose groups have one, two and three digit symbols, with and
// without the sign, under pass number 0.
std::u16string MixedGroupText() {
    std::u16string text;
    for (int i = 0; i < 60; ++i) {
        text.push_back(static_cast<char16_t>(i % 43));             // one digit
        text.push_back(static_cast<char16_t>(43 + i * 31));        // two digits
        text.push_back(static_cast<char16_t>(1892 + i * 500));     // three digits
        text.push_back(static_cast<char16_t>(0x10000 - 1 - i));    // "-" and one digit
        text.push_back(static_cast<char16_t>(0x10000 - 100 - i));  // "-" and two digits
        text.push_back(static_cast<char16_t>(0x8000 + i * 97));    // "-" and three digits
    }
    return text;
}

std::u16string Wrap(std::u16string_view text, std::size_t width, std::u16string_view lineBreak) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); i += width) {
        out += text.substr(i, width);
        out += lineBreak;
    }
    return out;
}

TEST(DecipherLineBreakTest, WrappedAtEveryWidthDeciphersAsUnwrapped) {
    const std::u16string text = MixedGroupText();
    const std::u16string enciphered = Widen(EncipherText(text, 0));
    for (std::size_t width = 1; width <= 100; ++width) {
        ASSERT_EQ(DecipherText(Wrap(enciphered, width, u"\r\n"), 0), text) << "width " << width;
        ASSERT_EQ(DecipherText(Wrap(enciphered, width, u"\r\n\r\n"), 0), text) << width;
    }
}

TEST(DecipherLineBreakTest, BreaksAtTheStartAndBeforeTheMarker) {
    const std::u16string enciphered = Widen(EncipherText(u"AB", 0));
    EXPECT_EQ(DecipherText(u"\r\n" + enciphered, 0), u"AB");
    EXPECT_EQ(DecipherText(u"\r\n\r\n\r\n" + enciphered, 0), u"AB");
    EXPECT_EQ(DecipherText(u"1m!1nK\r\nZELKORA\r\n", 0), u"AB");
    // A CR passes over whatever follows it, not only LF.
    EXPECT_EQ(DecipherText(u"1\rxm!1nK", 0), u"AB");
    // Without the marker, a final line break adds nothing.
    EXPECT_EQ(DecipherText(u"1m!1nK\r\n", 0), u"AB");
    EXPECT_EQ(DecipherText(u"1m!1nK\r", 0), u"AB");
    // A text that starts with the stop symbol after a line break is empty.
    EXPECT_EQ(DecipherText(u"\r\nZELKORA1m!", 0), u"");
}

TEST(DecipherForeignTextTest, ReadsEachGroupAsTheRulesSay) {
    // Any separator ends any group, whatever its place in the cycle.
    EXPECT_EQ(DecipherText(u"1m.", 0), u"A");
    // Characters outside the digit alphabet count as 0.
    EXPECT_EQ(DecipherText(u"あ!", 0), std::u16string(1, u'\0'));
    EXPECT_EQ(DecipherText(u"1Jm!", 0), std::u16string(1, static_cast<char16_t>(1849 + 22)));
    // "-" directly followed by a separator is 0.
    EXPECT_EQ(DecipherText(u"-!", 0), std::u16string(1, u'\0'));
    // Four symbols without "-": negative, the first one not examined.
    const char16_t four = static_cast<char16_t>(0x10000 - (1849 * 1 + 43 * 2 + 3));
    EXPECT_EQ(DecipherText(u"x123!", 0), std::u16string(1, four));
    EXPECT_EQ(DecipherText(u"-123!", 0), std::u16string(1, four));
    // Everything after the stop symbol is ignored.
    EXPECT_EQ(DecipherText(u"1m!Z1n!", 0), u"A");
    // No end marker: read up to the last character.
    EXPECT_EQ(DecipherText(u"1m!1nK", 0), u"AB");
}

TEST(DecipherForeignTextTest, PlaceWithoutSeparatorGivesNoCharacterButAdvancesTheCycle) {
    // "1234" has no separator within four places: no character, and the
    // next group starts at "2". Its group is the second of the cycle, so it
    // is shifted by +P.
    const char16_t value = static_cast<char16_t>(0x10000 - (1849 * 3 + 43 * 4 + 5));
    EXPECT_EQ(DecipherText(u"12345!", 0), std::u16string(1, value));
    EXPECT_EQ(DecipherText(u"12345!", 10), std::u16string(1, static_cast<char16_t>(value + 10)));
    // Trailing junk without separators adds nothing.
    EXPECT_EQ(DecipherText(u"1m!abc", 0), u"A");
}

TEST(DecipherForeignTextTest, CodesOutOfRangeWrapModulo65536) {
    // "III" is 43*1849 + 43*43 + 43 = 81399, the largest group value.
    EXPECT_EQ(DecipherText(u"III!", 0), std::u16string(1, static_cast<char16_t>(81399 - 65536)));
    // A wrong pass number pushes a kanji below -32768.
    const std::u16string enciphered = Widen(EncipherText(u"\u8000", 0));
    EXPECT_EQ(DecipherText(enciphered, 1), std::u16string(1, u'\u7FFF'));
}

// Random junk over the characters that matter to the reader; `breaks` is
// the share of line breaks and stop symbols in 1000.
std::u16string RandomJunk(std::mt19937& rng, std::size_t length, int breaks = 150) {
    static constexpr char16_t kPool[] = u"0123456789azAFHI!K.#)][-GJあ\u8A9E\u0121\uFF21 \n";
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kPool) - 2);
    std::uniform_int_distribution<int> perMille(0, 999);
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) {
        const int roll = perMille(rng);
        text.push_back(roll < breaks / 2 ? u'\r' : roll < breaks ? u'Z' : kPool[pick(rng)]);
    }
    return text;
}

// Enciphered text with damage here and there: what the fast reader meets
// in practice, and where it must hand over to the careful one.
std::u16string DamagedCipher(std::mt19937& rng, std::size_t length) {
    std::u16string text = Widen(EncipherText(testing::RandomJapanese(rng, length), 1234));
    std::uniform_int_distribution<std::size_t> at(0, text.size() - 1);
    static constexpr char16_t kDamage[] = u"\r!-x5Z\u3042";
    std::uniform_int_distribution<std::size_t> what(0, std::size(kDamage) - 2);
    for (int i = 0; i < 6; ++i) {
        text[at(rng)] = kDamage[what(rng)];
    }
    return text;
}

TEST(DecipherForeignTextTest, LongTextsAgreeWithTheReference) {
    // Long enough for the reader's chunks of 64 units, with few or no line
    // breaks so that the fast reader does most of the work.
    std::mt19937 rng(31337);
    std::uniform_int_distribution<std::size_t> length(60, 700);
    for (int round = 0; round < 3000; ++round) {
        const std::u16string text = round % 3 == 0
                                        ? DamagedCipher(rng, length(rng) / 4)
                                        : RandomJunk(rng, length(rng), round % 3 == 1 ? 0 : 4);
        const auto p = static_cast<std::int16_t>(round * 7919 % 65536 - 32768);
        ASSERT_EQ(DecipherText(text, p), ReferenceDecipher(text, p))
            << testing::ToUtf8(text) << " pass " << p;
    }
}

// Texts that end without the marker, in buffers of exactly their size, so
// that a read past the end shows under AddressSanitizer.
TEST(DecipherForeignTextTest, ReadsNothingBeyondTheEndOfTheText) {
    std::mt19937 rng(66);
    for (std::size_t size = 60; size <= 140; ++size) {
        for (const std::u16string& pattern : {std::u16string(u"a!"), std::u16string(u"-1K"),
                                              std::u16string(u"abcd."), std::u16string(u"x")}) {
            std::u16string text;
            while (text.size() < size) {
                text += pattern;
            }
            text.resize(size);
            const auto exact = std::make_unique<char16_t[]>(size);
            std::copy(text.begin(), text.end(), exact.get());
            const std::u16string_view view(exact.get(), size);
            ASSERT_EQ(DecipherText(view, 3), ReferenceDecipher(text, 3)) << size;
        }
    }
}

void CountStep(void* context, std::int64_t, std::int64_t) {
    ++*static_cast<int*>(context);
}

// The desktop program drives the run with a progress hook, which takes the
// reader's other path through a cycle.
TEST(DecipherForeignTextTest, HookedRunsAgreeWithTheReference) {
    std::mt19937 rng(4242);
    std::uniform_int_distribution<std::size_t> length(0, 600);
    for (int round = 0; round < 1500; ++round) {
        const std::u16string text = round % 2 == 0 ? DamagedCipher(rng, length(rng) / 4 + 1)
                                                   : RandomJunk(rng, length(rng), round % 5);
        const auto p = static_cast<std::int16_t>(round * 131 - 20000);
        DecipherRun run(text, p);
        int steps = 0;
        while (run.RunToYield(CountStep, &steps)) {
        }
        ASSERT_EQ(run.TakeResult(), ReferenceDecipher(text, p)) << testing::ToUtf8(text);
    }
}

TEST(DecipherForeignTextTest, AgreesWithTheReferenceOnRandomJunk) {
    std::mt19937 rng(2718);
    std::uniform_int_distribution<std::size_t> length(0, 120);
    std::uniform_int_distribution<int> pass(-32768, 32767);
    for (int round = 0; round < 20000; ++round) {
        const std::u16string text = RandomJunk(rng, length(rng));
        const auto p = static_cast<std::int16_t>(round % 3 == 0 ? 0 : pass(rng));
        ASSERT_EQ(DecipherText(text, p), ReferenceDecipher(text, p))
            << testing::ToUtf8(text) << " pass " << p;
        ASSERT_EQ(DecipherText(text, p), DecipherText(WithoutBreaks(text), p));
    }
}

// Pieces cut anywhere: between a CR and the unit it takes with it, inside
// a group, just before the stop symbol.
TEST(DecipherStreamTest, PiecesGiveTheCharactersOfTheWholeText) {
    std::mt19937 rng(808);
    std::uniform_int_distribution<std::size_t> length(0, 12000);
    for (int round = 0; round < 300; ++round) {
        const std::u16string text = round % 2 == 0 ? DamagedCipher(rng, length(rng) / 4 + 1)
                                                   : RandomJunk(rng, length(rng), round % 4);
        const auto p = static_cast<std::int16_t>(round * 977 - 30000);
        // Small pieces for some rounds, pieces larger than a run for others.
        std::uniform_int_distribution<std::size_t> cut(1, round % 3 == 0 ? 7 : 9000);
        DecipherStream stream(p);
        std::u16string streamed;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t size = std::min(cut(rng), text.size() - at);
            stream.Feed(std::u16string_view(text).substr(at, size), streamed);
            at += size;
        }
        stream.Finish(streamed);
        ASSERT_EQ(streamed, DecipherText(text, p)) << "round " << round;
    }
}

}  // namespace
}  // namespace solvena::cipher
