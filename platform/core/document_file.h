#pragma once

// Document files: lines in code page 932 ended by CR LF, read and written by
// the two rules the desktop program and the command-line tool share.
//
// Reading rule: a line ends at CR LF or at a lone CR (a lone LF stays in the
// line); lines are joined with CR LF, the last one gets no line break, and
// empty lines before the first non-empty line are dropped.
// Writing rule: the text followed by one CR LF.

#include <optional>
#include <string>
#include <string_view>

#include "codepage.h"
#include "file_error.h"

namespace solvena::files {

// The reading rule on text already decoded. Works in place unless the text
// holds a lone CR, whose line end becomes CR LF.
std::u16string ApplyReadingRule(std::u16string decoded);

// Bytes to document text. Without an encoding the bytes are detected: a
// UTF-8 byte-order mark means UTF-8 (the mark is dropped), else bytes that
// are valid CP932 are CP932, else valid UTF-8 is UTF-8. A given encoding is
// not guessed at, and a mark is then a character. `path` only names the
// source in an error.
Result<std::u16string> DecodeDocument(std::string_view bytes, std::optional<Encoding> encoding,
                                      const std::string& path);

// Document text to the bytes of its file (the text, then CR LF).
Result<std::string> EncodeDocument(std::u16string_view text, Encoding encoding,
                                   const std::string& path);

// The document text of the file at `path`; the text only on success.
Result<std::u16string> ReadDocumentFile(const std::string& path,
                                        std::optional<Encoding> encoding = std::nullopt);

// Writes `text` by the writing rule, replacing the file safely: on any
// failure the file at `path` is left exactly as it was.
Status WriteDocumentFile(const std::string& path, std::u16string_view text,
                         Encoding encoding = Encoding::Cp932);

}  // namespace solvena::files
