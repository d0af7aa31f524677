// SPDX-License-Identifier: MIT
// The command line: --help and --version before any window, and the
// document a command line names, read at start-up.

#include "app/command_line.h"

#include <QCommandLineParser>
#include <cstdio>

#include "app/main_form.h"
#include "desktop/chosen_file.h"
#include "desktop/file_messages.h"
#include "desktop/platform.h"
#include "filedialog/file_names.h"
#include "resources/version.h"

namespace solvena::app {
namespace {

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ');
}

QString TrimBlanks(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && IsBlank(text[start])) {
        ++start;
    }
    while (end > start && IsBlank(text[end - 1])) {
        --end;
    }
    return text.mid(start, end - start);
}

// The document the first argument names, blanks and enclosing quotes
// taken off.
QString DocumentArgument(const QStringList& documents) {
    QString path = documents.isEmpty() ? QString() : TrimBlanks(documents.first());
    if (path == QLatin1String("\"")) {
        // A lone quote would leave a negative length: no file.
        return QString();
    }
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"'))) {
        return path.mid(1, path.size() - 2);
    }
    return path;
}

}  // namespace

std::optional<int> AnswerInformationOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("ソルベナ: enciphers a whole document with a pass number."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A txt, zkt or OpenPGP password document to open."),
                                 QStringLiteral("[file]"));
    // Unknown options are not refused here: such an argument is a document
    // name, as any other.
    if (!parser.parse(arguments)) {
        return std::nullopt;
    }
    QString text;
    if (parser.isSet(help)) {
        text = parser.helpText();
    } else if (parser.isSet(version)) {
        text = QStringLiteral("solvena %1\n").arg(QString::fromLatin1(kVersionText));
    } else {
        return std::nullopt;
    }
    const QByteArray bytes = text.toLocal8Bit();
    const bool written = std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()),
                                     stdout) == static_cast<std::size_t>(bytes.size()) &&
                         std::fflush(stdout) == 0;
    if (!written) {
        std::fputs("solvena: cannot write to standard output\n", stderr);
        return 1;
    }
    return 0;
}

bool MainForm::ReadCommandLine(QString& notice) {
    // One document at a time: the first argument; a name with blanks is
    // one argument, quoted by the shell.
    const QStringList documents = platform_.DocumentArguments();
    const QString path = DocumentArgument(documents);
    if (path.isEmpty()) {
        return true;
    }
    if (!filedialog::NamedOnCommandLine(path)) {
        // Started from a desktop there is no terminal to read the line.
        platform_.Complain(QStringLiteral("%1: not a txt, zkt or OpenPGP document file")
                               .arg(desktop::Platform::ShownName(path)));
        platform_.Notify(nullptr, desktop::DescribeNotADocument(path));
        return false;
    }
    if (!platform_.ArgumentsExact()) {
        // The name as Qt holds it is another name: no file is opened under it.
        notice = QStringLiteral(
            "コマンドラインのファイル名を読み取れません"
            "（システムの文字コードにない文字があります）。");
        platform_.Complain(QStringLiteral("%1: the file name is not valid in this system's "
                                          "encoding; nothing is opened")
                               .arg(desktop::Platform::ShownName(path)));
        return true;
    }
    if (documents.size() > 1) {
        notice = QStringLiteral("一度に開ける文書は一つだけです。%1 を開きました。").arg(path);
    }
    shared_.DocText.clear();
    shared_.FilePath = path;
    if (desktop::FileTypeOfPath(path) == document::FileType::Sealed) {
        ReadSealedArgument(path);
        return true;
    }
    if (platform_.FileExists(path)) {
        files::Result<desktop::ReadDocumentResult> read = platform_.ReadDocument(path);
        if (read) {
            shared_.DocText = std::move(read.value().text);
            shared_.DocSource = read.value().source;
            // A zkt file's text is ASCII: the document keeps the new one's form.
            if (!desktop::NamesZktFile(path)) {
                shared_.DocFormat = read.value().format;
            }
        } else {
            notice += (notice.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                      desktop::DescribeReadError(read.error());
        }
        const QStringList copies = platform_.KeptCopiesOf(path);
        if (!copies.isEmpty()) {
            notice += (notice.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                      desktop::DescribeKeptCopies(path, copies);
        }
    }
    return true;
}

void MainForm::ReadSealedArgument(const QString& path) {
    // Asked for its password before the window shows; a file that is not
    // there is a new document of that name, as any other.
    if (!platform_.FileExists(path)) {
        return;
    }
    std::optional<desktop::ReadDocumentResult> read = desktop::ReadChosenFile(
        platform_, nullptr, path, {},
        [this](bool wasWrong) { return shared_.AskPassword(false, wasWrong); });
    if (read) {
        shared_.DocText = std::move(read->text);
        shared_.DocSource = read->source;
        shared_.DocFormat = read->format;
        shared_.Password = read->password;
    }
}

}  // namespace solvena::app
