// SPDX-License-Identifier: MIT
#include "cipher/encipher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "cipher/alphabet.h"
#include "cipher/value_code.h"
#include "tests/support/random_text.h"

namespace solvena::cipher {
namespace {

// The enciphered text built the slow way, straight from the format's
// definition, as an oracle for the table-driven loop.
std::string ReferenceEncipher(std::u16string_view text, std::int16_t pass) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::int32_t code = static_cast<std::int16_t>(text[i]);
        const std::int32_t shift = i % 2 == 0 ? pass : -pass;
        AppendValueCode(code + shift, out);
        out += st2(static_cast<std::int16_t>(i % 20 + 1));
    }
    return out + "ZELKORA";
}

TEST(EncipherTest, FormatExamples) {
    EXPECT_EQ(EncipherText(u"", 1234), "ZELKORA");
    EXPECT_EQ(EncipherText(u"A", 0), "1m!ZELKORA");
    EXPECT_EQ(EncipherText(u"AB", 0), "1m!1nKZELKORA");
    // U+8A9E has the negative code -30050.
    EXPECT_EQ(EncipherText(u"\u8A9E", 5), ValueCode(-30045) + "!ZELKORA");
    EXPECT_EQ(ValueCode(-30045).front(), '-');
}

TEST(EncipherTest, SeparatorDependsOnPositionOnly) {
    const std::u16string twenty(20, u'x');
    const std::string e20 = EncipherText(twenty, 77);
    EXPECT_EQ(e20.substr(e20.size() - 8), std::string(".") + "ZELKORA");
    const std::string e21 = EncipherText(twenty + u"y", 77);
    EXPECT_EQ(e21.substr(e21.size() - 8), std::string("!") + "ZELKORA");
}

TEST(EncipherTest, OddAndEvenPositionsShiftApart) {
    const std::string e = EncipherText(u"aa", 3);
    EXPECT_EQ(e, ValueCode(97 + 3) + "!" + ValueCode(97 - 3) + "KZELKORA");
    EXPECT_EQ(EncipherText(u"aa", 0), "2b!2bKZELKORA");
}

TEST(EncipherTest, ResultIsOneLineOfPrintableAscii) {
    std::mt19937 rng(7);
    const std::string e = EncipherText(testing::RandomUnits(rng, 5000), 4321);
    for (char c : e) {
        ASSERT_TRUE(c > ' ' && c < 127) << static_cast<int>(c);
    }
}

TEST(EncipherTest, AgreesWithReferenceOnRandomTextsAndPassNumbers) {
    std::mt19937 rng(1999);
    std::uniform_int_distribution<int> pass(-32768, 32767);
    std::uniform_int_distribution<std::size_t> length(0, 300);
    for (int round = 0; round < 300; ++round) {
        const std::u16string text = testing::RandomUnits(rng, length(rng));
        const auto p = static_cast<std::int16_t>(
            round < 6
                ? std::vector<int>{0, 1, -1, 9999, 32767, -32768}[static_cast<std::size_t>(round)]
                : pass(rng));
        ASSERT_EQ(EncipherText(text, p), ReferenceEncipher(text, p)) << "pass " << p;
    }
}

// A text enciphered as it arrives, in pieces cut at every place in the cycle.
TEST(EncipherTest, PiecesOneAfterTheOtherAreTheWholeText) {
    std::mt19937 rng(99);
    for (int round = 0; round < 200; ++round) {
        const std::u16string text =
            testing::RandomUnits(rng, static_cast<std::size_t>(50 + round * 13));
        const auto pass = static_cast<std::int16_t>(round * 331 - 32768);
        std::uniform_int_distribution<std::size_t> cut(0, round % 2 == 0 ? 23 : 700);
        std::string streamed;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t size = std::min(cut(rng), text.size() - at);
            std::string room(EncipherPieceRoom(size), '\0');
            const char* end =
                EncipherPiece(std::u16string_view(text).substr(at, size), pass, at, room.data());
            streamed.append(room.data(), static_cast<std::size_t>(end - room.data()));
            at += size;
        }
        ASSERT_EQ(streamed + "ZELKORA", EncipherText(text, pass)) << "round " << round;
    }
}

TEST(EncipherTest, EveryCodeUnitAtBothParitiesUnderExtremePassNumbers) {
    std::u16string all;
    for (char32_t u = 0; u < 0x10000; ++u) {
        all.push_back(static_cast<char16_t>(u));
    }
    const std::u16string shifted = u"x" + all;  // each unit at the other parity
    for (std::int16_t p : std::initializer_list<std::int16_t>{0, 1, -1, 42, 9999, 32767, -32768}) {
        ASSERT_EQ(EncipherText(all, p), ReferenceEncipher(all, p)) << p;
        ASSERT_EQ(EncipherText(shifted, p), ReferenceEncipher(shifted, p)) << p;
    }
}

TEST(EncipherTest, EncipheringTwiceEnciphersTheMarkerToo) {
    const std::string once = EncipherText(u"abc", 12);
    const std::u16string onceWide(once.begin(), once.end());
    EXPECT_EQ(EncipherText(onceWide, 12), ReferenceEncipher(onceWide, 12));
}

