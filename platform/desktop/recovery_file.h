// SPDX-License-Identifier: MIT
#pragma once

// The recovery files: the editor's text, kept when the program was ended
// from outside (a signal, the session's end) with unsaved changes, and
// offered at the next start. Each is one file of mode 0600 in the state
// folder (0700), holding every UTF-16 code unit of the text as UTF-16LE,
// nothing else.

#include <QString>
#include <QStringList>
#include <optional>

#include "file_error.h"

namespace solvena::platform::desktop {

// Keeps `text` in a new recovery file; its path on success.
platform::core::Result<QString> KeepRecovery(const QString& text);

// The recovery files there are, oldest first.
QStringList RecoveryFiles();

// The text a recovery file holds; nothing when it cannot be read.
std::optional<QString> ReadRecovery(const QString& path);

void RemoveRecovery(const QString& path);

}  // namespace solvena::platform::desktop
