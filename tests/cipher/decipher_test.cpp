#include "decipher.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "encipher.h"
#include "random_text.h"

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
        for (std::int16_t p : {0, 7, 9999}) {
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
