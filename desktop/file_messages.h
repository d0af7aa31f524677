// SPDX-License-Identifier: MIT
#pragma once

// What the windows tell a person about a file that could not be read or
// written, in the program's own words.

#include <QString>
#include <QStringList>

#include "document/document_file.h"
#include "files/file_error.h"

namespace solvena::desktop {

// One or two lines naming the file and the reason, e.g.
// "memo.txt を読み込めません。\nアクセスが許可されていません (Permission denied)".
QString DescribeReadError(const files::FileError& error);
// A file whose name is none of the document files' (dropped, or named on
// the command line).
QString DescribeNotADocument(const QString& name);
QString DescribeWriteError(const files::FileError& error);

// The characters code page 932 cannot store, for a save that did not happen:
// "Shift_JIS で保存できない文字が N 個あります（最初は L 行 C 列の U+XXXX）。"
QString DescribeUnstorable(const files::FileError& error);

// The question before a save over a file something else changed since the
// document was read from it or saved to it.
QString DescribeChangedSince(const QString& path);

// A recovery file that could not be read, and stays where it is.
QString DescribeUnreadRecovery(const files::FileError& error);

// Where the old bytes of the file at `path` are kept, after a save that
// stopped while writing it may have left the file damaged.
QString DescribeKeptCopies(const QString& path, const QStringList& copies);

// The question before a Shift_JIS save of a text with look-alikes: how many,
// where the first stands and what it becomes, and what each answer does.
QString DescribeLookAlikes(const document::LookAlikes& lookAlikes);

}  // namespace solvena::desktop
