// SPDX-License-Identifier: MIT
// Document files on disk: the rules end to end, and every failure as a value.

#include "document/document_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "files/file_io.h"
#include "tests/support/temp_dir.h"

namespace solvena::document {
using namespace files;
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(DocumentFileTest, WritesTextWithCrLfAndReadsItBack) {
    TempDir dir;
    const std::string path = dir.File("memo.txt");
    ASSERT_TRUE(WriteDocumentFile(path, u"abc").ok());
    EXPECT_EQ(ReadBytes(path), "abc\r\n");
    Result<Document> text = ReadDocumentFile(path);
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(text.value().text, u"abc");

    ASSERT_TRUE(WriteDocumentFile(path, u"日本語\r\n２行目").ok());
    EXPECT_EQ(ReadBytes(path), "\x93\xFA\x96\x7B\x8C\xEA\r\n\x82\x51\x8D\x73\x96\xDA\r\n");
    EXPECT_EQ(ReadDocumentFile(path).value().text, u"日本語\r\n２行目");
}

TEST(DocumentFileTest, ReadingFailuresNameTheFileAndTheReason) {
    TempDir dir;
    Result<Document> missing = ReadDocumentFile(dir.File("none.txt"));
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().kind, FileError::Kind::NotFound);
    EXPECT_EQ(missing.error().path, dir.File("none.txt"));
    EXPECT_EQ(missing.error().Describe(), "No such file or directory");

    Result<Document> throughMissing = ReadDocumentFile(dir.File("no/such.txt"));
    EXPECT_EQ(throughMissing.error().kind, FileError::Kind::NotFound);

    ASSERT_EQ(::mkdir(dir.File("x.txt").c_str(), 0755), 0);
    Result<Document> folder = ReadDocumentFile(dir.File("x.txt"));
    ASSERT_FALSE(folder.ok());
    EXPECT_EQ(folder.error().kind, FileError::Kind::IsFolder);

    EXPECT_EQ(ReadDocumentFile("").error().kind, FileError::Kind::NotFound);

    WriteBytes(dir.File("bad.txt"), "ok\x85\x40");
    Result<Document> invalid = ReadDocumentFile(dir.File("bad.txt"));
    ASSERT_FALSE(invalid.ok());
    EXPECT_EQ(invalid.error().kind, FileError::Kind::InvalidBytes);
    EXPECT_EQ(invalid.error().byteOffset, 2u);
}

TEST(DocumentFileTest, UnreadableFileIsPermissionDenied) {
    if (testing::RunningAsRoot()) {
        GTEST_SKIP() << "running as root: file permissions do not stop reading";
    }
    TempDir dir;
    const std::string path = dir.File("secret.txt");
    WriteBytes(path, "abc\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    Result<Document> text = ReadDocumentFile(path);
    ASSERT_FALSE(text.ok());
    EXPECT_EQ(text.error().kind, FileError::Kind::PermissionDenied);
}

TEST(DocumentFileTest, UnrepresentableTextWritesNothing) {
    TempDir dir;
    const std::string path = dir.File("old.txt");
    WriteBytes(path, "old\r\n");
    Status written = WriteDocumentFile(path, u"new \U0001F600");
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().kind, FileError::Kind::Unrepresentable);
    EXPECT_EQ(written.error().path, path);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_FALSE(WriteDocumentFile(dir.File("fresh.txt"), u"\u00E9").ok());
    EXPECT_FALSE(IsNormalFile(dir.File("fresh.txt")));
}

TEST(DocumentFileTest, ExistenceTestIsForNormalFilesOnly) {
    TempDir dir;
    WriteBytes(dir.File("a.txt"), "");
    ASSERT_EQ(::mkdir(dir.File("d.txt").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("a.txt", dir.File("link.txt").c_str()), 0);
    EXPECT_TRUE(IsNormalFile(dir.File("a.txt")));
    EXPECT_TRUE(IsNormalFile(dir.File("link.txt")));
    EXPECT_FALSE(IsNormalFile(dir.File("d.txt")));
    EXPECT_FALSE(IsNormalFile(dir.File("none.txt")));
    EXPECT_FALSE(IsNormalFile(""));
}

}  // namespace
}  // namespace solvena::document
