// SPDX-License-Identifier: MIT
// The names of password files, as gpg gives them: `memo.txt` is sealed as
// `memo.txt.gpg` (or `.asc` armored) and unsealed back to `memo.txt`. An old
// note `memo.zkt` holds a text, so it is sealed as `memo.txt.gpg` too.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace solvena::sealing {

// Whether a name ends as a password file's does (.gpg, .asc, .pgp, in any
// case).
bool IsSealedName(std::string_view path);

std::string SealedName(std::string_view path, bool armored);

// The name of the text a password file holds; none when its name does not
// end as one's, for the caller to ask.
std::optional<std::string> UnsealedName(std::string_view path);

}  // namespace solvena::sealing
