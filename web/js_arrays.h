// SPDX-License-Identifier: MIT
#pragma once

// Texts and bytes between the page's JavaScript and the C++: typed arrays
// copied whole, never through JavaScript strings, whose decoders would
// replace a lone surrogate or a byte that is no UTF-8.

#include <emscripten/val.h>

#include <string>
#include <string_view>

namespace solvena::web {

// The code units of a Uint16Array, or the bytes of a Uint8Array.
std::u16string UnitsFrom(const emscripten::val& array);
std::string BytesFrom(const emscripten::val& array);

// A new Uint16Array or Uint8Array holding a copy.
emscripten::val UnitsArray(std::u16string_view units);
emscripten::val BytesArray(std::string_view bytes);

}  // namespace solvena::web
