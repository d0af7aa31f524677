// SPDX-License-Identifier: MIT
// Code page 932 as Windows converts it, pinned on literal bytes.

#include "document/codepage.h"

#include <gtest/gtest.h>

namespace solvena::document {
namespace {

std::string Cp932(std::u16string_view text) {
    Encoded encoded = Encode(text, Encoding::Cp932);
    EXPECT_EQ(encoded.bad.count, 0u);
    return encoded.bytes;
}

std::u16string FromCp932(std::string_view bytes) {
    Decoded decoded = Decode(bytes, Encoding::Cp932);
    EXPECT_TRUE(decoded.ok);
    return decoded.text;
}

TEST(CodePageTest, CharactersWithTwoCodesTakeTheOneWindowsWrites) {
    // IBM extension rows FA-FC, not the NEC-selected rows ED-EE.
    EXPECT_EQ(Cp932(u"\u2170"), "\xFA\x40");
    EXPECT_EQ(Cp932(u"\u7E8A"), "\xFA\x5C");
    // NEC row 13 for its symbols.
    EXPECT_EQ(Cp932(u"\u2160"), "\x87\x54");
    EXPECT_EQ(Cp932(u"\u2235"), "\x81\xE6");
    EXPECT_EQ(Cp932(u"\uFFE2"), "\x81\xCA");
    // Both codes read back as the same character.
    EXPECT_EQ(FromCp932("\xEE\xEF"), u"\u2170");
    EXPECT_EQ(FromCp932("\xED\x40"), u"\u7E8A");
    EXPECT_EQ(FromCp932("\xFA\x4A"), u"\u2160");
}

TEST(CodePageTest, SingleBytesWindowsMapsTravelBothWays) {
    const std::pair<std::string, std::u16string> pairs[] = {
        {"\x80", u"\u0080"}, {"\xA0", u"\uF8F0"}, {"\xFD", u"\uF8F1"},
        {"\xFE", u"\uF8F2"}, {"\xFF", u"\uF8F3"},
    };
    for (const auto& [bytes, text] : pairs) {
        EXPECT_EQ(FromCp932(bytes), text);
        EXPECT_EQ(Cp932(text), bytes);
    }
    // Amid other text, and where a lead byte would be expected.
    EXPECT_EQ(FromCp932("a\x80\xFD\x40\x82\xA0"), u"a\u0080\uF8F1@\u3042");
    EXPECT_EQ(Cp932(u"a\u0080\uF8F1@\u3042"), "a\x80\xFD\x40\x82\xA0");
}

TEST(CodePageTest, LookAlikesAreWrittenAsWindowsWritesThem) {
    const std::tuple<char16_t, std::string, char16_t> cases[] = {
        {u'\u301C', "\x81\x60", u'\uFF5E'}, {u'\u2016', "\x81\x61", u'\u2225'},
        {u'\u2212', "\x81\x7C", u'\uFF0D'}, {u'\u00A2', "\x81\x91", u'\uFFE0'},
        {u'\u00A3', "\x81\x92", u'\uFFE1'}, {u'\u00AC', "\x81\xCA", u'\uFFE2'},
        {u'\u2014', "\x81\x5C", u'\u2015'}, {u'\u00A5', "\x5C", u'\u005C'},
        {u'\u203E', "\x7E", u'\u007E'},
    };
    for (const auto& [written, bytes, readBack] : cases) {
        EXPECT_EQ(Cp932(std::u16string(1, written)), bytes);
        EXPECT_EQ(FromCp932(bytes), std::u16string(1, readBack));
    }
}

TEST(CodePageTest, KanaKanjiAndUserDefinedArea) {
    EXPECT_EQ(Cp932(u"あ語ｱ"), "\x82\xA0\x8C\xEA\xB1");
    EXPECT_EQ(FromCp932("\xF0\x40\xF9\xFC"), u"\uE000\uE757");
    EXPECT_EQ(Cp932(u"\uE000\uE757"), "\xF0\x40\xF9\xFC");
}

TEST(CodePageTest, CharactersCodePage932CannotHoldAreCountedNotReplaced) {
    std::u16string mixed = u"ab\u00E9c\U0001F600";
    mixed += {char16_t{0xD800}, u'd', u'\u00E9'};
    const Encoded encoded = Encode(mixed, Encoding::Cp932);
    EXPECT_EQ(encoded.bad.count, 4u);
    EXPECT_EQ(encoded.bad.index, 2u);
    EXPECT_EQ(encoded.bad.character, U'\u00E9');
    const Encoded emoji = Encode(u"x\U0001F600", Encoding::Cp932);
    EXPECT_EQ(emoji.bad.count, 1u);
    EXPECT_EQ(emoji.bad.character, U'\U0001F600');
    const Encoded lone = Encode(std::u16string{char16_t{0xDC00}}, Encoding::Cp932);
    EXPECT_EQ(lone.bad.character, char32_t{0xDC00});
    const Encoded loneAtEnd = Encode(std::u16string{u'x', char16_t{0xD800}}, Encoding::Cp932);
    EXPECT_EQ(loneAtEnd.bad.count, 1u);
    EXPECT_EQ(loneAtEnd.bad.character, char32_t{0xD800});
}

TEST(CodePageTest, InvalidBytesAreFoundAtTheirOffset) {
    // An unassigned double-byte code, and a lead byte cut off at the end.
    const Decoded unassigned = Decode("ab\x85\x40", Encoding::Cp932);
    EXPECT_FALSE(unassigned.ok);
    EXPECT_EQ(unassigned.errorOffset, 2u);
    const Decoded cut = Decode("abc\x82", Encoding::Cp932);
    EXPECT_FALSE(cut.ok);
    EXPECT_EQ(cut.errorOffset, 3u);
    const Decoded badUtf8 = Decode("ok \xE3\x81", Encoding::Utf8);
    EXPECT_FALSE(badUtf8.ok);
    EXPECT_EQ(badUtf8.errorOffset, 3u);
}

TEST(CodePageTest, Utf16leKeepsEveryCodeUnit) {
    const std::u16string units = {u'\0', char16_t{0xD800}, u'\uFFFF', u'a', char16_t{0xDFFF}};
    const Encoded encoded = Encode(units, Encoding::Utf16le);
    EXPECT_EQ(encoded.bytes, std::string("\0\0\0\xD8\xFF\xFF"
                                         "a\0\xFF\xDF",
                                         10));
    EXPECT_EQ(Decode(encoded.bytes, Encoding::Utf16le).text, units);
    const Decoded odd = Decode(std::string("a\0b", 3), Encoding::Utf16le);
    EXPECT_FALSE(odd.ok);
    EXPECT_EQ(odd.errorOffset, 2u);
}

}  // namespace
}  // namespace solvena::document
