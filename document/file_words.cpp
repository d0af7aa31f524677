// SPDX-License-Identifier: MIT
#include "document/file_words.h"

#include <initializer_list>
#include <string_view>

#include "document/encoding.h"

namespace solvena::document {
namespace {

std::u16string Number(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// `pattern` with %1, %2 ... replaced by the arguments in turn.
std::u16string Fill(std::u16string_view pattern, std::initializer_list<std::u16string> arguments) {
    std::u16string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t n = i + 1 < pattern.size() ? pattern[i + 1] - u'1' : arguments.size();
        if (pattern[i] == u'%' && n < arguments.size()) {
            text += arguments.begin()[n];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

// The label of the encoding a file error names.
std::u16string_view LabelNamed(const std::string& name) {
    for (const EncodingEntry& entry : kEncodings) {
        if (name == entry.name) {
            return entry.label;
        }
    }
    return EntryOf(Encoding::Cp932).label;
}

}  // namespace

std::u16string CodePointText(char32_t character) {
    constexpr std::u16string_view kDigits = u"0123456789ABCDEF";
    std::u16string hex;
    for (char32_t rest = character; rest != 0 || hex.size() < 4; rest >>= 4) {
        hex.insert(hex.begin(), kDigits[rest & 0xF]);
    }
    return u"U+" + hex;
}

std::u16string InvalidBytesText(const files::FileError& error) {
    return Fill(u"テキストとして読めないバイトがあります（%1 バイト目）",
                {Number(error.byteOffset + 1)});
}

std::u16string UnstorableText(const files::FileError& error) {
    return Fill(u"%1 で保存できない文字が %2 個あります（最初は %3 行 %4 列の %5）。",
                {std::u16string(LabelNamed(error.encoding)), Number(error.count),
                 Number(error.line), Number(error.column), CodePointText(error.character)});
}

std::u16string ConverterMissingText(const files::FileError& error) {
    return Fill(u"文字コードを変換できません（%1）",
                {std::u16string(error.encoding.begin(), error.encoding.end())});
}

std::optional<std::u16string> ReasonWords(const files::FileError& error) {
    using Kind = files::FileError::Kind;
    switch (error.kind) {
        case Kind::InvalidBytes:
        case Kind::ReadOtherwise:  // only a file read piece by piece meets this
            return InvalidBytesText(error);
        case Kind::Unrepresentable:
            return UnstorableText(error);
        case Kind::ConverterMissing:
            return ConverterMissingText(error);
        case Kind::OutOfMemory:
            return std::u16string(kOutOfMemory);
        default:
            return std::nullopt;
    }
}

std::u16string LookAlikesQuestion(const LookAlikes& lookAlikes) {
    // The two often look the same in the font: their code points tell them apart.
    return Fill(
        u"Shift_JIS では別の文字になる文字が %1 個あります"
        u"（最初は %2 行 %3 列の「%4」(%5) が「%6」(%7) になります）。\n\n"
        u"はい: Shift_JIS で保存します\n"
        u"いいえ: UTF-8 で保存します\n"
        u"キャンセル: 保存しないで戻ります",
        {Number(lookAlikes.count), Number(lookAlikes.line), Number(lookAlikes.column),
         std::u16string(1, lookAlikes.first), CodePointText(lookAlikes.first),
         std::u16string(1, lookAlikes.becomes), CodePointText(lookAlikes.becomes)});
}

}  // namespace solvena::document
