// SPDX-License-Identifier: MIT
#pragma once

// The page's file names by the table of file types: what a name says a
// file holds, and the names a document gets.

#include <emscripten/val.h>

#include <string>

namespace solvena::web {

// The key of the type a name's ending says ("text", "enciphered",
// "sealed"), or null for a name with no known ending.
emscripten::val FileTypeOf(const std::string& name);

// The name of the same document as a file of the keyed type (memo.zkt as
// "text" is memo.txt); the save's name, a known ending kept.
std::string NameAs(const std::string& name, const std::string& type);
std::string SavedName(const std::string& name, const std::string& type);

}  // namespace solvena::web
