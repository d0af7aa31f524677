// SPDX-License-Identifier: MIT
#pragma once

// A file error as the page shows it: {ok: false, error: {kind, ...}}, with
// what the desktop program's messages name (the byte, the character and
// where it stands), and zkt's English line.

#include <emscripten/val.h>

#include "files/file_error.h"

namespace solvena::web {

emscripten::val Failure(const files::FileError& error);

}  // namespace solvena::web