struct Recorded {
    std::vector<std::int64_t> positions;
};

void Record(void* context, std::int64_t position, std::int64_t length) {
    auto* recorded = static_cast<Recorded*>(context);
    EXPECT_GE(length, position);
    recorded->positions.push_back(position);
}

TEST(EncipherRunTest, YieldsAfterEveryTwentiethCharacter) {
    const std::u16string text(50, u'k');
    EncipherRun run(text, 9);
    EXPECT_TRUE(run.RunToYield());
    EXPECT_EQ(run.CipherPosition(), 20);
    EXPECT_EQ(run.SeparatorIndex(), 20);
    EXPECT_TRUE(run.RunToYield());
    EXPECT_EQ(run.CipherPosition(), 40);
    EXPECT_FALSE(run.RunToYield());
    EXPECT_TRUE(run.Finished());
    EXPECT_EQ(run.CipherPosition(), 51);
    EXPECT_EQ(run.TakeResult(), EncipherText(text, 9));
}

TEST(EncipherRunTest, ProgressAfterEveryCharacter) {
    Recorded recorded;
    EncipherRun run(u"abcd", 1);
    EXPECT_FALSE(run.RunToYield(Record, &recorded));
    EXPECT_EQ(recorded.positions, (std::vector<std::int64_t>{1, 2, 3, 4}));

    Recorded long_run;
    const std::u16string text(45, u'z');
    EncipherRun run45(text, 1);
    while (run45.RunToYield(Record, &long_run)) {
    }
    ASSERT_EQ(long_run.positions.size(), 45u);
    for (std::int64_t i = 0; i < 45; ++i) {
        EXPECT_EQ(long_run.positions[static_cast<std::size_t>(i)], i + 1);
    }
}

TEST(EncipherRunTest, CancelAtAYieldKeepsWholeMultiplesOfTwenty) {
    std::mt19937 rng(3);
    const std::u16string text = testing::RandomJapanese(rng, 50);
    for (int yields : {1, 2}) {
        EncipherRun run(text, 2024);
        for (int i = 0; i < yields; ++i) {
            ASSERT_TRUE(run.RunToYield());
        }
        run.Cancel();
        Recorded after;
        EXPECT_FALSE(run.RunToYield(Record, &after));
        // The step that yielded still reports its progress, now at the end.
        EXPECT_EQ(after.positions, (std::vector<std::int64_t>{50}));
        const std::string result = run.TakeResult();
        const std::u16string kept = text.substr(0, static_cast<std::size_t>(20 * yields));
        EXPECT_EQ(result, EncipherText(kept, 2024));
        EXPECT_EQ(result.substr(result.size() - 8), ".ZELKORA");
    }
}

// Driven to its end in one call (sixteen characters at a time where the
// processor allows) or yield by yield: the same text and the same state, for
// every length around the block and cycle sizes, also after a yield.
TEST(EncipherRunTest, RunToEndAgreesWithTheRunYieldByYield) {
    std::mt19937 rng(16);
    std::uniform_int_distribution<int> pass(-32768, 32767);
    for (std::size_t length = 0; length <= 170; ++length) {
        const std::u16string text = testing::RandomUnits(rng, length);
        const auto p = static_cast<std::int16_t>(length < 3 ? -32768 : pass(rng));
        for (int yieldsFirst : {0, 1}) {
            EncipherRun stepped(text, p, 7);
            while (stepped.RunToYield()) {
            }
            EncipherRun whole(text, p, 7);
            if (yieldsFirst == 1 && !whole.RunToYield()) {
                continue;
            }
            whole.RunToEnd();
            ASSERT_TRUE(whole.Finished());
            EXPECT_EQ(whole.CipherPosition(), stepped.CipherPosition()) << length;
            EXPECT_EQ(whole.SeparatorIndex(), stepped.SeparatorIndex()) << length;
            EXPECT_EQ(whole.ShiftedValue(), stepped.ShiftedValue()) << length;
            ASSERT_EQ(whole.TakeResult(), stepped.TakeResult()) << length << " pass " << p;
        }
    }
}

TEST(EncipherRunTest, ShortTextsNeverYield) {
    const std::u16string text(19, u'q');
    EncipherRun run(text, 5);
    EXPECT_FALSE(run.RunToYield());
    EXPECT_EQ(run.TakeResult(), EncipherText(text, 5));
}

TEST(EncipherRunTest, ShiftedValueKeepsTheLastCharactersValue) {
    EncipherRun run(u"ab", 10);
    EXPECT_FALSE(run.RunToYield());
    EXPECT_EQ(run.ShiftedValue(), 98 - 10);
    // An empty run leaves the value it started from.
    EncipherRun empty(u"", 10, 555);
    EXPECT_FALSE(empty.RunToYield());
    EXPECT_EQ(empty.ShiftedValue(), 555);
    EXPECT_EQ(empty.TakeResult(), "ZELKORA");
}

}  // namespace
}  // namespace solvena::cipher
