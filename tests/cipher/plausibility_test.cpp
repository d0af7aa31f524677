// SPDX-License-Identifier: MIT
// The plausibility score and the evidence of an enciphered text.

#include "plausibility.h"

#include <gtest/gtest.h>

#include <random>

#include "encipher.h"
#include "random_text.h"
#include "sample_texts.h"

namespace solvena::cipher {
namespace {

std::u16string Enciphered16(std::u16string_view text, std::int16_t pass) {
    const std::string ascii = EncipherText(text, pass);
    return {ascii.begin(), ascii.end()};
}

struct Preference {
    const char* why;
    std::u16string better;
    std::u16string worse;
};

// Pairs of texts of equal length where the first must cost less.
TEST(PlausibilityTest, ScoresPreferWhatPeopleWrite) {
    const Preference cases[] = {
        {"a line break is CR LF", u"ab\r\ncd", u"ab\r\rcd"},
        {"a lone LF is still a line end", u"ab\ncd",
         u"ab\x01"
         u"cd"},
        {"a surrogate pair is one character", u"ab\U0001F600cd",
         u"ab\xD83D\xD83D"
         u"cd"},
        {"common kanji before rare ones", u"日本", u"日鬱"},
        {"rare kanji before those code page 932 lacks", u"日鬱", u"日\u4E02"},
        {"kana before symbols", u"のに", u"の\u2603"},
        {"private use is no text", u"日本", u"日\uE000"},
        {"controls are no text", u"ab", u"a\x7F"},
        {"digits stay together", u"0120", u"01/0"},
        {"English letters by frequency", u"the", u"qzx"},
    };
    for (const Preference& c : cases) {
        ASSERT_EQ(c.better.size(), c.worse.size()) << c.why;
        EXPECT_LT(TextCost(c.better), TextCost(c.worse)) << c.why;
    }
    EXPECT_EQ(TextScore(u""), 1.0);
    EXPECT_EQ(TextScore(u"\x01\x02\x03"), 0.0);
}

TEST(PlausibilityTest, RealTextsScoreAboveTheThresholdAndRandomUnitsBelow) {
    for (const auto& samples : {testing::SampleTexts(), testing::SampleNotes()}) {
        for (const testing::SampleText& sample : samples) {
            EXPECT_GE(TextScore(sample.text), kPlausibleScore + 0.1) << sample.name;
        }
    }
    std::mt19937 rng(13);
    for (std::size_t length : std::initializer_list<std::size_t>{10, 200, 5000}) {
        EXPECT_LT(TextScore(testing::RandomUnits(rng, length)), kPlausibleScore - 0.1) << length;
    }
}

struct EvidenceCase {
    const char* name;
    std::u16string text;
    std::int64_t groups;
    std::int64_t clean;
    bool endMarker;
    double factor;
};

TEST(PlausibilityTest, EvidenceOfTheEncipheredText) {
    const std::u16string abc = Enciphered16(u"abc", 7);
    const std::u16string cut = abc.substr(0, abc.size() - 7);
    std::u16string broken = abc;
    broken.insert(3, u"\r\n");  // a line break picked up in storage
    std::u16string outOfCycle = abc;
    outOfCycle[outOfCycle.find(u'K')] = u'!';
    const EvidenceCase cases[] = {
        {"as enciphered", abc, 3, 3, true, 1.0},
        {"with the file's line end", abc + u"\r\n", 3, 3, true, 1.0},
        {"a line break inside", broken, 3, 3, true, 1.0},
        {"cut before the marker", cut, 3, 3, false, 0.9},
        {"separator out of cycle", outOfCycle, 3, 2, true, 2.0 / 3},
        {"the marker alone", u"ZELKORA", 0, 0, true, 1.0},
        {"text after the marker", abc + u"more", 3, 3, false, 0.9},
        {"never enciphered", u"明日は雨", 4, 0, false, 0.0},
        {"a stop symbol first", u"Zoo trip", 0, 0, false, 0.0},
        {"empty", u"", 0, 0, false, 0.0},
    };
    for (const EvidenceCase& c : cases) {
        const CipherEvidence e = ExamineEnciphered(c.text);
        EXPECT_EQ(e.groups, c.groups) << c.name;
        EXPECT_EQ(e.cleanGroups, c.clean) << c.name;
        EXPECT_EQ(e.endMarker, c.endMarker) << c.name;
        EXPECT_DOUBLE_EQ(EvidenceFactor(e), c.factor) << c.name;
        EXPECT_EQ(e.HoldsEncipheredText(), c.factor > 0) << c.name;
    }
}

TEST(PlausibilityTest, AWholeEncipheredTextIsCleanWhateverItHolds) {
    std::mt19937 rng(7);
    for (std::int16_t pass : std::initializer_list<std::int16_t>{0, 1, 9999, -999, 32000}) {
        const std::u16string text = testing::RandomUnits(rng, 3000);
        const CipherEvidence e = ExamineEnciphered(Enciphered16(text, pass));
        EXPECT_EQ(e.groups, 3000);
        EXPECT_EQ(e.cleanGroups, 3000);
        EXPECT_TRUE(e.endMarker);
    }
}

}  // namespace
}  // namespace solvena::cipher
