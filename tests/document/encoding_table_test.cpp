// SPDX-License-Identifier: MIT
// The tables of encodings and line ends, and the lists made from them: an
// entry added there is all a new encoding needs for its names, its
// converter and the room its bytes take.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "document/codepage.h"
#include "document/file_words.h"
#include "document/format_choices.h"
#include "document/iconv_converter.h"

namespace solvena::document {
namespace {

std::string Upper(std::string_view key) {
    std::string upper(key);
    for (char& c : upper) {
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return upper;
}

TEST(EncodingTableTest, EveryKeyAndNameNamesOneEntry) {
    std::set<std::string_view> keys;
    std::set<std::string> names;
    for (const EncodingEntry& entry : kEncodings) {
        EXPECT_TRUE(keys.insert(entry.key).second) << entry.key;
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
        EXPECT_EQ(EncodingKeyed(entry.key), entry.encoding) << entry.key;
        EXPECT_EQ(EncodingKeyed(Upper(entry.key)), entry.encoding) << entry.key;
        EXPECT_EQ(&EntryOf(entry.encoding), &entry);
    }
    for (const LineEndEntry& entry : kLineEnds) {
        EXPECT_EQ(LineEndKeyed(entry.key), entry.lineEnd) << entry.key;
        EXPECT_EQ(LineEndKeyed(Upper(entry.key)), std::nullopt) << entry.key;
    }
    EXPECT_EQ(EncodingKeyed("shift_jis"), std::nullopt);
    EXPECT_EQ(EncodingKeyed(""), std::nullopt);
    EXPECT_EQ(LineEndKeyed("cr"), std::nullopt);
}

// Each code unit alone, and a surrogate pair, through the entry's converter:
// none may take more than the room Encode gives it, for running out of room
// would be told as a character the encoding cannot hold.
TEST(EncodingTableTest, NoUnitTakesMoreBytesThanItsEntrySays) {
    for (const EncodingEntry& entry : kEncodings) {
        detail::Converter converter(entry.iconvName, "UTF-16LE");
        ASSERT_TRUE(converter.valid()) << entry.iconvName;
        std::size_t widest = 0;
        char16_t widestUnit = 0;
        const auto measure = [&](std::u16string_view units) {
            char out[16];
            const char* in = reinterpret_cast<const char*>(units.data());
            std::size_t inLeft = units.size() * 2;
            char* at = out;
            std::size_t outLeft = sizeof out;
            converter.Reset();
            if (converter.Convert(in, inLeft, at, outLeft) == 0) {
                const auto bytes = static_cast<std::size_t>(at - out);
                EXPECT_LE(bytes, units.size() * entry.mostBytesPerUnit) << entry.name;
                if (units.size() == 1 && bytes > widest) {
                    widest = bytes;
                    widestUnit = units[0];
                }
            }
        };
        for (char32_t unit = 0; unit < 0x10000; ++unit) {
            if (unit < 0xD800 || unit > 0xDFFF) {
                measure(std::u16string(1, static_cast<char16_t>(unit)));
            }
        }
        measure(u"\U0001F600");
        // A long text of the widest unit fits as well.
        const Encoded encoded = Encode(std::u16string(5000, widestUnit), entry.encoding);
        EXPECT_EQ(encoded.bad.count, 0u) << entry.name;
        EXPECT_EQ(encoded.bytes.size(), 5000 * widest) << entry.name;
    }
}

TEST(FormatChoicesTest, TheListsOfferTheUsualFormsAndADocumentsOwn) {
    std::vector<std::u16string> open;
    for (const OpenChoice& choice : OpenChoices()) {
        open.push_back(choice.label);
    }
    EXPECT_EQ(open, (std::vector<std::u16string>{u"自動判別", u"Shift_JIS", u"UTF-8"}));
    EXPECT_EQ(OpenChoices()[0].encoding, std::nullopt);

    const auto labels = [](const TextFormat& document) {
        std::vector<std::u16string> shown;
        const std::vector<SaveChoice> choices = SaveChoices(document);
        for (const SaveChoice& choice : choices) {
            shown.push_back(choice.label);
        }
        shown.push_back(choices[SaveChoiceOf(choices, document)].label);  // the chosen one
        return shown;
    };
    const std::vector<std::u16string> usual{u"Shift_JIS (CR LF)", u"UTF-8 (LF)", u"UTF-8 (CR LF)"};
    const auto with = [&](std::vector<std::u16string> more) {
        std::vector<std::u16string> all = usual;
        all.insert(all.end(), more.begin(), more.end());
        return all;
    };
    EXPECT_EQ(labels(TextFormat()), with({u"Shift_JIS (CR LF)"}));
    EXPECT_EQ(labels(TextFormat(Encoding::Utf8, LineEnd::Lf)), with({u"UTF-8 (LF)"}));
    EXPECT_EQ(labels(TextFormat(Encoding::Cp932, LineEnd::Lf)),
              with({u"Shift_JIS (LF)", u"Shift_JIS (LF)"}));
    EXPECT_EQ(labels(TextFormat(Encoding::Utf16le, LineEnd::CrLf, true)),
              with({u"UTF-16 (CR LF)", u"UTF-16 (CR LF)"}));

    // A mark stays with the entries of the document's encoding only.
    for (const TextFormat& document : {TextFormat(Encoding::Utf8, LineEnd::CrLf, true),
                                       TextFormat(Encoding::Utf16le, LineEnd::Lf, true)}) {
        for (const SaveChoice& choice : SaveChoices(document)) {
            EXPECT_EQ(choice.format.byteOrderMark, choice.format.encoding == document.encoding);
        }
    }
}

// The message names the encoding the text was to be stored in: a lone
// surrogate cannot be stored in UTF-8 either.
TEST(FileWordsTest, AnUnstorableCharacterIsToldWithItsEncodingAndCode) {
    files::FileError error;
    error.kind = files::FileError::Kind::Unrepresentable;
    error.count = 2;
    error.line = 3;
    error.column = 14;
    for (const auto& [encoding, character, text] :
         {std::tuple{
              Encoding::Cp932, U'\U0001F600',
              u"Shift_JIS で保存できない文字が 2 個あります（最初は 3 行 14 列の U+1F600）。"},
          std::tuple{Encoding::Utf8, U'\xD800',
                     u"UTF-8 で保存できない文字が 2 個あります（最初は 3 行 14 列の U+D800）。"}}) {
        error.encoding = EncodingName(encoding);
        error.character = character;
        EXPECT_EQ(UnstorableText(error), text);
    }
    EXPECT_EQ(CodePointText(0x41), u"U+0041");
    EXPECT_EQ(CodePointText(0), u"U+0000");
}

}  // namespace
}  // namespace solvena::document
