// SPDX-License-Identifier: MIT
#pragma once

// The document files' rules for the page: bytes of a chosen or dropped file
// to text and its format, text to the bytes of a download, and what the
// save dialog asks about first.

#include <emscripten/val.h>

#include <optional>
#include <string>

#include "document/document_file.h"
#include "document/text_format.h"

namespace solvena::web {

// {encoding, lineEnd, byteOrderMark} by the page's names.
emscripten::val FormatValue(const document::TextFormat& format);

// {count, first, becomes, line, column, question}, or null.
emscripten::val LookAlikesValue(const std::optional<document::LookAlikes>& found);

// {ok, units, encoding, lineEnd, byteOrderMark} or {ok: false, error}.
// `encoding`: "auto", "cp932" or "utf-8"; `lineEnd`: "auto", "crlf" or "lf".
emscripten::val OpenDocument(const emscripten::val& bytes, const std::string& encoding,
                             const std::string& lineEnd);

// {ok, bytes} or {ok: false, error}: the writing rule in the given format.
emscripten::val SaveDocument(const emscripten::val& units, const std::string& encoding,
                             const std::string& lineEnd, bool byteOrderMark);

// The look-alikes code page 932 would make of the text, and the question
// asked of them, or null.
emscripten::val LookAlikes(const emscripten::val& units);

// The file dialog's lists: [{label, encoding}] to open with ("auto":
// detected), [{label, encoding, lineEnd, byteOrderMark, chosen}] to save a
// document of the given format with.
emscripten::val OpenChoices();
emscripten::val SaveChoices(const std::string& encoding, const std::string& lineEnd,
                            bool byteOrderMark);

// The texts the windows show that the page shows too: {passPrompt,
// passRejected, doubtfulResult, nameToSave, encipherToStoreAll, storeInUtf8,
// outOfMemory}.
emscripten::val Words();

// The pass number an entry stands for by the pass-number dialog's rule,
// or null.
emscripten::val PassEntry(const emscripten::val& units);

}  // namespace solvena::web
