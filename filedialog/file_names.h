// SPDX-License-Identifier: MIT
#pragma once

// The file dialog's rules for names and paths, apart from its windows.

#include <QString>

namespace solvena::filedialog {

// The two file types of the format button.
inline constexpr char kZkt[] = "zkt";
inline constexpr char kTxt[] = "txt";

// Folder, then "/" unless the folder already ends with one, then the name.
QString JoinPath(const QString& folder, const QString& name);

// Listed in the file list: the pattern "*.txt;*zkt", compared without
// regard to case (the second part has no dot: any name ending in zkt).
bool IsListedFile(const QString& name);

// The last four characters are ".txt", ".zkt", ".TXT" or ".ZKT" (exactly).
bool HasKnownExtension(const QString& name);

// The file the name box names in open mode: an absolute path as it is,
// anything else in the folder shown.
QString OpenPath(const QString& folder, const QString& nameBox);

// The file the name box names in save mode: an absolute path as it is,
// anything else in the folder shown; the format button's type added after
// a name without a known extension (memo.Txt becomes memo.Txt.zkt).
QString SavePath(const QString& folder, const QString& nameBox, const QString& format);

}  // namespace solvena::filedialog
