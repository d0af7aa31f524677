// SPDX-License-Identifier: MIT
// The census of a text fed a piece at a time counts as the model measures.

#include "textmodel/unit_census.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/random_text.h"

namespace solvena::textmodel {
namespace {

TEST(UnitCensusTest, CountsAsTheModelMeasuresHoweverThePiecesFall) {
    std::mt19937 rng(17);
    TextModel model;
    for (int round = 0; round < 300; ++round) {
        // Every kind of unit, and the pairs whose count depends on both:
        // CR LF, surrogate pairs and halves of them, ESC [.
        std::u16string text =
            round % 2 == 0 ? testing::RandomUnits(rng, 200) : testing::RandomJapanese(rng, 200);
        for (const char16_t* pair : {u"\r\n", u"\xD83D\xDE00", u"\x1B[", u"\xDE00", u"\xD83D"}) {
            text.insert(rng() % text.size(), pair);
        }
        const TextMeasure measured = model.Measure(text);
        UnitCensus census;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t length = rng() % 7;
            census.Feed(std::u16string_view(text).substr(at, length));
            at += length;
        }
        const TextMeasure counted = census.Finish();
        EXPECT_EQ(counted.units, measured.units) << round;
        EXPECT_EQ(counted.characters, measured.characters) << round;
        EXPECT_EQ(counted.impossible, measured.impossible) << round;
    }
}

}  // namespace
}  // namespace solvena::textmodel
