// SPDX-License-Identifier: MIT
#pragma once

// The cipher commands for the page: a whole text enciphered or deciphered
// with progress reports, a deciphered text judged as the window judges it,
// and the likeliest pass numbers of an enciphered text.

#include <emscripten/val.h>

#include <string>

#include "ranking/decipher_judge.h"

namespace solvena::web {

// The verdict of a judge fed the whole text: {judgement, damage}. The
// judgement by the name the page knows it by ("plausible", "damaged", ...);
// for a damaged text, where it first breaks the format, for the page to
// name and select: {kind, position, last, line, column, severalLines,
// question}, positions from 1, `question` what the window asks of it;
// else null.
emscripten::val VerdictOf(ranking::DecipherJudge& judge);

// The enciphered text's ASCII bytes, end marker included. `progress` is
// called now and then with (position, length), as the progress window's bar
// follows the run.
emscripten::val Encipher(const emscripten::val& units, int pass, const emscripten::val& progress);

// {units, judgement, damage}: the deciphered text, and "plausible",
// "nothingEnciphered", "notEnciphered", "damaged", "notText" or
// "otherPassBetter"; for a damaged text, where it first breaks the format.
emscripten::val Decipher(const emscripten::val& units, int pass, const emscripten::val& progress);

// {ok, bytes}: a plain document file's bytes to those of its enciphered
// file (the text, then CR LF); or {ok: false, error}.
emscripten::val EncipherFile(const emscripten::val& bytes, int pass, const std::string& encoding,
                             const std::string& lineEnd);

// {ok, bytes, judgement}: an enciphered file's bytes to those of its plain
// file in the format given; or {ok: false, error}.
emscripten::val DecipherFile(const emscripten::val& bytes, int pass, const std::string& encoding,
                             const std::string& lineEnd, bool byteOrderMark);

// {best: [{pass, entry, score, opening}], looksLikeText, clearlyAhead,
// format}, best first; `entry` and `opening` are code units; `format` is
// null, or what the format alone says ("nothingEnciphered", "notEnciphered"
// or "damaged"). With `opening`, the units are the opening of a longer
// text, ranked on the groups that end within them.
emscripten::val RankPassNumbers(const emscripten::val& units, int count, bool opening);

}  // namespace solvena::web
