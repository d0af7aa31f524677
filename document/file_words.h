// SPDX-License-Identifier: MIT
#pragma once

// What the windows and the page say of a document that cannot be read or
// stored as asked: the words are here once, so that both say the same.

#include <string>

#include "document/document_file.h"
#include "files/file_error.h"

namespace solvena::document {

// "U+1F600": four hexadecimal digits at least, capitals.
std::u16string CodePointText(char32_t character);

// Of an InvalidBytes error: where the first byte that could not be read is.
std::u16string InvalidBytesText(const files::FileError& error);

// Of an Unrepresentable error: how many, the first and where it stands.
std::u16string UnstorableText(const files::FileError& error);

// The question before a text with look-alikes is stored in code page 932:
// はい stores it so, いいえ in UTF-8.
std::u16string LookAlikesQuestion(const LookAlikes& lookAlikes);

}  // namespace solvena::document
