// SPDX-License-Identifier: MIT
#include "command_line.h"

#include <QCommandLineParser>
#include <cstdio>

#include "version.h"

namespace solvena::app {

std::optional<int> AnswerInformationOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("ソルベナ: enciphers a whole document with a pass number."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A txt or zkt document to open."),
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

}  // namespace solvena::app
