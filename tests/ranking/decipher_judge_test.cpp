// SPDX-License-Identifier: MIT
// A decipherment judged on the whole input, fed a piece at a time: what
// lies beyond the opening counts as much as the opening.

#include "ranking/decipher_judge.h"

#include <gtest/gtest.h>

#include <random>

#include "cipher/decipher.h"
#include "cipher/encipher.h"
#include "tests/support/random_text.h"
#include "tests/support/sample_texts.h"

namespace solvena::ranking {
namespace {

std::u16string Enciphered16(std::u16string_view text, std::int16_t pass) {
    const std::string ascii = cipher::EncipherText(text, pass);
    return {ascii.begin(), ascii.end()};
}

// Judged as zkt judges it: the opening first, aside, then the rest in
// pieces of a few thousand units.
Decipherment InPieces(std::u16string_view input, std::int16_t pass) {
    DecipherJudge judge(pass);
    constexpr std::size_t kPiece = 5000;
    const std::size_t opening = std::min(input.size(), kJudgedOpening + 3);
    judge.FeedEnciphered(input.substr(0, opening));
    judge.JudgeOpeningAside();
    for (std::size_t at = opening; at < input.size(); at += kPiece) {
        judge.FeedEnciphered(input.substr(at, kPiece));
    }
    const std::u16string plain = cipher::DecipherText(input, pass);
    for (std::size_t at = 0; at < plain.size(); at += kPiece) {
        judge.FeedDeciphered(std::u16string_view(plain).substr(at, kPiece));
    }
    return judge.Finish();
}

struct LongCase {
    const char* name;
    std::u16string input;
    std::int16_t pass;
    Decipherment verdict;
};

TEST(DecipherJudgeTest, WhatFollowsTheOpeningIsJudgedToo) {
    std::mt19937 rng(23);
    // Prose well beyond the opening the other pass numbers are tried on.
    std::u16string text;
    while (text.size() < 3 * kJudgedOpening) {
        text += testing::SampleTexts()[0].text;
    }
    const std::u16string enciphered = Enciphered16(text, 1234);
    const std::u16string plain = testing::RandomJapanese(rng, 3 * kJudgedOpening);
    const std::u16string privateUse =
        text.substr(0, text.size() / 2) + std::u16string(text.size() / 2, u'\uE000');
    std::u16string cut = enciphered.substr(0, enciphered.size() / 2);
    const LongCase cases[] = {
        {"right pass", enciphered, 1234, Decipherment::Plausible},
        {"wrong pass", enciphered, 4321, Decipherment::NotText},
        {"pass off by one", enciphered, 1235, Decipherment::OtherPassBetter},
        {"never enciphered", plain, 1234, Decipherment::NothingEnciphered},
        {"NULs", std::u16string(3 * kJudgedOpening, u'\0'), 1234, Decipherment::NothingEnciphered},
        {"plain text after the opening", cut + plain, 1234, Decipherment::Damaged},
        {"garbage after the opening", Enciphered16(privateUse, 1234), 1234, Decipherment::NotText},
        {"another save after the opening", cut + enciphered.substr(cut.size() + 11), 1234,
         Decipherment::Damaged},
    };
    for (const LongCase& c : cases) {
        EXPECT_EQ(JudgeDecipherment(c.input, c.pass, cipher::DecipherText(c.input, c.pass)),
                  c.verdict)
            << c.name;
        EXPECT_EQ(InPieces(c.input, c.pass), c.verdict) << c.name;
    }
}

TEST(DecipherJudgeTest, TheFormatAloneSaysWhetherThereIsEncipheredText) {
    const std::u16string note = testing::SampleNotes()[0].text;
    const std::u16string enciphered = Enciphered16(note, 5);
    const std::u16string stray = enciphered.substr(0, enciphered.size() / 2) + u"G" +
                                 enciphered.substr(enciphered.size() / 2);
    EXPECT_EQ(FormatVerdict(cipher::ExamineEnciphered(enciphered)), std::nullopt);
    EXPECT_EQ(FormatVerdict(cipher::ExamineEnciphered(stray)), Decipherment::Damaged);
    // Separators alone: no group as enciphering writes it, however many.
    EXPECT_EQ(FormatVerdict(cipher::ExamineEnciphered(std::u16string(100000, u'!'))),
              Decipherment::NothingEnciphered);
    // A short damaged note ending in the marker is a damaged note, not text
    // never enciphered, though most of its few groups are broken.
    EXPECT_EQ(FormatVerdict(cipher::ExamineEnciphered(u"2g!27x2i#ZELKORA")), Decipherment::Damaged);
}

}  // namespace
}  // namespace solvena::ranking
