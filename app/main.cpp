// SPDX-License-Identifier: MIT
#include <QApplication>
#include <csignal>

#include "application.h"
#include "command_line.h"
#include "translations.h"

int main(int argc, char** argv) {
    // A file-size limit must end a write with an error, not the program.
    std::signal(SIGXFSZ, SIG_IGN);
    {
        // Answered without a display, as a shell user expects.
        const QCoreApplication probe(argc, argv);
        if (const std::optional<int> status =
                solvena::app::AnswerInformationOptions(QCoreApplication::arguments())) {
            return *status;
        }
    }
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ソルベナ"));
    solvena::platform::desktop::UseJapaneseQtTexts(qt);
    solvena::app::Application application(QApplication::arguments());
    application.Platform().CheckArguments(argc, argv);
    if (!application.Start()) {
        return 2;
    }
    return QApplication::exec();
}
