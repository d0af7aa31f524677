// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "sealing/sealed_names.h"

namespace solvena::sealing {
namespace {

TEST(SealedNamesTest, NamedAsGpgNamesThem) {
    struct Case {
        const char* plain;
        bool armored;
        const char* sealed;
    };
    for (const Case& c :
         {Case{"memo.txt", false, "memo.txt.gpg"}, Case{"memo.txt", true, "memo.txt.asc"},
          Case{"notes/memo.zkt", false, "notes/memo.txt.gpg"},
          Case{"MEMO.ZKT", false, "MEMO.txt.gpg"}, Case{"memo", false, "memo.gpg"}}) {
        EXPECT_EQ(SealedName(c.plain, c.armored), c.sealed);
        EXPECT_TRUE(IsSealedName(c.sealed));
    }
    EXPECT_EQ(UnsealedName("notes/memo.txt.gpg"), "notes/memo.txt");
    EXPECT_EQ(UnsealedName("memo.txt.ASC"), "memo.txt");
    EXPECT_EQ(UnsealedName("memo.pgp"), "memo");
    // A name that is only the ending, or no password file's, is asked for.
    for (const char* asked : {"memo.txt", "notes/.gpg", ".gpg", "memo.zkt"}) {
        EXPECT_EQ(UnsealedName(asked), std::nullopt) << asked;
    }
}

}  // namespace
}  // namespace solvena::sealing
