// SPDX-License-Identifier: MIT
// Ranking every pass number for an enciphered text, and judging a
// decipherment.

#include "ranking/decipher_judge.h"
#include "ranking/pass_ranking.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "cipher/decipher.h"
#include "cipher/encipher.h"
#include "cipher/pass_entry.h"
#include "tests/support/random_text.h"
#include "tests/support/sample_texts.h"

namespace solvena::ranking {
using namespace cipher;
using namespace textmodel;
namespace {

std::u16string Enciphered16(std::u16string_view text, std::int16_t pass) {
    const std::string ascii = EncipherText(text, pass);
    return {ascii.begin(), ascii.end()};
}

std::vector<testing::SampleText> AllSamples() {
    std::vector<testing::SampleText> texts;
    for (const auto& samples : {testing::SampleTexts(), testing::SampleNotes(),
                                testing::WorldTexts(), testing::WorldNotes()}) {
        texts.insert(texts.end(), samples.begin(), samples.end());
    }
    return texts;
}

// The right pass number comes first, whatever the script, whichever pass
// number the text was enciphered under, and it is accepted; clearly ahead
// for texts of a few lines (a note may have a close second).
TEST(RecoverTest, RanksAndAcceptsTheRightPassNumberInEveryScript) {
    for (const testing::SampleText& sample : AllSamples()) {
        for (std::int16_t pass : std::initializer_list<std::int16_t>{7, 1234, -999, 30000}) {
            const std::u16string input = Enciphered16(sample.text, pass);
            const PassRanking ranking = RankPassNumbers(input, 3);
            ASSERT_EQ(ranking.best.size(), 3u);
            EXPECT_EQ(ranking.best[0].pass, pass) << sample.name << " " << pass;
            EXPECT_GE(ranking.best[0].score, ranking.best[1].score);
            EXPECT_GE(ranking.best[1].score, ranking.best[2].score);
            if (sample.text.size() >= 50) {
                EXPECT_TRUE(ranking.ClearlyAhead()) << sample.name << " " << pass;
            }
            EXPECT_EQ(JudgeDecipherment(input, pass, DecipherText(input, pass)),
                      Decipherment::Plausible)
                << sample.name << " " << pass;
        }
    }
}

Decipherment Judged(const std::u16string& input, std::int16_t pass) {
    return JudgeDecipherment(input, pass, DecipherText(input, pass));
}

// Pass numbers next to the right one and far from it are refused for the
// texts of every script; far ones for its notes of 10 characters and more
// too (shorter ones are not compared with other pass numbers at all).
TEST(RecoverTest, RefusesWrongPassNumbersInEveryScript) {
    for (const auto& samples : {testing::WorldTexts(), testing::SampleTexts()}) {
        for (const testing::SampleText& sample : samples) {
            const std::u16string input = Enciphered16(sample.text, 1234);
            for (std::int16_t wrong : std::initializer_list<std::int16_t>{1233, 1235, 1244, 4321}) {
                EXPECT_NE(Judged(input, wrong), Decipherment::Plausible)
                    << sample.name << " " << wrong;
            }
        }
    }
    for (const auto& notes : {testing::WorldNotes(), testing::SampleNotes()}) {
        for (const testing::SampleText& note : notes) {
            if (note.text.size() < kShortestCompared) {
                continue;
            }
            const std::u16string input = Enciphered16(note.text, 1234);
            for (std::int16_t wrong : std::initializer_list<std::int16_t>{4321, -500, 8000}) {
                EXPECT_NE(Judged(input, wrong), Decipherment::Plausible)
                    << note.name << " " << wrong;
            }
        }
    }
}

// A note too short to tell is refused only when it is garbage by itself,
// never because another pass number reads it a little better.
TEST(RecoverTest, NeverRefusesAShortNoteThatIsText) {
    const std::u16string notes[] = {u"1",  u"x", u"あ",   u"😀",     u"ok",     u"日本",
                                    u"Ок", u"ดี", u"שלום", u"12:30", u"Hi Ken!"};
    for (const std::u16string& note : notes) {
        for (int pass = -999; pass <= 9999; pass += 97) {
            const auto p = static_cast<std::int16_t>(pass);
            EXPECT_EQ(Judged(Enciphered16(note, p), p), Decipherment::Plausible) << pass;
        }
    }
    EXPECT_EQ(Judged(Enciphered16(u"a", 5), 5), Decipherment::NotText);
}

// Random characters, as a password or a key is: some wrong pass number
// always reads them a little better by chance, which is no evidence.
TEST(RecoverTest, NeverRefusesAPasswordOrAKey) {
    const std::string_view alphabets[] = {
        "0123456789abcdef",
        "abcdefghijklmnopqrstuvwxyz0123456789",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/",
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!@#$%^&*-_=+?",
    };
    std::mt19937 rng(11);
    for (std::size_t i = 0; i < 100; ++i) {
        const std::string_view alphabet = alphabets[i % std::size(alphabets)];
        std::u16string key;
        for (std::size_t n = 10 + rng() % 15; key.size() < n;) {
            key += static_cast<char16_t>(alphabet[rng() % alphabet.size()]);
        }
        EXPECT_EQ(Judged(Enciphered16(key, 1234), 1234), Decipherment::Plausible)
            << testing::ToUtf8(key);
    }
}

TEST(RecoverTest, TiesAreNeverClearlyAhead) {
    // Every odd digit one more, every even one less: digits all the same,
    // so two pass numbers give texts of digits only.
    const PassRanking ranking = RankPassNumbers(Enciphered16(u"7182818284", 500), 5);
    EXPECT_FALSE(ranking.ClearlyAhead());
    EXPECT_TRUE(ranking.LooksLikeText());
    // The empty text: every pass number gives it.
    const PassRanking empty = RankPassNumbers(u"ZELKORA", 5);
    EXPECT_EQ(empty.best[0].score, 1.0);
    EXPECT_FALSE(empty.ClearlyAhead());
}

TEST(RecoverTest, OpeningsAreWhatDecipheringGives) {
    // Line breaks, places without a separator (which shift the cycle),
    // groups of any form: each candidate's text is DecipherText's.
    std::mt19937 rng(3);
    std::u16string input = Enciphered16(testing::RandomJapanese(rng, 300), 4321);
    for (const auto& [at, what] :
         {std::pair<std::size_t, std::u16string_view>{200, u"-"}, {120, u"xyz"}, {40, u"\r\n"}}) {
        input = input.substr(0, at) + std::u16string(what) + input.substr(at);
    }
    const PassRanking ranking = RankPassNumbers(input, 40);
    ASSERT_EQ(ranking.best.size(), 40u);
    for (const RankedPass& candidate : ranking.best) {
        const std::u16string text = DecipherText(input, candidate.pass);
        EXPECT_EQ(candidate.opening, text.substr(0, kOpeningUnits)) << candidate.pass;
        EXPECT_EQ(ReadPassEntry(candidate.entry), candidate.pass);
    }
}

// Lines of random letters of one script (a list of codes, a drill): under
// a wrong pass number the odd and even places fall into different blocks,
// which no text does, so the right one is ranked first; where every pass
// number near it reads letters as random (Hangul syllables), it is still
// never refused.
TEST(RecoverTest, RandomLettersOfOneScriptAreTheirOwnPassNumbersText) {
    std::mt19937 rng(41);
    const auto lines = [&](char16_t first, char16_t last) {
        std::u16string text;
        for (int line = 0; line < 100; ++line) {
            for (int i = 0; i < 80; ++i) {
                text += static_cast<char16_t>(std::uniform_int_distribution<int>(first, last)(rng));
            }
            text += u"\r\n";
        }
        return text;
    };
    const std::pair<const char*, std::u16string> scripts[] = {
        {"hiragana", lines(0x3041, 0x3096)},
        {"Greek", lines(0x03B1, 0x03C9)},
        {"Thai", lines(0x0E01, 0x0E2E)},
        {"Hangul", lines(0xAC00, 0xD7A3)},
    };
    for (const auto& [name, text] : scripts) {
        const std::u16string input = Enciphered16(text, 1234);
        EXPECT_EQ(JudgeDecipherment(input, 1234, DecipherText(input, 1234)),
                  Decipherment::Plausible)
            << name;
        if (std::string_view(name) != "Hangul") {
            EXPECT_EQ(RankPassNumbers(input, 1).best[0].pass, 1234) << name;
        }
    }
}

struct JudgeCase {
    const char* name;
    std::u16string input;
    std::int16_t pass;
    Decipherment verdict;
};

TEST(RecoverTest, JudgesADecipherment) {
    const std::u16string prose = testing::SampleTexts()[0].text;
    const std::u16string note = testing::SampleNotes()[0].text;
    const JudgeCase cases[] = {
        {"right pass", Enciphered16(prose, 1234), 1234, Decipherment::Plausible},
        {"right pass, note", Enciphered16(note, 5), 5, Decipherment::Plausible},
        {"empty text", u"ZELKORA", 1234, Decipherment::Plausible},
        {"right pass, short heading", Enciphered16(u"**Concurrency**", 5582), 5582,
         Decipherment::Plausible},
        {"too short to compare", Enciphered16(u"Tokyo", 1234), 1235, Decipherment::Plausible},
        {"wrong pass", Enciphered16(prose, 1234), 4321, Decipherment::NotText},
        {"wrong pass, note", Enciphered16(note, 1234), 8765, Decipherment::OtherPassBetter},
        {"pass off by one", Enciphered16(prose, 1234), 1235, Decipherment::OtherPassBetter},
        {"note off by two", Enciphered16(note, 1234), 1232, Decipherment::OtherPassBetter},
        {"never enciphered", prose, 1234, Decipherment::NothingEnciphered},
        {"plain English", u"Meet Ken at the station (10:30).", 1234,
         Decipherment::NothingEnciphered},
    };
    for (const JudgeCase& c : cases) {
        const std::u16string result = DecipherText(c.input, c.pass);
        EXPECT_EQ(JudgeDecipherment(c.input, c.pass, result), c.verdict) << c.name;
    }
}

// The candidates are exactly the values the entry rule gives for entries of
// up to four characters, here made of a wider set of characters than the
// list itself is made from.
TEST(RecoverTest, CandidatesAreThoseOfTheEntryRule) {
    const std::u16string signs = u"0123456789+-.eE \t\uFF10\uFF19dD,x";
    std::set<int> values;
    std::u16string entry;
    const auto visit = [&](auto&& self, std::size_t length) -> void {
        if (const std::optional<std::int16_t> pass = ReadPassEntry(entry); pass && *pass != -1) {
            values.insert(*pass);
        }
        if (length == kMaxPassEntryLength) {
            return;
        }
        for (char16_t c : signs) {
            entry.push_back(c);
            self(self, length + 1);
            entry.pop_back();
        }
    };
    visit(visit, 0);

    const std::vector<PassCandidate> candidates = PassCandidates();
    std::set<int> listed;
    for (const PassCandidate& c : candidates) {
        EXPECT_TRUE(listed.insert(c.pass).second) << "twice: " << c.pass;
        EXPECT_EQ(ReadPassEntry(c.entry), c.pass);
        EXPECT_LE(c.entry.size(), kMaxPassEntryLength);
    }
    EXPECT_EQ(listed, values);
    EXPECT_TRUE(std::is_sorted(candidates.begin(), candidates.end(),
                               [](const auto& a, const auto& b) { return a.pass < b.pass; }));
    for (int v = -999; v <= 9999; ++v) {
        EXPECT_EQ(listed.count(v), v == -1 ? 0u : 1u) << v;
    }
    EXPECT_EQ(candidates.front().entry, u"-3e4");
    EXPECT_EQ(candidates.back().entry, u"32e3");
}

}  // namespace
}  // namespace solvena::ranking
