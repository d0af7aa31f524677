// SPDX-License-Identifier: MIT
#include "desktop/file_messages.h"

#include <QFile>

#include "document/file_words.h"
#include "files/kept_copies.h"
#include "files/quoted_name.h"

namespace solvena::desktop {
namespace {

using Kind = files::FileError::Kind;

QString Reason(const files::FileError& error) {
    if (const std::optional<std::u16string> words = document::ReasonWords(error)) {
        return QString::fromStdU16String(*words);
    }
    QString why;
    switch (error.kind) {
        case Kind::NotFound:
            why = QStringLiteral("ファイルまたはフォルダが見つかりません");
            break;
        case Kind::PermissionDenied:
            why = QStringLiteral("アクセスが許可されていません");
            break;
        case Kind::IsFolder:
            why = QStringLiteral("同じ名前のフォルダがあります");
            break;
        case Kind::DiskFull:
            why = QStringLiteral("ディスクの空きが足りません");
            break;
        case Kind::InvalidBytes:
        case Kind::ReadOtherwise:
        case Kind::Unrepresentable:
        case Kind::ConverterMissing:
        case Kind::OutOfMemory:
            break;  // in the document's words above
        case Kind::Abandoned:
            return QStringLiteral("書き込みを取りやめました");
        case Kind::Busy:
            return QStringLiteral(
                "ほかのプログラムが保存しているところです。終わってからもう一度保存してください");
        case Kind::OpenFailed:
        case Kind::ReadFailed:
        case Kind::WriteFailed:
            why = QStringLiteral("入出力に失敗しました");
            break;
    }
    if (!error.reason.empty()) {
        why += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(error.reason));
    }
    return why;
}

// The file's name; one with control characters (a newline would split the
// message) is shown quoted as ls quotes it.
QString FileName(const files::FileError& error) {
    const QString name = QFile::decodeName(QByteArray::fromStdString(error.path));
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator || c == QChar::ReplacementCharacter) {
            return QFile::decodeName(QByteArray::fromStdString(files::QuotedName(error.path)));
        }
    }
    return name;
}

}  // namespace

QString DescribeNotADocument(const QString& name) {
    return QStringLiteral(
               "%1 は開けません。\n開けるのは txt と zkt と "
               "OpenPGP (gpg、asc、pgp) のファイルです。")
        .arg(name);
}

QString DescribeReadError(const files::FileError& error) {
    return QStringLiteral("%1 を読み込めません。\n%2").arg(FileName(error), Reason(error));
}

QString DescribeWriteError(const files::FileError& error) {
    return QStringLiteral("%1 に保存できません。\n%2").arg(FileName(error), Reason(error));
}

QString DescribeUnstorable(const files::FileError& error) {
    return QString::fromStdU16String(document::UnstorableText(error));
}

QString DescribeUnreadRecovery(const files::FileError& error) {
    return QStringLiteral(
               "前回の終了時に保存されていなかったテキストのファイル %1 を読み込めません。\n%2\n"
               "ファイルはそのまま残してあります。")
        .arg(FileName(error), Reason(error));
}

QString DescribeChangedSince(const QString& path) {
    return QStringLiteral(
               "%1 は、開いた後（または前に保存した後）にほかのプログラムで変更されています。\n"
               "上書きすると、その変更は失われます。上書きしますか？")
        .arg(path);
}

QString DescribeKeptCopies(const QString& path, const QStringList& copies) {
    // A save still running (zkt, another window) keeps its copy only until
    // it ends: the file is not broken, and the copy is not to be deleted.
    QStringList stopped;
    QStringList running;
    for (const QString& copy : copies) {
        (files::SaveStillRunning(QFile::encodeName(copy).toStdString()) ? running : stopped)
            .append(copy);
    }
    QStringList told;
    if (!stopped.isEmpty()) {
        told.append(
            QStringLiteral(
                "%1 は、以前の保存が書き込みの途中で止まったため、壊れているかもしれません。\n"
                "その前の内容は次のファイルに残してあります（要らなくなったら削除してください）：\n"
                "%"
                "2")
                .arg(path, stopped.join(QLatin1Char('\n'))));
    }
    if (!running.isEmpty()) {
        told.append(QStringLiteral("%1 は、ほかのプログラムが保存している最中です。\n"
                                   "保存が終わるまで、その前の内容は次のファイルに残されます：\n%2")
                        .arg(path, running.join(QLatin1Char('\n'))));
    }
    return told.join(QStringLiteral("\n\n"));
}

QString DescribeLookAlikes(const document::LookAlikes& lookAlikes) {
    return QString::fromStdU16String(document::LookAlikesQuestion(lookAlikes));
}

}  // namespace solvena::desktop
