#include <QApplication>
#include <csignal>

#include "application.h"

int main(int argc, char** argv) {
    // A file-size limit must end a write with an error, not the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ソルベナ"));
    solvena::app::Application application(QApplication::arguments());
    application.Platform().CheckArguments(argc, argv);
    if (!application.Start()) {
        return 2;
    }
    return QApplication::exec();
}
