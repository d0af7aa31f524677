// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <random>

#include "document/document_file.h"
#include "tests/support/oracles.h"
#include "tests/support/random_text.h"

namespace solvena::document {
using namespace files;
namespace {

std::u16string Read(std::string_view bytes) {
    Result<Document> text = DecodeDocument(bytes, std::nullopt, "test");
    EXPECT_TRUE(text.ok()) << (text.ok() ? "" : text.error().Describe());
    return text.ok() ? text.value().text : u"<error>";
}

TEST(ReadingRuleTest, LinesAreJoinedWithCrLfAndTheLastHasNone) {
    EXPECT_EQ(Read("abc\r\ndef\r\n"), u"abc\r\ndef");
    EXPECT_EQ(Read("a\r\nb"), u"a\r\nb");
    EXPECT_EQ(Read(""), u"");
    EXPECT_EQ(Read("abc\r\n"), u"abc");
    // A text that ended with CR LF gets back its final empty line.
    EXPECT_EQ(Read("abc\r\n\r\n"), u"abc\r\n");
    EXPECT_EQ(Read("a\r\n\r\n\r\nb\r\n"), u"a\r\n\r\n\r\nb");
}

TEST(ReadingRuleTest, LeadingEmptyLinesAreDropped) {
    EXPECT_EQ(Read("\r\n\r\nabc"), u"abc");
    EXPECT_EQ(Read("\r\n\r\n"), u"");
    EXPECT_EQ(Read("\r\r\nx\r\n"), u"x");
}

TEST(ReadingRuleTest, LoneCrEndsALineAndLoneLfStaysInFilesWithCr) {
    EXPECT_EQ(Read("a\nb\r\n"), u"a\nb");
    EXPECT_EQ(Read("a\rb"), u"a\r\nb");
    EXPECT_EQ(Read("a\r"), u"a");
    EXPECT_EQ(Read("a\r\rb"), u"a\r\n\r\nb");
    EXPECT_EQ(Read("\na\r"), u"\na");
    EXPECT_EQ(Read("a\n\rb\n"), u"a\n\r\nb\n");
}

TEST(ReadingRuleTest, EveryLfEndsALineInFilesWithoutCr) {
    EXPECT_EQ(Read("a\nb"), u"a\r\nb");
    EXPECT_EQ(Read("abc\ndef\n"), u"abc\r\ndef");
    EXPECT_EQ(Read("\n\nabc\n\n"), u"abc\r\n");
    EXPECT_EQ(Read("\n"), u"");
    EXPECT_EQ(ApplyReadingRule(u"a\n\r\nb\n", true), u"a\r\n\r\nb");
}

TEST(ReadingRuleTest, AgreesWithReadingLineByLine) {
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> pick(0, 5);
    std::uniform_int_distribution<int> length(0, 12);
    for (int round = 0; round < 20000; ++round) {
        std::u16string in;
        for (int i = length(rng); i > 0; --i) {
            in += u"\r\nab\r"[pick(rng) % 5];
        }
        ASSERT_EQ(ApplyReadingRule(in), testing::ReadLineByLine(in)) << testing::ToUtf8(in);
    }
}

TEST(ReadingRuleTest, NulAndOtherControlsStay) {
    EXPECT_EQ(Read(std::string("a\0b\t\x1A", 5)), std::u16string(u"a\0b\t\x1A", 5));
}

// What the writer writes, the reader gives back, for texts that do not
// begin with an empty line and hold no lone CR.
TEST(ReadingRuleTest, ReadingWhatWasWrittenGivesTheTextBack) {
    std::mt19937 rng(11);
    for (int round = 0; round < 200; ++round) {
        std::u16string text = testing::RandomJapanese(rng, static_cast<std::size_t>(round * 3));
        // Only what code page 932 can hold.
        for (char16_t& c : text) {
            if (Encode(std::u16string_view(&c, 1), Encoding::Cp932).bad.count != 0) {
                c = u'x';
            }
        }
        while (text.starts_with(u"\r\n")) {
            text.erase(0, 2);
        }
        Result<std::string> bytes = EncodeDocument(text, Encoding::Cp932, "test");
        ASSERT_TRUE(bytes.ok());
        ASSERT_EQ(Read(bytes.value()), text);
    }
}

TEST(EncodingDetectionTest, ByteOrderMarkThenUtf8ThenCp932) {
    // The mark means UTF-8 even when the bytes would also be CP932.
    EXPECT_EQ(Read("\xEF\xBB\xBF\xE3\x81\x82"), u"あ");
    EXPECT_EQ(Read("\x82\xA0\x8C\xEA"), u"あ語");
    EXPECT_EQ(Read("\xE3\x81\x82"), u"あ");
    EXPECT_EQ(Read("\xF0\x9F\x98\x80"), u"\U0001F600");
    // Bytes valid in both are UTF-8: CP932 kana and kanji almost never are.
    EXPECT_EQ(Read("caf\xC3\xA9"), u"caf\u00E9");
    // Not UTF-8 (a lone continuation byte), but CP932.
    EXPECT_EQ(Read("\x82\xA0"), u"あ");
}

// Windows Notepad's "Unicode": UTF-16LE after its mark, written back with
// it byte for byte; the big-endian form is refused, never read as garbage.
TEST(EncodingDetectionTest, AUtf16MarkIsReadAndKept) {
    const std::string notepad("\xFF\xFE\x42\x30\r\0\n\0z\0\r\0\n\0", 14);
    Result<Document> read = DecodeDocument(notepad, std::nullopt, "x");
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value().text, u"あ\r\nz");
    EXPECT_EQ(read.value().format, TextFormat(Encoding::Utf16le, LineEnd::CrLf, true));
    EXPECT_EQ(EncodeDocument(read.value().text, read.value().format, "x").value(), notepad);
    Result<Document> big = DecodeDocument(std::string("\xFE\xFF\0z", 4), std::nullopt, "x");
    ASSERT_FALSE(big.ok());
    EXPECT_EQ(big.error().kind, FileError::Kind::InvalidBytes);
    EXPECT_EQ(big.error().encoding, "UTF-16BE");
}

TEST(EncodingDetectionTest, BytesNoEncodingReadsFailWithTheirOffset) {
    Result<Document> text = DecodeDocument("abc\x85\x40\xFF\xFE", std::nullopt, "x.txt");
    ASSERT_FALSE(text.ok());
    EXPECT_EQ(text.error().kind, FileError::Kind::InvalidBytes);
    EXPECT_EQ(text.error().path, "x.txt");
    EXPECT_EQ(text.error().byteOffset, 3u);
    EXPECT_NE(text.error().Describe().find("offset 3"), std::string::npos);
}

TEST(EncodingDetectionTest, AGivenEncodingIsNotGuessed) {
    EXPECT_FALSE(DecodeDocument("\x82\xA0", Encoding::Utf8, "x").ok());
    Result<Document> utf16 =
        DecodeDocument(std::string("a\0\r\0\n\0b\0", 8), Encoding::Utf16le, "x");
    ASSERT_TRUE(utf16.ok());
    EXPECT_EQ(utf16.value().text, u"a\r\nb");
    // A mark is a character then, so that a text beginning with U+FEFF
    // reads back as it was written.
    Result<Document> bom = DecodeDocument("\xEF\xBB\xBFz", Encoding::Utf8, "x");
    ASSERT_TRUE(bom.ok());
    EXPECT_EQ(bom.value().text, u"\uFEFFz");
    Result<std::string> written = EncodeDocument(u"\uFEFFz", Encoding::Utf8, "x");
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(DecodeDocument(written.value(), Encoding::Utf8, "x").value().text, u"\uFEFFz");
}

TEST(WritingRuleTest, TextThenCrLf) {
    Result<std::string> bytes = EncodeDocument(u"abc", Encoding::Cp932, "x");
    ASSERT_TRUE(bytes.ok());
    EXPECT_EQ(bytes.value(), "abc\r\n");
    EXPECT_EQ(EncodeDocument(u"", Encoding::Cp932, "x").value(), "\r\n");
    EXPECT_EQ(EncodeDocument(u"あ", Encoding::Utf8, "x").value(), "\xE3\x81\x82\r\n");
    EXPECT_EQ(EncodeDocument(u"a", Encoding::Utf16le, "x").value(), std::string("a\0\r\0\n\0", 6));
}

TEST(WritingRuleTest, UnrepresentableCharactersAreLocatedAndCounted) {
    Result<std::string> bytes =
        EncodeDocument(u"行一\r\nab\U0001F600c\u00E9\r\n\u00E9", Encoding::Cp932, "m.txt");
    ASSERT_FALSE(bytes.ok());
    const FileError& error = bytes.error();
    EXPECT_EQ(error.kind, FileError::Kind::Unrepresentable);
    EXPECT_EQ(error.character, U'\U0001F600');
    EXPECT_EQ(error.line, 2u);
    EXPECT_EQ(error.column, 3u);
    EXPECT_EQ(error.count, 3u);
    EXPECT_EQ(error.Describe(),
              "cannot be stored in CP932: U+1F600 at line 2, column 3 (3 such characters)");
    // Columns count characters: a surrogate pair before is one column.
    Result<std::string> after = EncodeDocument(u"\U0001F600\u00E9", Encoding::Utf8, "m");
    EXPECT_TRUE(after.ok());
    const std::u16string loneText = {u'\n', u'x', char16_t{0xDC01}};
    Result<std::string> lone = EncodeDocument(loneText, Encoding::Utf8, "m");
    ASSERT_FALSE(lone.ok());
    EXPECT_EQ(lone.error().character, char32_t{0xDC01});
    EXPECT_EQ(lone.error().line, 2u);
    EXPECT_EQ(lone.error().column, 2u);
}

}  // namespace
}  // namespace solvena::document
