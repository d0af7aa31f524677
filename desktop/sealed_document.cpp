// SPDX-License-Identifier: MIT
// The platform's password files: a document unsealed in memory only, and
// one sealed as it is written, through the careful save.

#include <QFileInfo>
#include <algorithm>
#include <new>
#include <string>

#include "desktop/platform.h"
#include "desktop/text_convert.h"
#include "document/document_file.h"
#include "document/file_types.h"
#include "files/file_io.h"
#include "sealing/fd_streams.h"

namespace solvena::desktop {
namespace {

// The plain bytes of a private text do not linger in freed memory.
struct WipedBytes {
    std::string bytes;
    ~WipedBytes() { std::fill(bytes.begin(), bytes.end(), '\0'); }
};

// The name the message gives its text, as gpg records it: memo.txt for
// memo.txt.gpg.
std::string InnerName(const QString& path) {
    const std::string name = QFileInfo(path).fileName().toStdString();
    return document::UnsealedName(name).value_or(name);
}

}  // namespace

UnsealedDocument Platform::UnsealDocument(const QString& path, const QString& password,
                                          const document::ReadChoice& choice) const {
    const std::string local = LocalPath(path);
    UnsealedDocument result;
    try {
        // Taken first: a file changed meanwhile counts as changed since.
        result.document.source = files::StampOf(local);
        files::Result<files::Descriptor> fd = files::OpenToRead(local);
        if (!fd) {
            result.outcome = sealing::Outcome::ReadFailed;
            result.error = fd.error();
            return result;
        }
        int failure = 0;
        WipedBytes plain;
        const QByteArray key = password.toUtf8();
        result.outcome =
            sealing::Unseal(sealing::ReadFd(fd.value().get(), failure),
                            sealing::AppendTo(plain.bytes),
                            std::string_view(key.constData(), static_cast<std::size_t>(key.size())))
                .outcome;
        if (result.outcome == sealing::Outcome::ReadFailed) {
            result.error = files::SystemError(files::FileError::Kind::ReadFailed, local, failure);
        }
        if (result.outcome != sealing::Outcome::Done) {
            return result;
        }
        files::Result<document::Document> read =
            document::DecodeDocument(plain.bytes, choice, local);
        if (!read) {
            result.error = read.error();
            return result;
        }
        result.document.text = ToQString(read.value().text);
        result.document.format = read.value().format;
        result.document.password = password;
    } catch (const std::bad_alloc&) {
        result.error = files::OutOfMemory(local);
    }
    return result;
}

files::Status Platform::WriteSealedDocument(const QString& path, const QString& text,
                                            const document::TextFormat& format,
                                            const QString& password, unsigned permissions) const {
    const std::string local = LocalPath(path);
    try {
        files::Result<std::string> encoded =
            document::EncodeDocument(ToU16View(text), format, local);
        if (!encoded) {
            return encoded.error();
        }
        WipedBytes plain{std::move(encoded.value())};
        const QByteArray key = password.toUtf8();
        sealing::SealChoices choices;
        choices.armored = document::IsArmoredName(local);
        choices.innerName = InnerName(path);
        const files::ContentWriter write = [&](int fd) -> files::Status {
            int failure = 0;
            const sealing::Outcome outcome = sealing::Seal(
                sealing::ReadFrom(plain.bytes), sealing::WriteFd(fd, failure),
                std::string_view(key.constData(), static_cast<std::size_t>(key.size())), choices);
            if (outcome == sealing::Outcome::Done) {
                return files::Done{};
            }
            if (outcome == sealing::Outcome::WriteFailed) {
                return files::SystemError(files::FileError::Kind::WriteFailed, local, failure);
            }
            files::FileError abandoned;
            abandoned.kind = files::FileError::Kind::Abandoned;
            abandoned.path = local;
            return abandoned;
        };
        files::NewFileRules rules;
        rules.mode = permissions;
        return files::WriteFileSafely(local, write, rules);
    } catch (const std::bad_alloc&) {
        return files::OutOfMemory(local);
    }
}

}  // namespace solvena::desktop
