// SPDX-License-Identifier: MIT
#include "recovery_file.h"

#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <string>

#include "file_io.h"
#include "state_folder.h"

namespace solvena::platform::desktop {
namespace {

const QString kPrefix = QStringLiteral("unsaved-");
const QString kSuffix = QStringLiteral(".utf16le");

QString Folder() {
    return QFile::decodeName(QByteArray::fromStdString(platform::core::StateFolderName()));
}

}  // namespace

platform::core::Result<QString> KeepRecovery(const QString& text) {
    platform::core::Result<std::string> folder = platform::core::StateFolder();
    if (!folder) {
        return folder.error();
    }
    // Named by time, so that the oldest is offered first, and by process,
    // so that two programs ended at once keep both texts.
    const std::string name = QStringLiteral("%1%2-%3%4")
                                 .arg(kPrefix)
                                 .arg(QDateTime::currentMSecsSinceEpoch(), 15, 10, QLatin1Char('0'))
                                 .arg(::getpid())
                                 .arg(kSuffix)
                                 .toStdString();
    const std::string path = folder.value() + "/" + name;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()) * 2);
    for (const QChar unit : text) {
        bytes.push_back(static_cast<char>(unit.unicode() & 0xFF));
        bytes.push_back(static_cast<char>(unit.unicode() >> 8));
    }
    const platform::core::Status written = platform::core::WritePrivateFile(path, bytes);
    if (!written) {
        return written.error();
    }
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QStringList RecoveryFiles() {
    const QString folder = Folder();
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists()) {
        return {};
    }
    QStringList paths;
    for (const QString& name :
         dir.entryList({kPrefix + QLatin1Char('*') + kSuffix}, QDir::Files, QDir::Name)) {
        paths.append(dir.filePath(name));
    }
    return paths;
}

std::optional<QString> ReadRecovery(const QString& path) {
    platform::core::Result<std::string> bytes =
        platform::core::ReadWholeFile(QFile::encodeName(path).toStdString());
    if (!bytes) {
        return std::nullopt;
    }
    const std::string& raw = bytes.value();
    QString text;
    text.reserve(static_cast<qsizetype>(raw.size() / 2));
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
        const auto low = static_cast<unsigned char>(raw[i]);
        const auto high = static_cast<unsigned char>(raw[i + 1]);
        text.append(QChar(static_cast<char16_t>(low | (high << 8))));
    }
    return text;
}

void RemoveRecovery(const QString& path) {
    QFile::remove(path);
}

}  // namespace solvena::platform::desktop
