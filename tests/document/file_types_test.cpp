// SPDX-License-Identifier: MIT
#include "document/file_types.h"

#include <gtest/gtest.h>

namespace solvena::document {
namespace {

TEST(FileTypesTest, ANameSaysOneTypeByItsEnding) {
    struct Case {
        const char* name;
        FileType type;
    };
    for (const Case& c :
         {Case{"memo.txt", FileType::Text}, Case{"memo.zkt", FileType::Enciphered},
          Case{"MEMO.ZKT", FileType::Enciphered}, Case{"memo.Zkt", FileType::Enciphered},
          Case{"memo.txt.gpg", FileType::Sealed}, Case{"memo.asc", FileType::Sealed},
          Case{"memo.PGP", FileType::Sealed}, Case{"memo.zkt.gpg", FileType::Sealed},
          // No dot, or nothing before it: no ending at all.
          Case{"memozkt", FileType::Text}, Case{"notes/.zkt", FileType::Text},
          Case{".gpg", FileType::Text}, Case{"memo.md", FileType::Text}}) {
        EXPECT_EQ(FileTypeOfName(c.name), c.type) << c.name;
    }
    for (const FileTypeEntry& entry : kFileTypes) {
        EXPECT_EQ(FileTypeKeyed(entry.key), entry.type);
        EXPECT_EQ(FileTypeOfName(Renamed("memo", FileType::Text, entry.type)), entry.type);
    }
    EXPECT_EQ(FileTypeKeyed("gpg"), std::nullopt);
    EXPECT_TRUE(HasKnownEnding("memo.ASC"));
    EXPECT_FALSE(HasKnownEnding("memo.md"));
    EXPECT_FALSE(HasKnownEnding("memozkt"));
}

TEST(FileTypesTest, ADocumentsThreeNames) {
    for (const char* name : {"memo.txt", "memo.zkt", "memo.txt.gpg", "memo.ZKT", "memo.txt.asc"}) {
        EXPECT_EQ(NameAs(name, FileType::Text), "memo.txt") << name;
        EXPECT_EQ(NameAs(name, FileType::Enciphered), "memo.zkt") << name;
        EXPECT_EQ(NameAs(name, FileType::Sealed), "memo.txt.gpg") << name;
    }
    EXPECT_EQ(NameAs("memo.md", FileType::Enciphered), "memo.md.zkt");
    EXPECT_EQ(SavedName("memo", FileType::Enciphered), "memo.zkt");
    EXPECT_EQ(SavedName("memo.TXT", FileType::Enciphered), "memo.TXT");
    EXPECT_EQ(SavedName("memo.md", FileType::Sealed), "memo.md.gpg");
}

TEST(FileTypesTest, OutputsAreNamedAsTheToolsNameThem) {
    EXPECT_EQ(Renamed("memo.txt", FileType::Text, FileType::Enciphered), "memo.zkt");
    EXPECT_EQ(Renamed("MEMO.TXT", FileType::Text, FileType::Enciphered), "MEMO.zkt");
    EXPECT_EQ(Renamed("memo.md", FileType::Text, FileType::Enciphered), "memo.md.zkt");
    EXPECT_EQ(Renamed(".txt", FileType::Text, FileType::Enciphered), ".txt.zkt");
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
    EXPECT_TRUE(IsArmoredName("memo.txt.ASC"));
    EXPECT_FALSE(IsArmoredName("memo.txt.gpg"));
    // A name that is only the ending, or no password file's, is asked for.
    for (const char* asked : {"memo.txt", "notes/.gpg", ".gpg", "memo.zkt"}) {
        EXPECT_EQ(UnsealedName(asked), std::nullopt) << asked;
    }
}

}  // namespace
}  // namespace solvena::document
