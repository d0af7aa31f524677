// SPDX-License-Identifier: MIT
#pragma once

// The file dialog's rules for names and paths, apart from its windows.

#include <QString>

#include "document/file_types.h"

namespace solvena::filedialog {

// The two file types of the format button, as the table of file types
// names them.
inline constexpr char kZkt[] = "zkt";
inline constexpr char kTxt[] = "txt";
static_assert(document::EntryOf(document::FileType::Enciphered).extension == kZkt);
static_assert(document::EntryOf(document::FileType::Text).extension == kTxt);
// The third, a password file: the button says its ending, its tooltip the
// kind (OpenPGP).
inline constexpr char kGpg[] = "gpg";
static_assert(document::EntryOf(document::FileType::Sealed).extension == kGpg);

// The format button's next type: zkt, txt, gpg, and round again.
QString NextFormat(const QString& format);

// Folder, then "/" unless the folder already ends with one, then the name.
QString JoinPath(const QString& folder, const QString& name);

// Three rules for a document file's ending, which differ in the dot and in
// the case of the letters:
//
// The files listed in the file list, and the ones that may be dropped on
// the main window: the pattern "*.txt;*zkt" in any case (the second part
// has no dot: any name ending in zkt).
bool EndsInDotTxtOrZktAnyCase(const QString& name);
// The file a command line may name: its last three characters are "txt",
// "TXT", "zkt" or "ZKT", no dot needed.
bool EndsInTxtOrZktLowerOrUpper(const QString& path);
// The same two rules with the endings of password files added (.gpg,
// .asc, .pgp, in any case and after a dot): the files listed or dropped,
// and the files a command line may name.
bool ListedAsDocument(const QString& name);
bool NamedOnCommandLine(const QString& path);
// A save name that gets no format type added: its last four characters
// are ".txt", ".zkt", ".TXT" or ".ZKT".
bool EndsInDotTxtOrDotZktLowerOrUpper(const QString& name);

// The file the name box names in open mode: an absolute path as it is,
// anything else in the folder shown.
QString OpenPath(const QString& folder, const QString& nameBox);

// The file the name box names in save mode: an absolute path as it is,
// anything else in the folder shown; the format button's type added after
// a name without a known extension (memo.Txt becomes memo.Txt.zkt). A
// password file's name stays as it is, and gpg names the text's password
// file: memo becomes memo.txt.gpg.
QString SavePath(const QString& folder, const QString& nameBox, const QString& format);

}  // namespace solvena::filedialog
