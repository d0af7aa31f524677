// SPDX-License-Identifier: MIT
#pragma once

// What `zkt` says on standard error, one line a message.

#include <string>
#include <vector>

#include "cli/zkt.h"
#include "files/file_error.h"

namespace solvena::zkt {

inline constexpr const char* kStandardInput = "standard input";
inline constexpr const char* kStandardOutput = "standard output";

// Writes `text` to standard error; a failure there has nowhere to go.
void Say(const Environment& env, const std::string& text);

// A file's name as a message shows it; the standard streams by their names.
std::string Shown(const std::string& name);

// Says what went wrong with the file `error` names, and `more` after it;
// returns kDataError.
int FileFailure(const Environment& env, const files::FileError& error,
                const std::string& more = "");

// Tells where the old bytes of the files at `paths` are kept, when a save of
// one was interrupted while writing it (files/kept_copies.h).
void WarnOfKeptCopies(const Environment& env, const std::vector<std::string>& paths);

}  // namespace solvena::zkt
