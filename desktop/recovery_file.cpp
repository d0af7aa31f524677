// SPDX-License-Identifier: MIT
// The platform's recovery files: each is one file of mode 0600 in the
// recovery folder (the state folder, 0700), holding every UTF-16 code unit
// of the text as UTF-16LE, nothing else.

#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <string>

#include "desktop/platform.h"
#include "files/file_io.h"
#include "files/state_folder.h"

namespace solvena::desktop {
namespace {

const QString kPrefix = QStringLiteral("unsaved-");
const QString kSuffix = QStringLiteral(".utf16le");

}  // namespace

files::Result<std::string> Platform::RecoveryFolder(bool make) const {
    if (make) {
        return files::StateFolder();
    }
    return files::StateFolderName();
}

files::Result<QString> Platform::KeepRecovery(const QString& text) const {
    files::Result<std::string> folder = RecoveryFolder(true);
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
    const files::Status written = files::WritePrivateFile(path, bytes);
    if (!written) {
        return written.error();
    }
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QStringList Platform::RecoveryFiles() const {
    const files::Result<std::string> folder = RecoveryFolder(false);
    if (!folder || folder.value().empty()) {
        return {};
    }
    const QDir dir(QFile::decodeName(QByteArray::fromStdString(folder.value())));
    if (!dir.exists()) {
        return {};
    }
    QStringList paths;
    for (const QString& name :
         dir.entryList({kPrefix + QLatin1Char('*') + kSuffix}, QDir::Files, QDir::Name)) {
        paths.append(dir.filePath(name));
    }
    return paths;
}

std::optional<QString> Platform::ReadRecovery(const QString& path) const {
    files::Result<std::string> bytes = files::ReadWholeFile(LocalPath(path));
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

void Platform::RemoveRecovery(const QString& path) const {
    QFile::remove(path);
}

}  // namespace solvena::desktop
