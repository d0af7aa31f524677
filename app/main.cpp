// SPDX-License-Identifier: MIT
#include <QApplication>
#include <csignal>

#include "app/application.h"
#include "app/command_line.h"
#include "desktop/translations.h"

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
    solvena::desktop::UseJapaneseQtTexts(qt);
    solvena::desktop::Platform platform(QApplication::arguments());
    platform.CheckArguments(argc, argv);
    solvena::app::Application application(platform);
    if (!application.Start()) {
        return 2;
    }
    return QApplication::exec();
}
