// SPDX-License-Identifier: MIT
// Linux text files: which encoding and line end a file is found to have,
// and that saving in that form gives the file's bytes back.

#include <gtest/gtest.h>

#include <random>

#include "document/document_file.h"
#include "tests/support/random_text.h"

namespace solvena::document {
using namespace files;
namespace {

using testing::FromUtf8;

Document Detect(std::string_view bytes, const ReadChoice& choice = {}) {
    Result<Document> read = DecodeDocument(bytes, choice, "test");
    EXPECT_TRUE(read.ok()) << (read.ok() ? "" : read.error().Describe());
    return read.ok() ? read.value() : Document{u"<error>", {}};
}

TEST(TextFormatTest, ShortUtf8WordsAreUtf8EvenWhenTheyAreValidCp932) {
    for (const char* word : {"こんにちは", "あい", "東京", "メモ", "暗号", "café", "naïve", "über",
                             "señor", "東京のメモ\n買い物：牛乳、卵\n", "Ünïcödé ☃ 〜"}) {
        const Document read = Detect(word);
        EXPECT_EQ(read.format.encoding, Encoding::Utf8) << word;
        const std::u16string expected = FromUtf8(word);
        EXPECT_EQ(read.text, ApplyReadingRule(expected, true)) << word;
    }
}

TEST(TextFormatTest, Cp932KanaAndKanjiAreNeverTakenForUtf8) {
    // Random notes of 1 to 20 characters of hiragana, katakana and the
    // first level of kanji, written as CP932 bytes.
    std::mt19937 rng(932);
    std::uniform_int_distribution<int> length(1, 20);
    std::uniform_int_distribution<int> kind(0, 2);
    std::uniform_int_distribution<int> hiragana(0x9F, 0xF1);
    std::uniform_int_distribution<int> katakana(0x40, 0x96);
    std::uniform_int_distribution<int> kanjiLead(0x89, 0x97);
    std::uniform_int_distribution<int> kanjiTrail(0x40, 0xFC);
    int tried = 0;
    for (int sample = 0; sample < 20000; ++sample) {
        std::string bytes;
        for (int i = length(rng); i > 0; --i) {
            switch (kind(rng)) {
                case 0:
                    bytes += {'\x82', static_cast<char>(hiragana(rng))};
                    break;
                case 1: {
                    const int trail = katakana(rng);
                    bytes += {'\x83', static_cast<char>(trail == 0x7F ? 0x80 : trail)};
                    break;
                }
                default:
                    const int trail = kanjiTrail(rng);
                    bytes += {static_cast<char>(kanjiLead(rng)),
                              static_cast<char>(trail == 0x7F ? 0x80 : trail)};
            }
        }
        const Decoded cp932 = Decode(bytes, Encoding::Cp932);
        if (!cp932.ok) {
            continue;  // an unassigned code
        }
        ++tried;
        const Document read = Detect(bytes);
        ASSERT_EQ(read.format.encoding, Encoding::Cp932) << sample;
        ASSERT_EQ(read.text, cp932.text);
    }
    EXPECT_GT(tried, 15000);
}

TEST(TextFormatTest, FoundFormats) {
    struct Case {
        const char* bytes;
        Encoding encoding;
        LineEnd lineEnd;
        bool mark;
    };
    const Case cases[] = {
        {"abc\r\ndef\r\n", Encoding::Cp932, LineEnd::CrLf, false},
        {"abc", Encoding::Cp932, LineEnd::CrLf, false},
        {"", Encoding::Cp932, LineEnd::CrLf, false},
        // Plain ASCII with LF is a Linux file: saved as UTF-8 once it grows.
        {"abc\ndef\n", Encoding::Utf8, LineEnd::Lf, false},
        {"\xE6\x9D\xB1\xE4\xBA\xAC\n", Encoding::Utf8, LineEnd::Lf, false},
        {"\xE6\x9D\xB1\xE4\xBA\xAC", Encoding::Utf8, LineEnd::Lf, false},
        {"\xE6\x9D\xB1\r\n", Encoding::Utf8, LineEnd::CrLf, false},
        {"\xEF\xBB\xBF\xE6\x9D\xB1\r\n", Encoding::Utf8, LineEnd::CrLf, true},
        {"\xEF\xBB\xBF"
         "a\n",
         Encoding::Utf8, LineEnd::Lf, true},
        {"\x93\x8C\x8B\x9E\n", Encoding::Cp932, LineEnd::Lf, false},
        // 」 (U+300D) and 《 (U+300A) share their low byte with CR and LF.
        {"\xE3\x80\x8C\xE6\x9D\xB1\xE3\x80\x8D\xE3\x80\x8A\n", Encoding::Utf8, LineEnd::Lf, false},
        // Mixed line ends: read exactly as the Windows program did.
        {"a\r\nb\nc", Encoding::Cp932, LineEnd::CrLf, false},
        {"a\rb\n", Encoding::Cp932, LineEnd::CrLf, false},
    };
    for (const Case& c : cases) {
        const TextFormat format = Detect(c.bytes).format;
        EXPECT_EQ(format, TextFormat(c.encoding, c.lineEnd, c.mark)) << c.bytes;
    }
    // Mixed: the lone LF stays in the line.
    EXPECT_EQ(Detect("a\r\nb\nc").text, u"a\r\nb\nc");
}

TEST(TextFormatTest, SavingInTheFoundFormatGivesTheBytesBack) {
    for (const std::string& bytes : {
             std::string("こんにちは\n東京のメモ\n\n3 行目\n"),
             std::string("「東京」《メモ》\n"),
             std::string("plain ascii\nlines\n"),
             std::string("\x82\xB1\x82\xF1\r\nabc\r\n\r\n"),
             std::string("\xEF\xBB\xBF\xE3\x81\x82\r\n\xE3\x81\x84\r\n"),
             std::string("\xEF\xBB\xBF\xE3\x81\x82\n"),
             std::string("\x93\x8C\x8B\x9E\nabc\n"),
             std::string("a\r\nb\nc\r\n"),
         }) {
        const Document read = Detect(bytes);
        Result<std::string> written = EncodeDocument(read.text, read.format, "test");
        ASSERT_TRUE(written.ok());
        EXPECT_EQ(written.value(), bytes);
    }
}

TEST(TextFormatTest, AGivenLineEndIsNotDetected) {
    EXPECT_EQ(Detect("a\r\nb\nc", ReadChoice(std::nullopt, LineEnd::Lf)).text, u"a\r\nb\r\nc");
    const Document crlf = Detect("a\nb\n", ReadChoice(std::nullopt, LineEnd::CrLf));
    EXPECT_EQ(crlf.text, u"a\nb\n");
    EXPECT_EQ(crlf.format.lineEnd, LineEnd::CrLf);
    // A given encoding still finds the line end.
    const Document utf8 = Detect("\x82\xA0\n", Encoding::Cp932);
    EXPECT_EQ(utf8.text, u"あ");
    EXPECT_EQ(utf8.format, TextFormat(Encoding::Cp932, LineEnd::Lf));
}

TEST(TextFormatTest, WritingWithLfKeepsLoneUnitsAndLocatesErrorsInTheText) {
    const TextFormat lf(Encoding::Utf8, LineEnd::Lf);
    EXPECT_EQ(EncodeDocument(u"a\r\nb\rc\nd", lf, "x").value(), "a\nb\rc\nd\n");
    EXPECT_EQ(EncodeDocument(u"a", TextFormat(Encoding::Utf8, LineEnd::CrLf, true), "x").value(),
              "\xEF\xBB\xBF"
              "a\r\n");
    EXPECT_EQ(EncodeDocument(u"a\r\nb", TextFormat(Encoding::Utf16le, LineEnd::Lf), "x").value(),
              std::string("a\0\n\0b\0\n\0", 8));
    Result<std::string> bad =
        EncodeDocument(u"x\r\ny\r\nab\u00E9", TextFormat(Encoding::Cp932, LineEnd::Lf), "x");
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.error().line, 3u);
    EXPECT_EQ(bad.error().column, 3u);
}

TEST(TextFormatTest, LookAlikesAreCountedWithWhatTheyBecome) {
    const std::optional<LookAlikes> found = FindLookAlikes(u"今日\r\nは〜と\u2212\u00A5");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->count, 3u);
    EXPECT_EQ(found->first, u'\u301C');
    EXPECT_EQ(found->becomes, u'\uFF5E');
    EXPECT_EQ(found->line, 2u);
    EXPECT_EQ(found->column, 2u);
    EXPECT_EQ(FindLookAlikes(u"\u00A5").value().becomes, u'\\');
    EXPECT_EQ(FindLookAlikes(u"\u2016").value().becomes, u'\u2225');
    EXPECT_FALSE(FindLookAlikes(u"～ふつうの文－").has_value());
    // A text that cannot be stored at all is another question.
    EXPECT_FALSE(FindLookAlikes(u"〜\U0001F600").has_value());
}

}  // namespace
}  // namespace solvena::document
