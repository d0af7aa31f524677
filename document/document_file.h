// SPDX-License-Identifier: MIT
#pragma once

// Document files: lines ended by CR LF in code page 932 as the Windows
// program writes them, or the UTF-8 text files of Linux with LF line ends,
// read and written by the two rules the desktop program and the
// command-line tool share.
//
// Reading rule: a line ends at CR LF or at a lone CR (a lone LF stays in the
// line); lines are joined with CR LF, the last one gets no line break, and
// empty lines before the first non-empty line are dropped. In a file whose
// line breaks are all LF (an LF and no CR), each LF ends a line too.
// Writing rule: the text followed by one line end, every CR LF of the text
// written as the format's line end.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/codepage.h"
#include "document/text_format.h"
#include "document/utf16.h"
#include "files/file_error.h"
#include "files/file_io.h"

namespace solvena::document {

// The reading rule on text already decoded. Works in place unless the text
// holds a lone CR (or, with `lfEndsLines`, a lone LF), whose line end
// becomes CR LF.
std::u16string ApplyReadingRule(std::u16string decoded, bool lfEndsLines = false);

struct Document {
    std::u16string text;
    TextFormat format;  // what the file was, to be written back the same way
};

// Bytes to document text. An encoding left open is detected: a UTF-8
// byte-order mark means UTF-8 (the mark is dropped), else valid UTF-8 that
// holds a multi-byte sequence is UTF-8, else valid CP932 (plain ASCII
// included) is CP932. A given encoding is not guessed at, and a mark is
// then a character. A line end left open is LF for a file whose breaks are
// all LF. `path` only names the source in an error.
files::Result<Document> DecodeDocument(std::string_view bytes, const ReadChoice& choice,
                                       const std::string& path);

// Document text to the bytes of its file (the text, then a line end).
files::Result<std::string> EncodeDocument(std::u16string_view text, const TextFormat& format,
                                          const std::string& path);

// Characters that code page 932 stores under the code of another character,
// so that they read back as that one (U+301C 〜 comes back as U+FF5E ～).
struct LookAlikes {
    std::uint64_t count = 0;
    char16_t first = 0;
    char16_t becomes = 0;
    std::uint64_t line = 0;  // where the first stands, from 1
    std::uint64_t column = 0;
};

// The look-alikes of a text that code page 932 can store; nothing when
// there are none (or when the text cannot be stored at all).
std::optional<LookAlikes> FindLookAlikes(std::u16string_view text);

// The look-alikes of `text`, given its bytes in code page 932: how many, the
// index of the first and what it becomes.
std::uint64_t CountLookAlikes(std::u16string_view text, std::string_view cp932, std::size_t& first,
                              char16_t& becomes);

// The bytes of one line end in `format`.
std::string_view LineEndBytes(const TextFormat& format);

// The error for `bad`, characters `encoding` cannot hold, the first at
// `line` and `column`.
files::FileError UnstorableError(const std::string& path, Encoding encoding,
                                 const Unrepresentable& bad, std::uint64_t line,
                                 std::uint64_t column);

// The index in `text` of the unit at `index` of its form with every CR LF
// made LF.
std::size_t IndexBeforeLfForm(std::u16string_view text, std::size_t index);

// A place in a text as an editor shows it, line and column from 1 and
// columns in characters, moved on a code unit at a time: CR LF, a lone CR
// and a lone LF are each one line break.
struct TextPlace {
    std::uint64_t line = 1;
    std::uint64_t column = 1;
    bool afterCr = false;
    bool afterHigh = false;

    void Pass(char16_t c) {
        if (c == u'\n' && afterCr) {
            afterCr = false;  // the second half of a CR LF
            return;
        }
        afterCr = c == u'\r';
        if (c == u'\r' || c == u'\n') {
            ++line;
            column = 1;
            afterHigh = false;
            return;
        }
        if (!(IsLowSurrogate(c) && afterHigh)) {
            ++column;
        }
        afterHigh = IsHighSurrogate(c);
    }
};

// The document text of the file at `path`; the text only on success.
files::Result<Document> ReadDocumentFile(const std::string& path, const ReadChoice& choice = {});

// Writes `text` by the writing rule, replacing the file safely: on any
// failure the file at `path` is left exactly as it was. A file made anew
// follows `rules`.
files::Status WriteDocumentFile(const std::string& path, std::u16string_view text,
                                const TextFormat& format = {},
                                const files::NewFileRules& rules = {});

}  // namespace solvena::document
