// SPDX-License-Identifier: MIT
#include "desktop/chosen_file.h"

#include "desktop/file_messages.h"

namespace solvena::desktop {

bool NamesZktFile(const QString& path) {
    return path.endsWith(QLatin1String("zkt"), Qt::CaseInsensitive);
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
    return std::move(read.value());
}

}  // namespace solvena::desktop
