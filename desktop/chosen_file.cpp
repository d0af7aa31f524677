// SPDX-License-Identifier: MIT
#include "desktop/chosen_file.h"

#include "desktop/file_messages.h"

namespace solvena::desktop {

document::FileType FileTypeOfPath(const QString& path) {
    return document::FileTypeOfName(path.toStdString());
}

bool NamesZktFile(const QString& path) {
    return FileTypeOfPath(path) == document::FileType::Enciphered;
}

std::optional<ReadDocumentResult> ReadChosenFile(Platform& platform, QWidget* parent,
                                                 const QString& path,
                                                 const document::ReadChoice& choice) {
    if (path.isEmpty() || !platform.FileExists(path)) {
        platform.Notify(parent, QStringLiteral("その名前のファイルはありません"));
        return std::nullopt;
    }
    files::Result<ReadDocumentResult> read = platform.ReadDocument(path, choice);
    if (!read) {
        platform.Notify(parent, DescribeReadError(read.error()));
        return std::nullopt;
    }
    if (NamesZktFile(path)) {
        read.value().format = document::TextFormat();
    }
    TellKeptCopies(platform, parent, path);
    return std::move(read.value());
}

void TellKeptCopies(Platform& platform, QWidget* parent, const QString& path) {
    const QStringList copies = platform.KeptCopiesOf(path);
    if (!copies.isEmpty()) {
        platform.Notify(parent, DescribeKeptCopies(path, copies));
    }
}

}  // namespace solvena::desktop
