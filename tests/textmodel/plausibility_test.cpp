// SPDX-License-Identifier: MIT
// The text model and the evidence of an enciphered text.

#include "textmodel/plausibility.h"

#include <gtest/gtest.h>

#include <random>

#include "cipher/cipher_evidence.h"
#include "cipher/encipher.h"
#include "tests/support/random_text.h"
#include "tests/support/sample_texts.h"

namespace solvena::textmodel {
using namespace cipher;
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
TEST(PlausibilityTest, TheModelPrefersWhatPeopleWrite) {
    const Preference cases[] = {
        {"a line break is CR LF", u"ab\r\ncd", u"ab\r\rcd"},
        {"a surrogate pair is one character", u"ab\U0001F600cd",
         u"ab\xD83D\xD83D"
         u"cd"},
        {"a combining mark sits on a letter", u"กันยา", u"\u0E31กนยา"},
        {"a vowel sign follows its consonant", u"नमस्ते", u"\u093Eमसनते"},
        {"private use is no text", u"日本", u"日\uE000"},
        {"controls are no text", u"ab", u"a\x7F"},
        {"digits stay together", u"0120", u"01a0"},
        {"a word keeps its case", u"Tokyo", u"TokYo"},
        {"the letters of a language before historic ones", u"Москва", u"Мѡсква"},
        {"common ideographs before rare ones", u"日本", u"日\u4E02"},
        {"common Hangul before rare", u"서울", u"서\uBDC1"},
        {"vowels part the consonants", u"Luxembourg", u"Lxmbrgueou"},
        {"vowels part the consonants in Cyrillic", u"Новосибирск", u"Нвсбрскоиио"},
        {"vowels part the consonants in Greek", u"Θεσσαλονίκη", u"Θσσλνκεαοίη"},
        {"vowels part the consonants in Armenian", u"Երևան քաղաք", u"Երևն քղքաաա"},
        {"common Devanagari letters before rare", u"कमल", u"ङञल"},
        {"common Khmer letters before rare", u"កម្ពុជា", u"ឃឈ្ឍុឋា"},
        {"common Ethiopic syllables before rare", u"ሰላም", u"ሷሏሟ"},
    };
    TextModel model;
    for (const Preference& c : cases) {
        ASSERT_EQ(c.better.size(), c.worse.size()) << c.why;
        EXPECT_LT(model.Measure(c.better).bits, model.Measure(c.worse).bits) << c.why;
    }
}

// The cipher's own rule, in every script: a wrong pass number moves the odd
// units one way and the even ones the other, and the halves of the text
// then share no characters. The model pays for that whatever the script.
TEST(PlausibilityTest, TheRightTextCostsLessThanItsShiftsInEveryScript) {
    TextModel model;
    for (const auto& samples : {testing::WorldTexts(), testing::SampleTexts()}) {
        for (const testing::SampleText& sample : samples) {
            const double right = model.Measure(sample.text).bits;
            for (int d : {1, -1, 2, 40, 1000}) {
                std::u16string shifted = sample.text;
                for (std::size_t i = 0; i < shifted.size(); ++i) {
                    shifted[i] = static_cast<char16_t>(shifted[i] + (i % 2 == 0 ? d : -d));
                }
                EXPECT_LT(right + 50, model.Measure(shifted).bits) << sample.name << " " << d;
            }
        }
    }
}

struct GarbageCase {
    const char* name;
    std::u16string text;
    bool garbage;
};

TEST(PlausibilityTest, GarbageByItself) {
    std::u16string longText(99, u'a');
    longText += u'\x01';
    const GarbageCase cases[] = {
        {"nothing", u"", false},
        {"one digit", u"1", false},
        {"one kana", u"あ", false},
        {"an emoji", u"\U0001F600", false},
        {"a mark alone", u"\u0301", false},
        {"a tab, a form feed, line ends", u"a\tb\fc\r\nd\ne\rf", false},
        {"a terminal's escape sequence", u"\x1B[1mbold\x1B[0m", false},
        {"one control in a hundred units", longText, false},
        {"two controls in a hundred units", longText.substr(1) + u"\x02", true},
        {"a control", u"\x01", true},
        {"a lone escape", u"abc\x1B", true},
        {"a lone surrogate",
         u"a\xD800"
         u"b",
         true},
        {"a low surrogate first", u"\xDC00\xD800", true},
        {"private use", u"\uE000", true},
        {"a private-use plane", u"\U000F0000", true},
        {"a noncharacter", u"\uFFFF", true},
        {"unassigned", u"\u0378", true},
    };
    TextModel model;
    for (const GarbageCase& c : cases) {
        EXPECT_EQ(GarbageByItself(model.Measure(c.text)), c.garbage) << c.name;
    }
    std::mt19937 rng(13);
    for (std::size_t length : std::initializer_list<std::size_t>{10, 200, 5000}) {
        EXPECT_TRUE(GarbageByItself(model.Measure(testing::RandomUnits(rng, length)))) << length;
    }
    for (const auto& samples : {testing::WorldTexts(), testing::WorldNotes(),
                                testing::SampleTexts(), testing::SampleNotes()}) {
        for (const testing::SampleText& sample : samples) {
            EXPECT_FALSE(GarbageByItself(model.Measure(sample.text))) << sample.name;
        }
    }
}

TEST(PlausibilityTest, MeasuresCountCharactersAndScoreFromZeroToOne) {
    TextModel model;
    const TextMeasure m = model.Measure(u"a\r\n\U0001F600\x01");
    EXPECT_EQ(m.units, 6u);
    EXPECT_EQ(m.characters, 5u);  // a, CR, LF, the emoji, the control
    EXPECT_EQ(m.impossible, 1u);
    EXPECT_EQ(Score(model.Measure(u"")), 1.0);
    EXPECT_EQ(Score(model.Measure(u"\x01\x02\x03")), 0.0);
    // One model measures a text the same however often and after whatever.
    const double first = model.Measure(testing::WorldTexts()[0].text).bits;
    model.Measure(testing::SampleTexts()[0].text);
    EXPECT_EQ(model.Measure(testing::WorldTexts()[0].text).bits, first);
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
}  // namespace solvena::textmodel
