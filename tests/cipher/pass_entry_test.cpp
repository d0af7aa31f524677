// SPDX-License-Identifier: MIT
#include "cipher/pass_entry.h"

#include <gtest/gtest.h>

#include "tests/support/random_text.h"

namespace solvena::cipher {
namespace {

struct EntryCase {
    const char* entry;  // UTF-8
    std::optional<std::int16_t> pass;
};

void PrintTo(const EntryCase& c, std::ostream* os) {
    *os << '"' << c.entry << '"';
}

class PassEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(PassEntryTest, ReadsTheEntry) {
    const EntryCase& c = GetParam();
    EXPECT_EQ(ReadPassEntry(testing::FromUtf8(c.entry)), c.pass);
}

INSTANTIATE_TEST_SUITE_P(Digits, PassEntryTest,
                         ::testing::Values(EntryCase{"0", 0}, EntryCase{"0000", 0},
                                           EntryCase{"7", 7}, EntryCase{"1234", 1234},
                                           EntryCase{"9999", 9999}, EntryCase{"0042", 42},
                                           EntryCase{"12345", std::nullopt},
                                           EntryCase{"", std::nullopt},
                                           // Full-width digits, as an input method types them.
                                           EntryCase{"１２３４", 1234}, EntryCase{"０", 0},
                                           EntryCase{"１２３４５", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    NumberForms, PassEntryTest,
    ::testing::Values(EntryCase{"-1", -1}, EntryCase{"-5", -5}, EntryCase{"+5", 5},
                      EntryCase{" 5", 5}, EntryCase{"5 ", 5}, EntryCase{"5.", 5},
                      EntryCase{".5", 0}, EntryCase{"1.5", 2}, EntryCase{"2.5", 2},
                      EntryCase{"3.5", 4}, EntryCase{"-2.5", -2}, EntryCase{"-0", 0},
                      EntryCase{"1e3", 1000}, EntryCase{"1E4", 10000}, EntryCase{"1e-5", 0},
                      // Too large for a pass number.
                      EntryCase{"1e5", std::nullopt}, EntryCase{"9e99", std::nullopt},
                      EntryCase{"4e4", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    NotNumbers, PassEntryTest,
    ::testing::Values(EntryCase{"a", std::nullopt}, EntryCase{"12a", std::nullopt},
                      EntryCase{"-", std::nullopt}, EntryCase{".", std::nullopt},
                      EntryCase{" ", std::nullopt}, EntryCase{"1 2", std::nullopt},
                      EntryCase{"1e", std::nullopt}, EntryCase{"e1", std::nullopt},
                      EntryCase{"&H10", std::nullopt}, EntryCase{"&O7", std::nullopt},
                      EntryCase{"$5", std::nullopt}, EntryCase{"¥5", std::nullopt},
                      EntryCase{"1,0", std::nullopt}, EntryCase{"1,000", std::nullopt},
                      EntryCase{"inf", std::nullopt}, EntryCase{"nan", std::nullopt},
                      EntryCase{"0x1", std::nullopt}, EntryCase{"1..", std::nullopt},
                      EntryCase{"--1", std::nullopt}, EntryCase{"ー１", std::nullopt}));

}  // namespace
}  // namespace solvena::cipher
