// SPDX-License-Identifier: MIT
#pragma once

// zkt itself, for a page or node: its own option parser and commands, with
// standard input taken from memory and standard output and error kept.

#include <emscripten/val.h>

namespace solvena::web {

// {status, stdout, stderr}: zkt run on `args` (an array of strings, the
// arguments after the program name) with `input` (a Uint8Array) as its
// standard input. There is no terminal: a pass number comes from -p.
emscripten::val RunZkt(const emscripten::val& args, const emscripten::val& input);

}  // namespace solvena::web
