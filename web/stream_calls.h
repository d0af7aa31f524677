// SPDX-License-Identifier: MIT
#pragma once

// Long texts for the page, a piece at a time: its worker reads a file or a
// Blob slice by slice and keeps what comes out as Blobs, so that a document
// is never whole in the module's memory nor in the page's.
//
// `source` is a function that gives the next piece, or null at the end: a
// Uint8Array (a file's bytes; for a text, ASCII code units) or a
// Uint16Array (code units). `sink` is called with each piece of the result
// as it is made, a new typed array the caller keeps.

#include <emscripten/val.h>

#include <string>

namespace solvena::web {

// A document file's text by the reading rule, given to `sink` as code
// units: {ok, encoding, lineEnd, byteOrderMark}, or {ok: false, error}.
emscripten::val OpenStream(const emscripten::val& source, const std::string& encoding,
                           const std::string& lineEnd, const emscripten::val& sink);

// A text's enciphered form, end marker included, given to `sink` as ASCII
// bytes.
void EncipherStream(const emscripten::val& source, int pass, const emscripten::val& sink);

// A text deciphered, given to `sink` as code units, and judged whole as it
// goes, as zkt judges it: {judgement, damage}, as Decipher says them.
emscripten::val DecipherStream(const emscripten::val& source, int pass,
                               const emscripten::val& sink);

// A text's file in the format given, given to `sink` as bytes: {ok,
// lookAlikes} (null, or what LookAlikes says of them), or {ok: false,
// error} once the whole text has been looked at, whatever the sink got.
emscripten::val SaveStream(const emscripten::val& source, const std::string& encoding,
                           const std::string& lineEnd, bool byteOrderMark,
                           const emscripten::val& sink);

}  // namespace solvena::web
