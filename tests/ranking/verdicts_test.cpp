// SPDX-License-Identifier: MIT
// The verdicts' names and the question of a damaged text, which the
// windows and the page both show.

#include <gtest/gtest.h>

#include <set>

#include "ranking/verdicts.h"

namespace solvena::ranking {
namespace {

TEST(VerdictsTest, EveryVerdictHasANameOfItsOwn) {
    std::set<std::string_view> keys;
    for (const VerdictEntry& entry : kVerdicts) {
        EXPECT_TRUE(keys.insert(entry.key).second) << entry.key;
        EXPECT_EQ(VerdictKey(entry.verdict), entry.key);
    }
}

TEST(VerdictsTest, TheDamagedQuestionSaysWhereAndHow) {
    cipher::CipherEvidence evidence;
    evidence.damage = cipher::DamagePlace{cipher::Damage::OutsideAlphabets, 39, 2, 5, 42};
    EXPECT_EQ(DamagedQuestion(evidence),
              u"暗号文が壊れています。39～42 文字目に暗号文に使われない文字があります。\n"
              u"パスナンバーの違いではありません。結果を表示しますか？");
    evidence.damage = cipher::DamagePlace{cipher::Damage::AfterEndMarker, 7, 2, 3, 7};
    evidence.severalLines = true;
    EXPECT_EQ(DamagedQuestion(evidence),
              u"暗号文が壊れています。7 文字目（2 行 3 列）に終わりの印の後の文字があります。\n"
              u"パスナンバーの違いではありません。結果を表示しますか？");
}

}  // namespace
}  // namespace solvena::ranking
