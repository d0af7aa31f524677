// SPDX-License-Identifier: MIT
#include "cipher/decipher.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "cipher/encipher.h"
#include "tests/support/oracles.h"
#include "tests/support/random_text.h"

namespace solvena::cipher {
namespace {

std::u16string Widen(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string RoundTrip(std::u16string_view text, std::int16_t pass) {
    return DecipherText(Widen(EncipherText(text, pass)), pass);
}

TEST(DecipherRoundTripTest, AnyCodeUnitsAnyPassNumber) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> pass(-32768, 32767);
    std::uniform_int_distribution<std::size_t> length(0, 400);
    const std::vector<int> fixed = {0, 1, -1, 9999, -9999, 32767, -32768, 1234};
    for (std::size_t round = 0; round < 400; ++round) {
        const auto p = static_cast<std::int16_t>(round < fixed.size() ? fixed[round] : pass(rng));
        const std::u16string text = testing::RandomUnits(rng, length(rng));
        ASSERT_EQ(RoundTrip(text, p), text) << "pass " << p;
    }
}

TEST(DecipherRoundTripTest, DocumentsWithLinesKanjiAndEdges) {
    const std::u16string texts[] = {
        u"",
        u"x",
        u"\r\n",
        u"\r\n\r\n先頭の空行\r\n\r\n末尾\r\n",
        u"語彙の暗号化と解読。\r\nabc DEF 123\r\n\u8A9E\uFFFF\u8000",
        u"\U0001F600 surrogate pair",
    };
    for (const std::u16string& text : texts) {
        for (std::int16_t p : std::initializer_list<std::int16_t>{0, 7, 9999}) {
            EXPECT_EQ(RoundTrip(text, p), text) << p;
        }
    }
}

TEST(DecipherRoundTripTest, EndMarkerAloneIsTheEmptyText) {
    EXPECT_EQ(DecipherText(u"ZELKORA", 5), u"");
    EXPECT_EQ(DecipherText(u"Z", 5), u"");
    EXPECT_EQ(DecipherText(u"", 5), u"");
}

TEST(DecipherRoundTripTest, WrongPassNumberShiftsOddAndEvenCharactersApart) {
    const std::u16string text = u"abcdefgh";
    const std::u16string wrong = DecipherText(Widen(EncipherText(text, 100)), 90);
    ASSERT_EQ(wrong.size(), text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int expected = text[i] + (i % 2 == 0 ? 10 : -10);
        EXPECT_EQ(wrong[i], expected) << i;
    }
}

// DecipherRun driven to its end in one call, against the yield-by-yield
// run: the same text and state.
void ExpectRunToEndAgrees(std::u16string_view text, std::int16_t pass) {
    DecipherRun stepped(text, pass, 5);
    while (stepped.RunToYield()) {
    }
    DecipherRun whole(text, pass, 5);
    whole.RunToEnd();
    EXPECT_TRUE(whole.Finished());
    EXPECT_EQ(whole.CipherPosition(), stepped.CipherPosition());
    EXPECT_EQ(whole.SeparatorIndex(), stepped.SeparatorIndex());
    EXPECT_EQ(whole.ShiftedValue(), stepped.ShiftedValue());
    EXPECT_EQ(whole.TakeResult(), stepped.TakeResult());
}

// Whole windows of 64 units are read in vector lanes where the processor
// allows, up to the first group the careful reader must read. Each thing
// that ends a window, put at every place of a long enciphered text, must
// give what the plain reader gives.
TEST(DecipherRoundTripTest, WindowsEndWhereTheCarefulReaderTakesOver) {
    std::mt19937 rng(64);
    const std::string ascii = EncipherText(testing::RandomJapanese(rng, 90), 4321);
    const std::u16string enciphered = Widen(ascii);
    const std::u16string insertions[] = {
        u"\r\n", u"\r", u"Z",      u"!",      u"!!",     u"1234",     u"12345",
        u"-",    u"--", u"\u012D", u"\u8021", u"\u00A1", u"\r\r\n\n", u"-1234!",
    };
    for (const std::u16string& insertion : insertions) {
        for (std::size_t at = 0; at <= 200; ++at) {
            std::u16string text = enciphered;
            text.insert(at, insertion);
            ASSERT_EQ(DecipherText(text, 4321), testing::ReferenceDecipher(text, 4321)) << at;
        }
    }
    for (std::size_t length : std::initializer_list<std::size_t>{0, 1, 63, 64, 65, 66, 130, 400}) {
        const std::u16string text = enciphered.substr(0, length);
        ASSERT_EQ(DecipherText(text, 77), testing::ReferenceDecipher(text, 77)) << length;
    }
}

// Every ASCII unit and a few wide ones (which narrow to 0 or 255 in the
// vector reader) in place of every unit of the first windows.
TEST(DecipherRoundTripTest, AnyUnitAnywhereInAWindow) {
    std::mt19937 rng(128);
    const std::u16string enciphered = Widen(EncipherText(testing::RandomJapanese(rng, 40), 17));
    std::u16string units;
    for (char16_t c = 0; c < 128; ++c) {
        units += c;
    }
    units += u"\u0121\u8021\u00FF\u0080\uFFFF";
    for (const char16_t unit : units) {
        for (std::size_t at = 0; at < 140; ++at) {
            std::u16string text = enciphered;
            text[at] = unit;
            ASSERT_EQ(DecipherText(text, 17), testing::ReferenceDecipher(text, 17))
                << static_cast<int>(unit) << " at " << at;
        }
    }
}

TEST(DecipherRunTest, RunToEndAgreesWithTheRunYieldByYield) {
    std::mt19937 rng(20);
    for (int round = 0; round < 60; ++round) {
        const auto count = static_cast<std::size_t>(round * 7);
        std::string ascii = EncipherText(testing::RandomUnits(rng, count), 99);
        if (round % 3 == 1) {
            ascii.erase(ascii.find('Z'));  // a text without the end marker
        } else if (round % 3 == 2) {
            ascii.insert(ascii.size() / 2, "\r\n7");
        }
        ExpectRunToEndAgrees(Widen(ascii), 99);
        ExpectRunToEndAgrees(testing::RandomUnits(rng, count), 99);
    }
}

struct Recorded {
    std::vector<std::int64_t> positions;
};

void Record(void* context, std::int64_t position, std::int64_t) {
    static_cast<Recorded*>(context)->positions.push_back(position);
}

TEST(DecipherRunTest, YieldsInEveryTwentiethGroupBeforeItsCharacter) {
    const std::u16string text(45, u'a');
    const std::u16string enciphered = Widen(EncipherText(text, 3));
    DecipherRun run(enciphered, 3);
    ASSERT_TRUE(run.RunToYield());
    EXPECT_EQ(run.SeparatorIndex(), 20);
    ASSERT_TRUE(run.RunToYield());
    EXPECT_FALSE(run.RunToYield());
    EXPECT_EQ(run.TakeResult(), text);
}

TEST(DecipherRunTest, CancelKeepsTheGroupsOfTheYieldsReached) {
    std::mt19937 rng(8);
    const std::u16string text = testing::RandomJapanese(rng, 70);
    const std::u16string enciphered = Widen(EncipherText(text, 4321));
    for (int yields : {1, 2, 3}) {
        DecipherRun run(enciphered, 4321);
        for (int i = 0; i < yields; ++i) {
            ASSERT_TRUE(run.RunToYield());
        }
        run.Cancel();
        Recorded after;
        EXPECT_FALSE(run.RunToYield(Record, &after));
        EXPECT_EQ(after.positions, std::vector<std::int64_t>{run.CipherLength()});
        EXPECT_EQ(run.TakeResult(), text.substr(0, static_cast<std::size_t>(20 * yields)));
    }
}

TEST(DecipherRunTest, ProgressStandsOnEachGroupsSeparator) {
    // "1m!" "1n" "K": separators at positions 3 and 6.
    Recorded recorded;
    DecipherRun run(u"1m!1nKZELKORA", 0);
    EXPECT_FALSE(run.RunToYield(Record, &recorded));
    EXPECT_EQ(recorded.positions, (std::vector<std::int64_t>{3, 6}));
    EXPECT_EQ(run.TakeResult(), u"AB");
    EXPECT_EQ(run.ShiftedValue(), 66);
}

TEST(DecipherRunTest, FewerThanTwentyGroupsNeverYield) {
    const std::u16string enciphered = Widen(EncipherText(std::u16string(19, u'w'), 1));
    DecipherRun run(enciphered, 1);
    EXPECT_FALSE(run.RunToYield());
    EXPECT_EQ(run.TakeResult(), std::u16string(19, u'w'));
}

}  // namespace
}  // namespace solvena::cipher
