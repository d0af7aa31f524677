// SPDX-License-Identifier: MIT
#pragma once

// File names as messages show them: a name with characters a terminal or a
// shell would take for something else is quoted as `ls` quotes it, so that a
// newline or a control byte in a name cannot split a message or reach the
// terminal. "notes.txt" stays notes.txt; "new\nline" becomes
// 'new'$'\n''line'; bytes that are not UTF-8 become $'\377'.

#include <string>
#include <string_view>

namespace solvena::files {

std::string QuotedName(std::string_view name);

}  // namespace solvena::files
