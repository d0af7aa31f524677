// SPDX-License-Identifier: MIT
#pragma once

// A pass number as given: an entry on the command line or typed, or the
// first line of a pass file.

#include <cstdint>
#include <optional>
#include <string>

#include "files/file_error.h"

namespace solvena::zkt {

// The pass number an entry gives by the pass-number dialog's rule; nothing,
// and `why` says so, for an entry that gives none.
std::optional<std::int16_t> PassFromEntry(const std::string& entry, std::string& why);

// The first line of a pass file, without its line end or a byte-order mark
// before it (so that the entry never shows in the process list).
files::Result<std::string> FirstLine(const std::string& path);

// An entry as a message shows it: quoted as names are, so that a control
// character shows as what it is, and cut short when it is long.
std::string ShownEntry(const std::string& entry);

}  // namespace solvena::zkt
