// SPDX-License-Identifier: MIT
// The format of an enciphered text read a piece at a time: where it breaks,
// by what, and the same however the pieces fall.

#include "cipher/cipher_evidence.h"

#include <gtest/gtest.h>

#include <random>

#include "cipher/alphabet.h"
#include "cipher/encipher.h"
#include "tests/support/random_text.h"

namespace solvena::cipher {
namespace {

std::u16string Enciphered16(std::u16string_view text, std::int16_t pass) {
    const std::string ascii = EncipherText(text, pass);
    return {ascii.begin(), ascii.end()};
}

// The evidence of `text` fed in pieces cut at random places.
CipherEvidence InPieces(std::u16string_view text, std::mt19937& rng) {
    EvidenceScan scan;
    std::size_t at = 0;
    while (at < text.size()) {
        // Short pieces, and long ones whose groups are read where they stand.
        const std::size_t longest = rng() % 2 == 0 ? 9 : 120;
        const std::size_t length = std::uniform_int_distribution<std::size_t>(0, longest)(rng);
        scan.Feed(text.substr(at, length));
        at += length;
    }
    return scan.Finish();
}

void ExpectSame(const CipherEvidence& a, const CipherEvidence& b, const std::string& why) {
    EXPECT_EQ(a.groups, b.groups) << why;
    EXPECT_EQ(a.cleanGroups, b.cleanGroups) << why;
    EXPECT_EQ(a.endMarker, b.endMarker) << why;
    EXPECT_EQ(a.severalLines, b.severalLines) << why;
    for (const auto& [x, y] : {std::pair(a.damage, b.damage), std::pair(a.afterEnd, b.afterEnd)}) {
        ASSERT_EQ(x.has_value(), y.has_value()) << why;
        if (x) {
            EXPECT_EQ(x->kind, y->kind) << why;
            EXPECT_EQ(x->position, y->position) << why;
            EXPECT_EQ(x->line, y->line) << why;
            EXPECT_EQ(x->column, y->column) << why;
            EXPECT_EQ(x->last, y->last) << why;
        }
    }
}

struct Place {
    const char* name;
    std::u16string text;
    Damage kind;
    std::uint64_t position, line, column, last;
};

TEST(CipherEvidenceTest, TheFirstBreakOfTheFormatIsNamedAndPlaced) {
    // Groups of "abc" under 7: 2k! 2a K ... as EncipherText writes them.
    const std::u16string abc = Enciphered16(u"abc", 7);
    const std::size_t second = abc.find(u'!') + 1;  // where the second group starts
    auto with = [&](std::size_t at, std::u16string_view inserted, std::size_t removed = 0) {
        std::u16string text = abc;
        text.replace(at, removed, inserted);
        return text;
    };
    const std::size_t k = abc.find(u'K');
    const Place places[] = {
        // The whole group is named: a stray character is somewhere in it.
        {"separator out of cycle", with(k, u"#", 1), Damage::OutOfCycle, second + 1, 1, second + 1,
         k + 1},
        {"a letter not of the alphabets", with(second, u"G"), Damage::OutsideAlphabets, second + 1,
         1, second + 1, k + 2},
        {"four digits", with(second, u"12"), Damage::GroupTooLong, second + 1, 1, second + 1,
         k + 3},
        {"after a line break", with(second, u"\r\nG"), Damage::OutsideAlphabets, second + 3, 2, 1,
         k + 4},
        {"text after the marker", abc + u"\r\nmore", Damage::AfterEndMarker, abc.size() + 3, 2, 1,
         abc.size() + 3},
    };
    std::mt19937 rng(3);
    for (const Place& p : places) {
        const CipherEvidence e = ExamineEnciphered(p.text);
        const std::optional<DamagePlace>& found =
            p.kind == Damage::AfterEndMarker ? e.afterEnd : e.damage;
        ASSERT_TRUE(found.has_value()) << p.name;
        EXPECT_EQ(found->kind, p.kind) << p.name;
        EXPECT_EQ(found->position, p.position) << p.name;
        EXPECT_EQ(found->line, p.line) << p.name;
        EXPECT_EQ(found->column, p.column) << p.name;
        EXPECT_EQ(found->last, p.last) << p.name;
        ExpectSame(e, InPieces(p.text, rng), p.name);
    }
}

// A stray character typed anywhere: the place named is a whole group, from
// the unit after a separator to a separator, and the stray one is in it.
TEST(CipherEvidenceTest, AStrayCharacterIsInTheGroupNamed) {
    std::mt19937 rng(17);
    const std::u16string whole = Enciphered16(testing::RandomJapanese(rng, 120), 4821);
    const std::size_t marker = whole.size() - kEndMarker.size();
    for (const char16_t stray : {u'x', u'G', u'-', u'7'}) {
        std::size_t named = 0;
        for (std::size_t at = 0; at <= marker; ++at) {
            std::u16string text = whole;
            text.insert(at, 1, stray);
            const std::optional<DamagePlace> damage = ExamineEnciphered(text).damage;
            if (!damage) {
                continue;  // a digit that makes a group of three, read as another character
            }
            ++named;
            const std::string why = "at " + std::to_string(at) + " " + char(stray);
            EXPECT_LE(damage->position, at + 1) << why;
            EXPECT_GE(damage->last, at + 1) << why;
            EXPECT_TRUE(damage->position == 1 || IsSeparator(text[damage->position - 2])) << why;
            EXPECT_TRUE(IsSeparator(text[damage->last - 1]) || damage->last == text.size()) << why;
        }
        EXPECT_GT(named, marker / 2) << char(stray);
    }
}

TEST(CipherEvidenceTest, AGroupLostOrAddedBreaksOnePlaceNotTheRest) {
    std::mt19937 rng(11);
    const std::u16string text = testing::RandomJapanese(rng, 400);
    const std::u16string whole = Enciphered16(text, 1234);
    // Without its tenth group: the cycle goes on from the separators after it.
    std::size_t start = 0;
    for (int group = 0; group < 9; ++group) {
        start = whole.find_first_of(u"!K#M$L%P&N'R([)]W/Y.", start) + 1;
    }
    const std::size_t end = whole.find_first_of(u"!K#M$L%P&N'R([)]W/Y.", start) + 1;
    std::u16string lost = whole;
    lost.erase(start, end - start);
    const CipherEvidence e = ExamineEnciphered(lost);
    EXPECT_EQ(e.groups, 399);
    EXPECT_EQ(e.cleanGroups, 398);
    ASSERT_TRUE(e.damage.has_value());
    EXPECT_EQ(e.damage->kind, Damage::OutOfCycle);
    EXPECT_TRUE(e.endMarker);
}

TEST(CipherEvidenceTest, PiecesCutAnywhereShowWhatTheWholeShows) {
    std::mt19937 rng(5);
    for (int round = 0; round < 200; ++round) {
        std::u16string text = Enciphered16(testing::RandomUnits(rng, 60), 1234);
        // Damage of every kind at random places, line breaks among it.
        for (int change = 0; change < round % 4; ++change) {
            const std::size_t at = std::uniform_int_distribution<std::size_t>(0, text.size())(rng);
            constexpr std::u16string_view kInserted[] = {u"\r\n", u"!", u"G", u"9", u"\r"};
            text.insert(at, kInserted[rng() % 5]);
        }
        ExpectSame(ExamineEnciphered(text), InPieces(text, rng), "round " + std::to_string(round));
    }
}

}  // namespace
}  // namespace solvena::cipher
