// SPDX-License-Identifier: MIT
#pragma once

// What the windows and the page say of a document that cannot be read or
// stored as asked: the words are here once, so that both say the same.

#include <optional>
#include <string>

#include "document/document_file.h"
#include "files/file_error.h"

namespace solvena::document {

// Asked for in the save dialog when no name is given.
inline constexpr char16_t kNameToSave[] = u"保存する名前を入力してください";
// After an unstorable character's message: for a zkt file, and else asked.
inline constexpr char16_t kEncipherToStoreAll[] =
    u"暗号化してから zkt 形式で保存すれば、すべての文字を保存できます。";
inline constexpr char16_t kStoreInUtf8[] = u"UTF-8 で保存しますか？";

// "U+1F600": four hexadecimal digits at least, capitals.
std::u16string CodePointText(char32_t character);

// Of an InvalidBytes error: where the first byte that could not be read is.
std::u16string InvalidBytesText(const files::FileError& error);

// Of an Unrepresentable error: how many, the first and where it stands.
std::u16string UnstorableText(const files::FileError& error);

// Of a ConverterMissing error: the encoding it names.
std::u16string ConverterMissingText(const files::FileError& error);

inline constexpr char16_t kOutOfMemory[] = u"メモリが足りません";

// The words above for the kinds they are said of (InvalidBytes and
// ReadOtherwise, Unrepresentable, ConverterMissing, OutOfMemory), else
// nothing.
std::optional<std::u16string> ReasonWords(const files::FileError& error);

// The question before a text with look-alikes is stored in code page 932:
// はい stores it so, いいえ in UTF-8.
std::u16string LookAlikesQuestion(const LookAlikes& lookAlikes);

}  // namespace solvena::document
