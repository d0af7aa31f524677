// SPDX-License-Identifier: MIT
#pragma once

// Reading the document file a person chose: in the file dialog, dropped on
// the main window, or named on the command line.

#include <QString>
#include <functional>
#include <optional>

#include "desktop/platform.h"
#include "document/file_types.h"
#include "document/text_format.h"

class QWidget;

namespace solvena::desktop {

// What a path's name says its file holds, by the one rule of the table of
// file types.
document::FileType FileTypeOfPath(const QString& path);

// True for an enciphered file's name (memo.zkt, in any case): such a file
// is read and written as the Windows program does.
bool NamesZktFile(const QString& path);

// Asks for the password of a password file (`wasWrong`: the last one given
// did not open it); nothing when the person gave none.
using PasswordAsker = std::function<std::optional<QString>(bool wasWrong)>;

// What a person is told of a password file that `outcome` (neither Done nor
// WrongPassword) kept from being opened: what the file is, and what opens it.
QString DescribeUnsealed(const QString& path, sealing::Outcome outcome);

// A password file at `path`, asked its password by `askPassword` until
// `unseal` opens it with one: its document; or nothing, `stopped` when the
// person gave no password (silently), else after a message of what kept it
// shut, `describeError` wording a file that could not be read.
struct Unsealing {
    std::optional<ReadDocumentResult> document;
    bool stopped = false;
};
using Unsealer = std::function<UnsealedDocument(const QString& password)>;
Unsealing UnsealAsking(Platform& platform, QWidget* parent, const QString& path,
                       const PasswordAsker& askPassword, const Unsealer& unseal,
                       const std::function<QString(const files::FileError&)>& describeError);

// Tells where saves of the file at `path` that stopped midway kept its old
// bytes, if any did.
void TellKeptCopies(Platform& platform, QWidget* parent, const QString& path);

// Reads the document file a person chose, telling them when it cannot be
// read ("その名前のファイルはありません", or why), and where a save of it
// that stopped midway kept its old bytes; the text, the form to save it in
// again and the file's stamp only on success. A zkt file gives the form of
// a new document: its text is ASCII, the same in every form. A password
// file is asked its password by `askPassword`, again while it is wrong,
// and read in memory; closing the password window reads nothing, silently.
std::optional<ReadDocumentResult> ReadChosenFile(Platform& platform, QWidget* parent,
                                                 const QString& path,
                                                 const document::ReadChoice& choice = {},
                                                 const PasswordAsker& askPassword = {});

}  // namespace solvena::desktop
