// SPDX-License-Identifier: MIT
// The platform's recovery files: each is one file of mode 0600 in the
// recovery folder (the state folder, 0700), holding every UTF-16 code unit
// of the text as UTF-16LE, nothing else.

#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <new>
#include <string>

#include "desktop/platform.h"
#include "files/file_io.h"
#include "files/state_folder.h"
#include "sealing/password_seal.h"

namespace solvena::desktop {
namespace {

const QString kPrefix = QStringLiteral("unsaved-");
const QString kSuffix = QStringLiteral(".utf16le");
// After the suffix, a recovery file kept sealed with the document's password.
const QString kSealed = QStringLiteral(".gpg");
// A document of a thousand million characters and more is no typed text
// a program was ended with; the editor could not hold it either.
constexpr off_t kLargestRecovery = off_t{1} << 31;

QString FromUtf16Le(const std::string& raw) {
    QString text(static_cast<qsizetype>(raw.size() / 2), Qt::Uninitialized);
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
        const auto low = static_cast<unsigned char>(raw[i]);
        const auto high = static_cast<unsigned char>(raw[i + 1]);
        text[static_cast<qsizetype>(i / 2)] = QChar(static_cast<char16_t>(low | (high << 8)));
    }
    return text;
}

}  // namespace

bool Platform::IsSealedRecovery(const QString& path) {
    return path.endsWith(kSuffix + kSealed);
}

UnsealedDocument Platform::UnsealRecovery(const QString& path, const QString& password) const {
    const std::string name = LocalPath(path);
    UnsealedDocument result;
    try {
        files::Result<std::string> sealed = files::ReadWholeFile(name);
        if (!sealed) {
            result.outcome = sealing::Outcome::ReadFailed;
            result.error = sealed.error();
            return result;
        }
        std::string plain;
        const QByteArray key = password.toUtf8();
        result.outcome =
            sealing::Unseal(sealing::ReadFrom(sealed.value()), sealing::AppendTo(plain),
                            std::string_view(key.constData(), static_cast<std::size_t>(key.size())))
                .outcome;
        if (result.outcome == sealing::Outcome::Done) {
            result.document.text = FromUtf16Le(plain);
            result.document.password = password;
        }
        std::fill(plain.begin(), plain.end(), '\0');
    } catch (const std::bad_alloc&) {
        result.error = files::OutOfMemory(name);
    }
    return result;
}

files::Result<std::string> Platform::RecoveryFolder(bool make) const {
    if (make) {
        return files::StateFolder();
    }
    return files::StateFolderName();
}

files::Result<QString> Platform::KeepRecovery(const QString& text, const QString& password) const {
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
                                 .arg(password.isEmpty() ? kSuffix : kSuffix + kSealed)
                                 .toStdString();
    const std::string path = folder.value() + "/" + name;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()) * 2);
    for (const QChar unit : text) {
        bytes.push_back(static_cast<char>(unit.unicode() & 0xFF));
        bytes.push_back(static_cast<char>(unit.unicode() >> 8));
    }
    if (!password.isEmpty()) {
        // Sealed in memory: the plain text never reaches the disk.
        std::string sealed;
        const QByteArray key = password.toUtf8();
        const sealing::Outcome outcome =
            sealing::Seal(sealing::ReadFrom(bytes), sealing::AppendTo(sealed),
                          std::string_view(key.constData(), static_cast<std::size_t>(key.size())),
                          {false, "unsaved.utf16le"});
        std::fill(bytes.begin(), bytes.end(), '\0');
        if (outcome != sealing::Outcome::Done) {
            return files::OutOfMemory(path);
        }
        bytes = std::move(sealed);
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
    const QString pattern = kPrefix + QLatin1Char('*') + kSuffix;
    for (const QString& name :
         dir.entryList({pattern, pattern + kSealed}, QDir::Files, QDir::Name)) {
        paths.append(dir.filePath(name));
    }
    return paths;
}

files::Result<QString> Platform::ReadRecovery(const QString& path) const {
    const std::string name = LocalPath(path);
    files::Result<files::Descriptor> fd = files::OpenToRead(name);
    if (!fd) {
        return fd.error();
    }
    struct stat info {};
    // The text in memory twice, as bytes and as the editor's: refused by its
    // size rather than failing halfway.
    if (::fstat(fd.value().get(), &info) != 0 || info.st_size > kLargestRecovery) {
        return files::OutOfMemory(name);
    }
    try {
        files::Result<std::string> bytes = files::ReadAll(fd.value().get(), name);
        if (!bytes) {
            return bytes.error();
        }
        return FromUtf16Le(bytes.value());
    } catch (const std::bad_alloc&) {
        return files::OutOfMemory(name);
    }
}

void Platform::RemoveRecovery(const QString& path) const {
    QFile::remove(path);
}

}  // namespace solvena::desktop
