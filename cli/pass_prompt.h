#pragma once

#include <optional>
#include <string>

namespace solvena::zkt {

// Asks "Pass number: " on the controlling terminal without echo and returns
// the line typed; nothing when there is no terminal to ask on.
std::optional<std::string> AskPassOnTerminal();

}  // namespace solvena::zkt
