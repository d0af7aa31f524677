// SPDX-License-Identifier: MIT
#pragma once

// The options a desktop program answers before it opens any window:
// --help and --version. Every other argument is a document to open.

#include <QStringList>
#include <optional>

namespace solvena::app {

// Prints the help or the version to standard output when the arguments ask
// for it, and returns the exit status; nothing when they do not.
std::optional<int> AnswerInformationOptions(const QStringList& arguments);

}  // namespace solvena::app
