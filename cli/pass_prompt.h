// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace solvena::zkt {

// Asks with `prompt` on the controlling terminal without echo and returns
// the line typed; nothing when there is no terminal to ask on.
std::optional<std::string> AskPassOnTerminal(const char* prompt);

}  // namespace solvena::zkt
