// SPDX-License-Identifier: MIT
#include "desktop/chosen_file.h"

#include <QFileInfo>

#include "desktop/file_messages.h"

namespace solvena::desktop {

document::FileType FileTypeOfPath(const QString& path) {
    return document::FileTypeOfName(path.toStdString());
}

bool NamesZktFile(const QString& path) {
    return FileTypeOfPath(path) == document::FileType::Enciphered;
}

QString DescribeUnsealed(const QString& path, sealing::Outcome outcome) {
    using sealing::Outcome;
    QString what;
    switch (outcome) {
        case Outcome::Damaged:
            what = QStringLiteral(
                "ファイルが壊れているか、途中で切れています。"
                "保存されたときのままではありません。");
            break;
        case Outcome::NoIntegrity:
            what = QStringLiteral(
                "改ざんを検出できない形式で暗号化されたファイルです。"
                "書き換えられても分からないため開きません。"
                "信頼できるファイルなら gpg で開いてください。");
            break;
        case Outcome::EncryptedToKey:
            what = QStringLiteral(
                "鍵で暗号化されたファイルです。パスワードで開くファイルでは"
                "ありません。gpg で開いてください。");
            break;
        case Outcome::NotEncrypted:
            what = QStringLiteral(
                "署名されただけの、暗号化されていない OpenPGP のファイルです。"
                "gpg で開いてください。");
            break;
        case Outcome::NotOpenPgp:
            what = QStringLiteral("OpenPGP のパスワードファイルではありません。");
            break;
        default:
            what = QStringLiteral("OpenPGP のファイルを開けませんでした。");
            break;
    }
    return QStringLiteral("%1 を開けません。\n").arg(QFileInfo(path).fileName()) + what;
}

Unsealing UnsealAsking(Platform& platform, QWidget* parent, const QString& path,
                       const PasswordAsker& askPassword, const Unsealer& unseal,
                       const std::function<QString(const files::FileError&)>& describeError) {
    bool wasWrong = false;
    while (true) {
        const std::optional<QString> password =
            askPassword ? askPassword(wasWrong) : std::optional<QString>();
        if (!password) {
            return {std::nullopt, true};
        }
        UnsealedDocument unsealed = unseal(*password);
        if (unsealed.error) {
            platform.Notify(parent, describeError(*unsealed.error));
            return {};
        }
        if (unsealed.outcome == sealing::Outcome::Done) {
            return {std::move(unsealed.document), false};
        }
        if (unsealed.outcome != sealing::Outcome::WrongPassword) {
            platform.Notify(parent, DescribeUnsealed(path, unsealed.outcome));
            return {};
        }
        wasWrong = true;
    }
}

std::optional<ReadDocumentResult> ReadChosenFile(Platform& platform, QWidget* parent,
                                                 const QString& path,
                                                 const document::ReadChoice& choice,
                                                 const PasswordAsker& askPassword) {
    if (path.isEmpty() || !platform.FileExists(path)) {
        platform.Notify(parent, QStringLiteral("その名前のファイルはありません"));
        return std::nullopt;
    }
    if (FileTypeOfPath(path) == document::FileType::Sealed) {
        std::optional<ReadDocumentResult> read =
            UnsealAsking(
                platform, parent, path, askPassword,
                [&](const QString& password) {
                    return platform.UnsealDocument(path, password, choice);
                },
                DescribeReadError)
                .document;
        if (read) {
            TellKeptCopies(platform, parent, path);
        }
        return read;
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
